#include <windows.h>

#include <gtest/gtest.h>

#include "FakePlayer.h"
#include "common/MessagePump.h"
#include "common/TempFolder.h"
#include "app/AppState.h"
#include "playback/PlayLogic.h"
#include "playback/PlaybackView.h"
#include "ui/GdiplusSession.h"
#include "ui/PlayWnd.h"
#include "ui/WindowLibrary.h"

// The controller with the real video window: which player events may show the video surface.
namespace {

class ControllerWithVideoWindow : public testing::Test {
protected:
    void SetUp() override {
        initWindowLibrary(GetModuleHandleW(nullptr));
        resetAppState();
        mainWindow_ = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800,
                                      600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(mainWindow_, nullptr);
        appState().mainWindow = mainWindow_;
        appState().instance = GetModuleHandleW(nullptr);
        PlayWnd::instance()->setLinks(appWindowLinks());
        ASSERT_TRUE(PlayWnd::instance()->create(GetModuleHandleW(nullptr), mainWindow_));
        appState().videoWindow = PlayWnd::instance();
        appState().controller = std::make_unique<PlayLogic>(fakeFactory(log_));
    }

    void TearDown() override {
        resetAppState();
        PlayWnd::instance()->destroyWindows();
        PlayWnd::destroyInstance();
        if (mainWindow_ != nullptr) {
            DestroyWindow(mainWindow_);
        }
        shutdownWindowLibrary(GetModuleHandleW(nullptr));
    }

    static void raise(int type) { PlayLogic::handleProc(type); }

    static bool surfaceShown() {
        return playbackview::surfaceWindow() != nullptr && !playbackview::surfaceHidden();
    }

    GdiplusSession gdiplus_;
    std::shared_ptr<FakePlayerLog> log_ = std::make_shared<FakePlayerLog>();
    TempFolder folder_;
    HWND mainWindow_ = nullptr;
};

TEST_F(ControllerWithVideoWindow, OnlyEventsOfAPlayingPlayerShowTheSurface) {
    PlayLogic& controller = *appState().controller;
    log_->video = false;  // the library knows of no video track yet when play returns
    ASSERT_TRUE(controller.open(folder_.addFile(L"a.mpg")));
    controller.play();
    EXPECT_FALSE(surfaceShown());

    // The track is found while playing: the next event shows the surface.
    log_->video = true;
    raise(libvlc_MediaPlayerTimeChanged);
    EXPECT_TRUE(pumpUntil(surfaceShown, 5000));

    // Events raised just before the user stops arrive after the stop, which hid the surface so that
    // the logo shows again: they must leave it hidden.
    raise(libvlc_MediaPlayerTimeChanged);
    raise(libvlc_MediaPlayerPlaying);
    controller.stop();
    EXPECT_FALSE(surfaceShown());
    pumpPending();
    EXPECT_FALSE(surfaceShown());
}

}  // namespace
