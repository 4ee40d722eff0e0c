// What the player's commands do to a playing clip: pause and resume, seeking, volume and mute, stop and
// replacing the media, and how time and length follow the clip.
#include "contract/ContractFixture.h"

namespace contract {
namespace {

struct ClipCase {
    const char* clip;
    long long length;  // as the real library reports it for the generated clip
    int videoTracks;
};

class ClipFacts : public LibvlcContract, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(ClipFacts, LengthAndTracksOnceTimeIsReported) {
    ASSERT_TRUE(playUntil(GetParam().clip));
    EXPECT_NEAR(length(), GetParam().length, 100);
    EXPECT_EQ(videoTracks(), GetParam().videoTracks);
}

INSTANTIATE_TEST_SUITE_P(GeneratedClips, ClipFacts,
                         ::testing::Values(ClipCase{"short.mpg", 1960, 2}, ClipCase{"audio.mpg", 1907, 0},
                                           ClipCase{"long.mpg", 11938, 2}));

TEST_F(LibvlcContract, TimeFollowsTheClockWhilePlaying) {
    ASSERT_TRUE(playUntil("long.mpg"));
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerTimeChanged, 2));
    const long long start = time();
    const int reports = log_->count(libvlc_MediaPlayerTimeChanged);
    const long long slept = sleepMeasuredMs(1500);
    EXPECT_NEAR(time() - start, slept, 450);
    EXPECT_GE(log_->count(libvlc_MediaPlayerTimeChanged) - reports, 3) << "about every 250 ms";
}

TEST_F(LibvlcContract, PauseFreezesTheTimeAndPlayResumes) {
    ASSERT_TRUE(playUntil("long.mpg"));
    libvlc_media_player_pause(player_);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerPaused));
    EXPECT_FALSE(log_->all().back().onCallerThread);
    EXPECT_EQ(state(), kPaused);
    EXPECT_EQ(libvlc_media_player_is_playing(player_), 0);

    const long long frozen = time();
    const int reports = log_->count(libvlc_MediaPlayerTimeChanged);
    sleepMs(600);
    EXPECT_EQ(time(), frozen);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerTimeChanged), reports) << "no time reports while paused";

    EXPECT_EQ(libvlc_media_player_play(player_), 0);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerPlaying, 2));
    EXPECT_FALSE(log_->all().back().onCallerThread);
    EXPECT_EQ(state(), kPlaying);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerTimeChanged, reports + 2));
    EXPECT_GT(time(), frozen);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerOpening), 1) << "resumed, not restarted";
}

TEST_F(LibvlcContract, SetTimeMovesTheTimeAndReportsItOnTheCallersThread) {
    ASSERT_TRUE(playUntil("long.mpg"));
    libvlc_media_player_set_time(player_, 6000);
    // While playing the new time is reported at once, from inside set_time.
    const Recorded last = log_->all().back();
    EXPECT_EQ(last.type, libvlc_MediaPlayerTimeChanged);
    EXPECT_TRUE(last.onCallerThread);
    EXPECT_EQ(last.newTime, 6000);
    EXPECT_NEAR(time(), 6000, 500);
    // The library restarts decoding a little before the target, so the time may step back a bit.
    const long long slept = sleepMeasuredMs(600);
    EXPECT_NEAR(time(), 5700 + slept, 800);

    libvlc_media_player_pause(player_);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerPaused));
    const int reports = log_->count(libvlc_MediaPlayerTimeChanged);
    libvlc_media_player_set_time(player_, 3000);
    sleepMs(200);
    EXPECT_EQ(time(), 3000);
    EXPECT_EQ(state(), kPaused);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerTimeChanged), reports) << "no report while paused";
}

TEST_F(LibvlcContract, SetTimePastTheEndEndsTheClip) {
    ASSERT_TRUE(playUntil("long.mpg"));
    libvlc_media_player_set_time(player_, length() + 5000);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerEndReached, 1, std::chrono::seconds(3)));
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerStopped));
    EXPECT_EQ(state(), kEnded);
}

TEST_F(LibvlcContractWithSound, VolumeAndMuteNeedTheAudioOutputThatStopTakesAway) {
    ASSERT_TRUE(playUntil("long.mpg"));
    EXPECT_EQ(libvlc_audio_set_volume(player_, 50), 0);
    EXPECT_EQ(libvlc_audio_set_volume(player_, 150), 0) << "no upper bound";
    EXPECT_EQ(libvlc_audio_set_volume(player_, -1), -1);
    EXPECT_GE(libvlc_audio_get_volume(player_), 0);
    // Through the bridge the output reports a new mute a moment later, and an output still starting up
    // may report the one it started with: the mute is set until it reads back.
    const auto muteReadsBack = [&](int mute) {
        return testwait::waitUntil(
            [&] {
                libvlc_audio_set_mute(player_, mute);
                return libvlc_audio_get_mute(player_) == mute;
            },
            std::chrono::seconds(5), std::chrono::milliseconds(50));
    };
    EXPECT_TRUE(muteReadsBack(1));
    EXPECT_TRUE(muteReadsBack(0));

    libvlc_media_player_stop(player_);
    EXPECT_EQ(libvlc_audio_get_volume(player_), -1);
    EXPECT_EQ(libvlc_audio_get_mute(player_), -1);
    EXPECT_EQ(libvlc_audio_set_volume(player_, 40), -1);

    // After a stop the output comes back only once audio is being decoded: not yet in the playing
    // event, but by the first time report.
    ASSERT_EQ(libvlc_media_player_play(player_), 0);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerPlaying, 2));
    EXPECT_EQ(log_->all().back().volumeInside, -1);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerTimeChanged, log_->count(libvlc_MediaPlayerTimeChanged) + 1));
    EXPECT_GE(libvlc_audio_get_volume(player_), 0);
    EXPECT_EQ(libvlc_audio_set_volume(player_, 40), 0);
}

TEST_F(LibvlcContract, AfterAStopAClipWithoutAudioHasNoAudioOutput) {
    ASSERT_TRUE(load("garbage.mpg"));
    libvlc_media_player_stop(player_);
    ASSERT_EQ(libvlc_media_player_play(player_), 0);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerEndReached));
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerStopped, 2));
    EXPECT_EQ(libvlc_audio_get_volume(player_), -1);
    EXPECT_EQ(libvlc_audio_set_volume(player_, 40), -1);
}

TEST_F(LibvlcContract, StopIsSynchronousAndFinal) {
    ASSERT_TRUE(playUntil("long.mpg"));
    libvlc_media_player_stop(player_);
    ASSERT_EQ(log_->count(libvlc_MediaPlayerStopped), 1);
    EXPECT_TRUE(log_->all().back().onCallerThread);
    EXPECT_EQ(state(), kStopped);
    EXPECT_EQ(time(), -1);
    EXPECT_EQ(length(), -1);
    const int before = log_->total();
    sleepMs(600);
    EXPECT_EQ(log_->total(), before) << "nothing arrives after stop returned";
}

class SetMediaDuringPlayback : public LibvlcContract, public ::testing::WithParamInterface<bool> {};

TEST_P(SetMediaDuringPlayback, EndsTheInputWithoutStoppedAndTheNextPlayStartsAfresh) {
    const bool paused = GetParam();
    ASSERT_TRUE(playUntil("long.mpg"));
    if (paused) {
        libvlc_media_player_pause(player_);
        ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerPaused));
    }
    ASSERT_TRUE(load("short.mpg"));
    EXPECT_EQ(state(), kNothingSpecial);
    EXPECT_EQ(time(), -1);
    EXPECT_EQ(length(), -1);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerStopped), 0);

    ASSERT_EQ(libvlc_media_player_play(player_), 0);
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerOpening, 2));
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerPlaying, 2));
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerTimeChanged, log_->count(libvlc_MediaPlayerTimeChanged) + 1));
    EXPECT_NEAR(length(), 1960, 100);
}

INSTANTIATE_TEST_SUITE_P(PlayingOrPaused, SetMediaDuringPlayback, ::testing::Bool());

}  // namespace
}  // namespace contract
