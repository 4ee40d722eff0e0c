#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

// Windows the tests make, and what they read of windows: for one program, or across processes.
namespace testwin {

// A window's text as the system keeps it (another process's window is not asked).
inline std::wstring windowText(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, ARRAYSIZE(text));
    return text;
}

// A handle the test made, closed by Close (DestroyWindow, DestroyMenu, DeleteDC...) at the end of its scope.
template <auto Close>
struct CloseWith {
    template <class Handle>
    void operator()(Handle handle) const {
        Close(handle);
    }
};
template <class Handle, auto Close>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, CloseWith<Close>>;

// A plain window of the test's own that paints nothing and answers every message as the default
// procedure does: a stand-in parent, owner or main window. Destroyed at the end of the test.
class TestWindow {
public:
    explicit TestWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, RECT place = {0, 0, 800, 600},
                        HWND parent = nullptr, HMENU menu = nullptr, DWORD exStyle = 0)
        : window_(CreateWindowExW(exStyle, className(), L"test window", style, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, parent, menu,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    ~TestWindow() {
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }

private:
    static const wchar_t* className() {
        static const ATOM registered = [] {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"VelmoraTestWindow";
            return RegisterClassExW(&windowClass);
        }();
        return registered != 0 ? L"VelmoraTestWindow" : L"STATIC";
    }

    HWND window_;
};

}  // namespace testwin
