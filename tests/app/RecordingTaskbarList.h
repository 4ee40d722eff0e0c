#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <utility>
#include <vector>

#include "common/Utf8.h"

// A taskbar list that writes down, as text, what the player asks of it (the system's under Wine answers
// S_OK to everything and shows nothing). The test owns it: references only count.
class RecordingTaskbarList final : public ITaskbarList3 {
public:
    std::vector<std::string> calls;
    std::vector<THUMBBUTTON> buttons;  // as last added or updated
    ULONG references = 1;
    bool buttonsAdded = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(ITaskbarList) || iid == __uuidof(ITaskbarList2) ||
            iid == __uuidof(ITaskbarList3)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    HRESULT STDMETHODCALLTYPE HrInit() override { return record("HrInit"); }
    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND, ULONGLONG completed, ULONGLONG total) override {
        return record("value " + std::to_string(completed) + "/" + std::to_string(total));
    }
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND, TBPFLAG state) override {
        const char* name = state == TBPF_NOPROGRESS ? "none"
                           : state == TBPF_NORMAL   ? "normal"
                           : state == TBPF_PAUSED   ? "paused"
                                                    : "other";
        return record(std::string("state ") + name);
    }
    // "add Prev off, Pause, Next off": each button's tooltip, and "off" when it is disabled. As Windows
    // documents, a window's buttons are added once and updated afterwards; the taskbar forgets them when
    // it restarts.
    HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT count, LPTHUMBBUTTON added) override {
        const HRESULT result = record("add " + describe(count, added), !buttonsAdded);
        buttonsAdded = true;
        return result;
    }
    HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT count, LPTHUMBBUTTON updated) override {
        return record("update " + describe(count, updated), buttonsAdded);
    }
    void restartTaskbar() { buttonsAdded = false; }

    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return record("AddTab"); }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return record("DeleteTab"); }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return record("ActivateTab"); }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return record("SetActiveAlt"); }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, WINBOOL) override { return record("Fullscreen"); }
    HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return record("RegisterTab"); }
    HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return record("UnregisterTab"); }
    HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return record("SetTabOrder"); }
    HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return record("SetTabActive"); }
    HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return record("ImageList"); }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return record("Overlay"); }
    HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return record("Tooltip"); }
    HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return record("Clip"); }

    // The calls since the last time this was asked.
    std::vector<std::string> takeCalls() { return std::exchange(calls, {}); }

private:
    // A refused call is written down with " refused".
    HRESULT record(const std::string& call, bool taken = true) {
        calls.push_back(taken ? call : call + " refused");
        return taken ? S_OK : E_FAIL;
    }
    std::string describe(UINT count, const THUMBBUTTON* described) {
        buttons.assign(described, described + count);
        std::string text;
        for (UINT i = 0; i < count; ++i) {
            text += (i > 0 ? ", " : "") + testtext::toUtf8(described[i].szTip);
            text += (described[i].dwFlags & THBF_DISABLED) != 0 ? " off" : "";
        }
        return text;
    }
};
