#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/AppState.h"
#include "playback/MediaPlayer.h"
#include "playback/PlayLogic.h"
#include "ui/WindowLibrary.h"

// A player whose state the test sets.
struct FakePlayerState {
    int state = StateNothing;
    bool playing = false;
    std::int64_t time = 0;
    std::int64_t length = 0;
    std::int64_t lastSeek = -1;  // the last setTime, -1 before any
};

class FakePlayer : public MediaPlayer {
public:
    explicit FakePlayer(std::shared_ptr<FakePlayerState> state) : state_(std::move(state)) {}
    PlayerType playerType() override { return PlayerVlc; }
    bool init(OutputWindow) override { return true; }
    void release() override {}
    bool open(const wchar_t*) override { return true; }
    void play() override {}
    bool isPlaying() override { return state_->playing; }
    void pause() override {}
    void stop() override {}
    std::int64_t getTime() override { return state_->time; }
    std::int64_t getLength() override { return state_->length; }
    void setTime(std::int64_t ms) override { state_->lastSeek = state_->time = ms; }
    int getVolume() override { return 100; }
    bool setVolume(int) override { return true; }
    int getState() override { return state_->state; }
    void setHwnd(OutputWindow) override {}
    bool isMute() override { return false; }
    void toggleMute() override {}

private:
    std::shared_ptr<FakePlayerState> state_;
};

// A plain top-level window standing in for the main window; it records nothing itself; tests read
// the messages posted to it from the queue.
inline HWND createStandInMainWindow() {
    static const wchar_t kClass[] = L"VelmoraVideoTestMain";
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        registered = RegisterClassExW(&wc) != 0;
    }
    return CreateWindowExW(0, kClass, L"main", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Removes and returns the wParam of the first WM_COMMAND posted to the window; -1 when none was.
inline int takePostedCommand(HWND window) {
    MSG msg{};
    if (!PeekMessageW(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        return -1;
    }
    return static_cast<int>(msg.wParam);
}

// The process state the video window reads: the stand-in main window and the module; no controller
// unless a test installs one.
class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        // Handles of windows destroyed by earlier tests may come back for new windows.
        linkColorMap().clear();
        linkUrlMap().clear();
        mainWindow = createStandInMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        appState().mainWindow = mainWindow;
        appState().instance = GetModuleHandleW(nullptr);
    }
    void TearDown() override {
        resetAppState();
        if (mainWindow != nullptr) {
            DestroyWindow(mainWindow);
        }
    }

    // Installs a controller whose player (made by createMediaPlayer) reports the returned state.
    std::shared_ptr<FakePlayerState> installControllerWithPlayer() {
        auto state = std::make_shared<FakePlayerState>();
        appState().controller = std::make_unique<PlayLogic>(
            [state](int) -> std::unique_ptr<MediaPlayer> { return std::make_unique<FakePlayer>(state); });
        appState().controller->createMediaPlayer(PlayerVlc);
        return state;
    }

    HWND mainWindow = nullptr;
};
