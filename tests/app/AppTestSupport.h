#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "common/WindowRects.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "playback/MediaPlayer.h"

namespace apptest {

using testwin::clientSize;
using testwin::windowRect;

inline std::wstring windowText(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

// The quit message a destroyed main window posts would end the next modal loop of the test program.
inline void drainQuitMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// A drop as the shell makes it: a DROPFILES header followed by double-terminated wide paths.
inline HDROP makeDrop(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list += L'\0';
    }
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(),
                list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// A bare main window of the player's class (no video window, no bar, no controller), shown and laid out.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        HINSTANCE instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(registerMainWindowClass(instance));
        appState().instance = instance;
        window = CreateWindowExW(0, kMainWindowClass, kInitialTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, nullptr);
        ASSERT_NE(window, nullptr);
        appState().mainWindow = window;
        ShowWindow(window, SW_SHOWNORMAL);
    }

    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        resetAppState();
        drainQuitMessages();
    }

    HWND window = nullptr;
};

// Answers the next modal dialog or message box of this thread: a thread timer, which the dialog's own
// loop dispatches, reads the dialog's texts and then presses the given button.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int button, int textControl) {
        state() = State{};
        state().button = button;
        state().textControl = textControl;
        timer_ = SetTimer(nullptr, 0, 50, &DialogAnswerer::onTimer);
    }
    ~DialogAnswerer() {
        if (timer_ != 0) {
            KillTimer(nullptr, timer_);
        }
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    bool answered() const { return state().answered; }
    const std::wstring& caption() const { return state().caption; }
    const std::wstring& text() const { return state().text; }
    HWND owner() const { return state().owner; }

private:
    struct State {
        int button = IDOK;
        int textControl = 0;
        bool answered = false;
        std::wstring caption;
        std::wstring text;
        HWND owner = nullptr;
    };
    static State& state() {
        static State current;
        return current;
    }

    static BOOL CALLBACK findDialog(HWND window, LPARAM result) {
        wchar_t className[16] = L"";
        GetClassNameW(window, className, 16);
        if (IsWindowVisible(window) && std::wstring(className) == L"#32770") {
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        State& s = state();
        if (s.answered) {
            return;
        }
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &DialogAnswerer::findDialog,
                          reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr) {
            return;
        }
        s.caption = windowText(dialog);
        if (HWND text = GetDlgItem(dialog, s.textControl)) {
            s.text = windowText(text);
        }
        s.owner = GetWindow(dialog, GW_OWNER);
        s.answered = true;
        PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(s.button), 0);
    }

    UINT_PTR timer_ = 0;
};

// The message box's text control, as the system's message box numbers it.
constexpr int kMessageBoxTextId = 0xFFFF;

// A player the tests control: it plays, pauses and stops at once, and opens what it is told to.
class FakePlayer : public MediaPlayer {
public:
    PlayerType playerType() override { return PlayerVlc; }
    bool init(OutputWindow) override { return true; }
    void release() override {
        if (releaseCount != nullptr) {
            ++*releaseCount;
        }
        releasedWithController = appState().controller != nullptr;
    }
    bool open(const wchar_t* path) override {
        lastOpened = path;
        return opens;
    }
    void play() override { state = StatePlaying; }
    bool isPlaying() override { return state == StatePlaying; }
    void pause() override { state = StatePaused; }
    void stop() override { state = StateStopped; }
    std::int64_t getTime() override { return time; }
    std::int64_t getLength() override { return 60000; }
    void setTime(std::int64_t ms) override { time = ms; }
    int getVolume() override { return volume; }
    bool setVolume(int percent) override {
        volume = percent;
        return true;
    }
    int getState() override { return state; }
    void setHwnd(OutputWindow) override {}
    bool isMute() override { return mute; }
    void toggleMute() override { mute = !mute; }

    int state = StateNothing;
    std::int64_t time = 0;
    int volume = 100;
    bool mute = false;
    bool opens = true;
    int* releaseCount = nullptr;  // counts release calls past the player's own life
    // Whether the controller that receives the player's events was still there at the last release.
    static inline bool releasedWithController = false;
    std::wstring lastOpened;
};

}  // namespace apptest
