#include <windows.h>

#include <gtest/gtest.h>

#include "common/MainWindowFixture.h"
#include "common/MessagePump.h"
#include "common/TempFolder.h"
#include "playback/PlaybackView.h"
#include "ui/PlayWnd.h"

// The controller with the real video window: which player events may show the video surface.
namespace {

class ControllerWithVideoWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        PlayWnd::instance()->setLinks(appWindowLinks());
        ASSERT_TRUE(PlayWnd::instance()->create(GetModuleHandleW(nullptr), mainWindow));
        appState().videoWindow = PlayWnd::instance();
        appState().controller = std::make_unique<PlayLogic>(fakeFactory(log_));
    }

    void TearDown() override {
        MainWindowFixture::TearDown();
        PlayWnd::instance()->destroyWindows();
        PlayWnd::destroyInstance();
    }

    static void raise(int type) { PlayLogic::handleProc(type); }

    static bool surfaceShown() {
        return playbackview::surfaceWindow() != nullptr && !playbackview::surfaceHidden();
    }

    std::shared_ptr<FakePlayerLog> log_ = std::make_shared<FakePlayerLog>();
    TempFolder folder_;
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
