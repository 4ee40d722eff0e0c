#include <windows.h>

#include <gtest/gtest.h>

#include "common/MessagePump.h"
#include "common/TestClips.h"
#include "playback/PlayLogic.h"
#include "playback/VlcPlayer.h"

// The controller with its real player, against the libvlc stand-in beside this program: the stand-in
// plays the folder's 1 s clips in real time and raises its events on a thread of its own.
namespace {

// Drives the main window's 260 ms tick while pumping the thread's messages, until done() holds.
template <typename Predicate>
bool tickUntil(PlayLogic& controller, Predicate done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (pumpUntil(done, 260)) {
            return true;
        }
        controller.timerProc();
    }
    return done();
}

int standinHazards() {
    using Count = int (*)();
    HMODULE library = GetModuleHandleW(L"libvlc.dll");
    auto count = library ? reinterpret_cast<Count>(reinterpret_cast<void (*)()>(
                               GetProcAddress(library, "standin_libvlc_hazard_count")))
                         : nullptr;
    return count ? count() : -1;
}

}  // namespace

TEST(ControllerEndToEnd, PlaysTheFolderThroughAndStopsAfterTheLast) {
    ASSERT_FALSE(testclips::unixDir().empty()) << "VELMORA_CLIP_DIR is not set";
    const std::wstring a = testclips::path("folder/a.mpg");
    const std::wstring b = testclips::path("folder/b.mpg");
    const std::wstring c = testclips::path("folder/c.mpg");

    PlayLogic controller;
    ASSERT_TRUE(controller.open(a));
    ASSERT_NE(controller.player(), nullptr);
    EXPECT_EQ(controller.player()->playerType(), PlayerVlc);
    controller.play();
    ASSERT_EQ(controller.playlist().build(a), 3);

    // Put the library's mute out of line: only the Playing event's volume upkeep, run from the event
    // window, puts it right (no tick runs before the check).
    MediaPlayer* player = controller.player();
    player->toggleMute();
    ASSERT_TRUE(player->isMute());
    EXPECT_TRUE(pumpUntil([&] { return !player->isMute(); }, 5000)) << "no Playing event arrived";

    EXPECT_TRUE(tickUntil(
        controller, [&] { return controller.currentPath() == b; }, 10000));
    EXPECT_EQ(controller.playlist().currentIndex(), 1);
    EXPECT_TRUE(tickUntil(
        controller, [&] { return controller.currentPath() == c; }, 10000));
    EXPECT_EQ(controller.playlist().currentIndex(), 2);
    EXPECT_TRUE(tickUntil(
        controller, [&] { return controller.player()->getState() == StateStopped; }, 10000));

    // After the last file nothing wraps round to the first.
    tickUntil(
        controller, [] { return false; }, 1000);
    EXPECT_EQ(controller.currentPath(), c);
    EXPECT_FALSE(controller.isPlaying());
    EXPECT_EQ(standinHazards(), 0);
}

// A file name may hold a lone surrogate; replaced by U+FFFD it would name another file (the stand-in,
// like the library, gives a media for any path), so the player refuses it.
TEST(VlcPlayerOnWindows, RefusesAPathThatIsNotText) {
    ASSERT_FALSE(testclips::unixDir().empty()) << "VELMORA_CLIP_DIR is not set";
    VlcPlayer player;
    ASSERT_TRUE(player.init(nullptr));
    const std::wstring good = testclips::path("short.mpg");
    ASSERT_TRUE(player.open(good.c_str()));

    const std::wstring bad = testclips::path("folder/") + static_cast<wchar_t>(0xD800) + L".mpg";
    EXPECT_FALSE(player.open(bad.c_str()));
    player.release();
}
