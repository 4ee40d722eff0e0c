#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/AppState.h"
#include "app/window/PlayerWindows.h"
#include "common/FakePlayer.h"
#include "common/GdiplusEnvironment.h"
#include "common/TestWindows.h"
#include "playback/PlayLogic.h"
#include "ui/WindowLibrary.h"

// The window library lives around every test of a program that includes this, as it does around the
// player's windows (and GDI+ with it).
namespace testwindowlibrary {

class Environment : public ::testing::Environment {
public:
    void SetUp() override { initWindowLibrary(GetModuleHandleW(nullptr)); }
    void TearDown() override { shutdownWindowLibrary(GetModuleHandleW(nullptr)); }
};

inline ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace testwindowlibrary

// Removes and returns the wParam of the first WM_COMMAND posted to the window; -1 when none was.
inline int takePostedCommand(HWND window) {
    MSG msg{};
    if (!PeekMessageW(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        return -1;
    }
    return static_cast<int>(msg.wParam);
}

// The process state the windows below the main window read: a plain window stands in for the main
// window (tests read the messages posted to it from the queue) and the module; no controller unless a
// test installs one.
class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        // Handles of windows destroyed by earlier tests may come back for new windows.
        linkColorMap().clear();
        linkUrlMap().clear();
        ASSERT_NE(mainWindow, nullptr);
        appState().mainWindow = mainWindow;
        appState().instance = GetModuleHandleW(nullptr);
    }
    void TearDown() override { resetAppState(); }

    // Installs a controller whose players (made by createMediaPlayer) are fakes that share the returned
    // log; nothing plays and no time is known yet.
    std::shared_ptr<FakePlayerLog> installControllerWithPlayer() {
        auto log = std::make_shared<FakePlayerLog>();
        log->time = 0;
        log->length = 0;
        appState().controller = std::make_unique<PlayLogic>(fakeFactory(log), &playerWindows());
        appState().controller->createMediaPlayer(PlayerVlc);
        return log;
    }

    const testwin::TestWindow main_;
    const HWND mainWindow = main_.get();
};
