// The video area: the surface the clip plays into, the logo when nothing plays, the double-click
// full-screen toggle and the context menu.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/PlayerFixture.h"
#include "e2e/ScreenCapture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

bool surfaceShown(HWND surface) {
    return surface && IsWindowVisible(surface);
}

// The stand-in paints sliding colour bars and the play time, so a playing surface changes over time;
// the logo on black is still and has far fewer colours.
TEST_F(PlayerTest, PlayingClipShowsAMovingPictureOnTheSurface) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    HWND surface = nullptr;
    ASSERT_TRUE(waitForShownSurface(surface));
    Picture first;
    EXPECT_TRUE(waitForLitPicture(surface, first)) << "the surface is mostly black";
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(waitUntil([&] { return captureClient(surface).differingPixels(first) > 0; }, 5000))
        << "the picture does not move";
}

// Space pauses a playing clip and resumes a paused one: the stand-in's picture stands still while paused and
// moves again after the second Space, and the title keeps naming the file throughout.
TEST_F(PlayerTest, SpacePausesAndResumesThePicture) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    HWND surface = nullptr;
    ASSERT_TRUE(waitForShownSurface(surface));
    auto moving = [&] {
        const Picture before = captureClient(surface);
        Sleep(600);
        return captureClient(surface).differingPixels(before) > 0;
    };
    ASSERT_TRUE(waitUntil(moving, 5000)) << "the picture does not move while playing";

    player_.sendKey(VK_SPACE);
    // The key and the last frames before the pause may still be on their way on a loaded machine: the
    // picture has to come to rest within the deadline (a pause that never takes hold keeps it moving).
    EXPECT_TRUE(waitUntil([&] { return !moving(); }, 8000))
        << "the picture still moves after Space paused it";
    EXPECT_EQ(player_.title(), titleFor(L"long.mpg"));

    player_.sendKey(VK_SPACE);
    EXPECT_TRUE(waitUntil(moving, 5000)) << "the picture does not move again after the second Space";
}

TEST_F(PlayerTest, StoppingHidesTheSurfaceAndShowsTheLogoAgain) {
    ASSERT_TRUE(startIdle());
    const HWND frame = videoFrame();
    ASSERT_NE(frame, nullptr);
    Picture idle;
    ASSERT_TRUE(waitForLitPicture(frame, idle, 5000, 0)) << "no logo on the idle frame";

    ASSERT_TRUE(openThroughDialog(longClipPath()));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    HWND shown = nullptr;
    ASSERT_TRUE(waitForShownSurface(shown));
    // The surface is shown before the player's first frame reaches it.
    Picture playing;
    EXPECT_TRUE(waitUntil(
        [&] {
            playing = captureClient(frame);
            return playing.differingPixels(idle) > idle.pixels.size() / 10;
        },
        5000))
        << "playing looks like the idle logo";

    player_.postCommand(ID_STOP);
    ASSERT_TRUE(waitForTitle(kProductTitle));
    EXPECT_TRUE(waitUntil([&] { return !surfaceShown(videoSurface()); }, 5000)) << "surface still shown";
    Picture stopped;
    EXPECT_TRUE(waitUntil(
        [&] {
            stopped = captureClient(frame);
            return stopped.differingPixels(idle) == 0;
        },
        5000))
        << stopped.differingPixels(idle) << " pixels differ from the idle logo";
}

TEST_F(PlayerTest, DoubleClickOnTheVideoTogglesFullScreen) {
    ASSERT_TRUE(startIdle());
    const HWND frame = videoFrame();
    ASSERT_NE(frame, nullptr);
    PostMessageW(frame, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
    ASSERT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000)) << "double-click did not enter full screen";
    PostMessageW(frame, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_TRUE(waitUntil([&] { return !isFullScreen(); }, 5000)) << "double-click did not leave full screen";
}

TEST_F(PlayerTest, ContextMenuOpensOverTheVideoAndClosesWithEscape) {
    ASSERT_TRUE(startIdle());
    const HWND frame = videoFrame();
    ASSERT_NE(frame, nullptr);
    const POINT centre = centreOf(windowRect(frame));
    PostMessageW(frame, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(frame), MAKELPARAM(centre.x, centre.y));
    HWND menu = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            menu = player_.findPopupMenu();
            return menu != nullptr;
        },
        5000))
        << "no pop-up menu appeared";
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    const bool closedByEscape = waitUntil([&] { return player_.findPopupMenu() == nullptr; }, 5000);
    if (!closedByEscape) {
        PostMessageW(player_.window(), WM_CANCELMODE, 0, 0);  // don't leave the player stuck in the menu
    }
    EXPECT_TRUE(closedByEscape) << "Escape did not close the menu";
    // The menu chose nothing, and the player answers keys again.
    player_.sendKey('F');
    EXPECT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000));
}

}  // namespace
}  // namespace e2e
