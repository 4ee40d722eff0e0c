#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/MediaPlayerApp.h"
#include "app/window/PlayerWindows.h"
#include "app/window/MainWindow.h"
#include "app/Startup.h"
#include "playback/PlayLogic.h"
#include "common/FakePlayer.h"
#include "common/TempFolder.h"
#include "common/TestWindows.h"
#include "common/WindowRects.h"

namespace apptest {

using testwin::clientSize;
using testwin::windowRect;
using testwin::windowText;

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

    // Lets the window lay itself out, and lays it out.
    static void layOut() {
        appState().layoutEnabled = TRUE;
        layoutWindows();
    }

    HWND window = nullptr;
};

// A command from the menu, a key or the bar, as the main window gets it.
inline void command(UINT id) {
    SendMessageW(appState().mainWindow, WM_COMMAND, id, 0);
}

// The bare main window with a controller whose fake players the test reads through their log.
class ControlledWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        appState().controller = std::make_unique<PlayLogic>(fakeFactory(log), &playerWindows());
    }
    static PlayLogic& controller() { return *appState().controller; }

    std::shared_ptr<FakePlayerLog> log = std::make_shared<FakePlayerLog>();
};

// The player's real start-up of the main window and its components, without the message loop.
class StartedPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        appState().app = std::make_unique<VelmoraPlayer>();
        instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(registerMainWindowClass(instance));
        SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", nullptr);
        SetEnvironmentVariableW(L"VELMORA_ADS_LOG", nullptr);
    }
    // Starts the main window and components, and gives them a controller of fake players.
    void startWithFakePlayers(const std::shared_ptr<FakePlayerLog>& log) {
        ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
        appState().controller = std::make_unique<PlayLogic>(fakeFactory(log), &playerWindows());
    }
    // Closes the window through the advertisement double, which answers `result` and logs its call into the
    // returned file.
    std::wstring closeWithAds(const TempFolder& folder, const wchar_t* result) {
        const std::wstring log = folder.path() + L"velmora-ads-log.txt";
        SetEnvironmentVariableW(L"VELMORA_ADS_LOG", log.c_str());
        SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", result);
        SendMessageW(appState().mainWindow, WM_CLOSE, 0, 0);
        return log;
    }
    void TearDown() override {
        destroyComponents();
        if (appState().mainWindow != nullptr) {
            DestroyWindow(appState().mainWindow);
        }
        shutdownApp();
        resetAppState();
        apptest::drainQuitMessages();
        SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", nullptr);
        SetEnvironmentVariableW(L"VELMORA_ADS_LOG", nullptr);
    }

    HINSTANCE instance = nullptr;
};

// Answers the next modal dialog or message box of this thread: a thread timer, which the dialog's own
// loop dispatches, reads the dialog's texts, hands the dialog to inspect (when given) and then presses the
// given button.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int button, int textControl, std::function<void(HWND dialog)> inspect = {}) {
        state() = State{};
        state().button = button;
        state().textControl = textControl;
        state().inspect = std::move(inspect);
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
    HWND dialog() const { return state().dialog; }

private:
    struct State {
        int button = IDOK;
        int textControl = 0;
        bool answered = false;
        std::wstring caption;
        std::wstring text;
        HWND owner = nullptr;
        HWND dialog = nullptr;
        std::function<void(HWND)> inspect;
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
        s.dialog = dialog;
        s.answered = true;
        if (s.inspect) {
            s.inspect(dialog);
        }
        PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(s.button), 0);
    }

    UINT_PTR timer_ = 0;
};

// The width in pixels of an icon; 0 without one.
inline int iconWidth(HICON handle) {
    ICONINFO icon{};
    if (handle == nullptr || !GetIconInfo(handle, &icon)) {
        return 0;
    }
    BITMAP colour{};
    const int width = GetObjectW(icon.hbmColor, sizeof(colour), &colour) != 0 ? colour.bmWidth : 0;
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    return width;
}

// The width of the window's big or small icon (ICON_BIG, ICON_SMALL); 0 without one.
inline int iconWidth(HWND window, WPARAM which) {
    return iconWidth(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)));
}

// The lines of a window's font, 0 without one.
inline LONG fontHeightOf(HWND window) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return handle != nullptr && GetObjectW(handle, sizeof(font), &font) != 0 ? font.lfHeight : 0;
}

// The message box's text control, as the system's message box numbers it.
constexpr int kMessageBoxTextId = 0xFFFF;

}  // namespace apptest
