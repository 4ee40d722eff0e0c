#include <windows.h>

#include <gtest/gtest.h>

#include "common/MessagePump.h"
#include "common/StandinCalls.h"
#include "common/TempFolder.h"
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

// Tracks, a subtitle file, the rate and on-screen text through the player, as the library receives them:
// the file's tracks without the library's "Disable" entry, a path of any name as a file:/// address, the
// text as UTF-8.
TEST(VlcPlayerOnWindows, TracksSubtitleFileRateAndTextReachTheLibrary) {
    ASSERT_FALSE(testclips::unixDir().empty()) << "VELMORA_CLIP_DIR is not set";
    const TempFolder folder;
    const std::wstring log = folder.path() + L"calls.log";
    {
        const standincalls::Recording recording(log);
        VlcPlayer player;
        ASSERT_TRUE(player.init(nullptr));
        EXPECT_EQ(player.features(), FeatureAudioTracks | FeatureSubtitleTracks | FeatureSubtitleFiles |
                                         FeatureRate | FeatureOnScreenText | FeatureChapters |
                                         FeatureSubtitleDelay | FeatureAudioDelay);
        ASSERT_TRUE(player.open(testclips::path("tracks/film.mkv").c_str()));
        player.play();
        ASSERT_TRUE(pumpUntil([&] { return !player.subtitleTracks().empty(); }, 5000));
        EXPECT_EQ(player.audioTracks(),
                  (std::vector<MediaTrack>{{1, L"Low tone - [English]"}, {2, L"Track 2 - [French]"}}));
        EXPECT_EQ(player.subtitleTracks(),
                  (std::vector<MediaTrack>{{3, L"Track 1 - [English]"}, {4, L"Signs and songs - [German]"}}));
        EXPECT_TRUE(player.setAudioTrack(2));
        EXPECT_TRUE(player.setSubtitleTrack(kNoTrack));
        EXPECT_TRUE(
            player.addSubtitleFile(testclips::path("tracks/внешние субтитры 100% #1/extra.srt").c_str()));
        EXPECT_TRUE(pumpUntil([&] { return player.currentSubtitleTrack() == 5; }, 5000));
        EXPECT_TRUE(player.setRate(1.5f));
        EXPECT_EQ(player.getRate(), 1.5f);
        player.showText(L"Speed: 1.5\u00D7", 2000);
        player.stop();
        player.release();
    }
    const std::string calls = standincalls::read(log);
    for (const std::string& call :
         {std::string("audio_set_track 2\nvideo_set_spu -1\nadd_slave subtitle file:///Z:/"),
          std::string(
              "/tracks/%D0%B2%D0%BD%D0%B5%D1%88%D0%BD%D0%B8%D0%B5%20%D1%81%D1%83%D0%B1%D1%82%D0%B8%D1%82"
              "%D1%80%D1%8B%20100%25%20%231/extra.srt select 1\nset_rate 1.5\n"),
          std::string("set_marquee_string Text Speed: 1.5\xC3\x97\nset_marquee_int Enable 1\nstop\n")}) {
        EXPECT_NE(calls.find(call), std::string::npos) << call << "\nnot in\n" << calls;
    }
}
