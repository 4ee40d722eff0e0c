#include <windows.h>

#include <gtest/gtest.h>

#include "common/MessagePump.h"
#include "common/TestClips.h"
#include "playback/VlcPlayer.h"

// The player beside a libvlc.dll without the entries for tracks, subtitle files, rate and on-screen text
// (the stand-in with only the entries every libvlc has, as an older or trimmed library): it loads and
// plays as before, and offers none of those features.
TEST(OlderLibrary, LoadsAndPlaysWithoutItsMissingFeatures) {
    ASSERT_FALSE(testclips::unixDir().empty()) << "VELMORA_CLIP_DIR is not set";
    VlcPlayer player;
    EXPECT_FALSE(player.versionText().empty()) << "a library without the optional entries must load";
    ASSERT_TRUE(player.init(nullptr));
    EXPECT_EQ(player.features(), 0u);
    ASSERT_TRUE(player.open(testclips::path("tracks/film.mkv").c_str()));
    player.play();
    EXPECT_TRUE(pumpUntil([&] { return player.getTime() > 300; }, 5000)) << "time " << player.getTime();
    EXPECT_TRUE(player.isPlaying());
    EXPECT_GT(player.getLength(), 19000);
    EXPECT_TRUE(player.audioTracks().empty());
    EXPECT_TRUE(player.subtitleTracks().empty());
    EXPECT_FALSE(player.setSubtitleTrack(kNoTrack));
    EXPECT_FALSE(player.addSubtitleFile(testclips::path("tracks/film.mkv").c_str()));
    EXPECT_FALSE(player.setRate(2.0f));
    EXPECT_EQ(player.getRate(), 1.0f);
    player.showText(L"Volume 80 %", 2000);
    player.stop();
    EXPECT_EQ(player.getState(), StateStopped);
    player.release();
}
