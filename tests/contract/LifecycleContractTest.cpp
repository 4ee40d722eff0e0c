// What a media player reports from creation to the end of a clip, and how it ends the clips that can't
// be played. The player relies on these numbers and on which thread each event comes.
#include <algorithm>

#include "common/FedPipe.h"
#include "common/TempFolder.h"
#include "contract/ContractFixture.h"

namespace contract {
namespace {

using Types = std::vector<libvlc_event_type_t>;

bool noneOnCallerThread(const std::vector<Recorded>& events) {
    return std::none_of(events.begin(), events.end(), [](const Recorded& r) { return r.onCallerThread; });
}

TEST_F(LibvlcContract, WithoutInputTheGettersAnswerMinusOne) {
    EXPECT_EQ(state(), kNothingSpecial);
    EXPECT_EQ(libvlc_media_player_is_playing(player_), 0);
    EXPECT_EQ(time(), -1);
    EXPECT_EQ(length(), -1);
    EXPECT_EQ(videoTracks(), -1);
    // A new player already has its audio output, so volume and mute are answered.
    EXPECT_GE(libvlc_audio_get_volume(player_), 0);
    const int mute = libvlc_audio_get_mute(player_);
    EXPECT_TRUE(mute == 0 || mute == 1) << mute;

    EXPECT_EQ(libvlc_media_player_play(player_), -1) << "play without media";
    libvlc_media_player_pause(player_);
    libvlc_media_player_set_time(player_, 1000);
    sleepMs(100);
    EXPECT_EQ(log_->total(), 0);
    EXPECT_EQ(time(), -1);
}

TEST_F(LibvlcContract, StopAnnouncesStoppedOnTheCallersThreadUnlessAlreadyStopped) {
    libvlc_media_player_stop(player_);
    // Recorded before stop returned: no waiting.
    ASSERT_EQ(log_->milestones(), Types{libvlc_MediaPlayerStopped});
    EXPECT_TRUE(log_->all()[0].onCallerThread);
    EXPECT_EQ(state(), kStopped);

    libvlc_media_player_stop(player_);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerStopped), 1);

    // Stop takes the audio output away.
    EXPECT_EQ(libvlc_audio_get_volume(player_), -1);
    EXPECT_EQ(libvlc_audio_get_mute(player_), -1);
    EXPECT_EQ(libvlc_audio_set_volume(player_, 50), -1);
}

TEST_F(LibvlcContract, MediaIsMadeForAnyPath) {
    for (const char* path : {"/no/such/folder/clip.mpg", "relative.mpg", "C:\\x\\y.mpg", "caf\xC3\xA9.mpg"}) {
        libvlc_media_t* media = libvlc_media_new_path(instance_, path);
        EXPECT_NE(media, nullptr) << path;
        libvlc_media_release(media);
    }
}

TEST_F(LibvlcContract, ClipPlaysToTheEndAndKeepsItsLengthUntilStop) {
    ASSERT_TRUE(playUntil("short.mpg"));
    EXPECT_EQ(state(), kPlaying);
    EXPECT_EQ(libvlc_media_player_is_playing(player_), 1);
    EXPECT_EQ(videoTracks(), 2) << "one video track plus the \"Disable\" choice";
    EXPECT_NEAR(length(), 1960, 100);
    EXPECT_GE(time(), 0);

    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerStopped, 1, std::chrono::seconds(6)));
    EXPECT_EQ(log_->milestones(), (Types{libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,
                                         libvlc_MediaPlayerEndReached, libvlc_MediaPlayerStopped}));
    const std::vector<Recorded> events = log_->all();
    EXPECT_TRUE(noneOnCallerThread(events));

    // Inside the playing event neither the tracks nor the length are known yet.
    const auto playing = std::find_if(events.begin(), events.end(),
                                      [](const Recorded& r) { return r.type == libvlc_MediaPlayerPlaying; });
    EXPECT_EQ(playing->videoTracksInside, 0);
    EXPECT_EQ(playing->lengthInside, 0);

    // Time reports come only between playing and the end, within the clip, and move on overall (the
    // library's own reports may step back by a few milliseconds now and then).
    const auto end = std::find_if(events.begin(), events.end(),
                                  [](const Recorded& r) { return r.type == libvlc_MediaPlayerEndReached; });
    std::vector<std::int64_t> reported;
    for (auto it = events.begin(); it != events.end(); ++it) {
        if (it->type == libvlc_MediaPlayerTimeChanged) {
            EXPECT_TRUE(it > playing && it < end);
            EXPECT_GE(it->newTime, 0);
            EXPECT_LE(it->newTime, 1960 + 100);
            reported.push_back(it->newTime);
        }
    }
    ASSERT_GE(reported.size(), 2u);
    EXPECT_GT(reported.back(), reported.front() + 500);

    EXPECT_EQ(state(), kEnded);
    EXPECT_EQ(libvlc_media_player_is_playing(player_), 0);
    EXPECT_NEAR(length(), 1960, 100);
    EXPECT_EQ(videoTracks(), 1) << "the video track is gone at the end, the \"Disable\" choice remains";

    libvlc_media_player_stop(player_);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerStopped), 2) << "stop announces again, synchronously";
    EXPECT_TRUE(log_->all().back().onCallerThread);
    EXPECT_EQ(state(), kStopped);
    EXPECT_EQ(time(), -1);
    EXPECT_EQ(length(), -1);
    EXPECT_EQ(videoTracks(), -1);
}

class UnreadableClip : public LibvlcContract, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnreadableClip, EndsWithErrorThenStoppedInStateEnded) {
    ASSERT_TRUE(playUntil(GetParam(), libvlc_MediaPlayerStopped));
    sleepMs(100);
    EXPECT_EQ(log_->milestones(), (Types{libvlc_MediaPlayerOpening, libvlc_MediaPlayerEncounteredError,
                                         libvlc_MediaPlayerStopped}));
    EXPECT_TRUE(noneOnCallerThread(log_->all()));
    EXPECT_EQ(state(), kEnded) << "ended, not error";
    // The input is still there until stop.
    EXPECT_EQ(time(), 0);
    EXPECT_EQ(length(), 0);
    EXPECT_EQ(videoTracks(), 0);

    libvlc_media_player_stop(player_);
    EXPECT_EQ(state(), kStopped);
    EXPECT_EQ(time(), -1);
}

INSTANTIATE_TEST_SUITE_P(MissingOrEmpty, UnreadableClip, ::testing::Values("missing.mpg", "empty.mpg"));

TEST_F(LibvlcContract, RandomBytesPlayAndEndAtOnceWithoutTracks) {
    ASSERT_TRUE(playUntil("garbage.mpg", libvlc_MediaPlayerStopped));
    EXPECT_EQ(log_->milestones(), (Types{libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,
                                         libvlc_MediaPlayerEndReached, libvlc_MediaPlayerStopped}));
    EXPECT_EQ(state(), kEnded);
    EXPECT_EQ(length(), 0);
    EXPECT_EQ(videoTracks(), 0);
}

// A large input with nothing the library knows in it (zeros, as a download not yet done leaves a file):
// playing, at time 0 and without a length or tracks, for as long as the library is still reading it
// (minutes for a large file); then it ends like a small one. The input is a pipe the test feeds, so it
// is still being read for exactly as long as the test holds it open, however fast the library reads.
TEST_F(LibvlcContract, InputWithoutStreamsPlaysAtTimeZeroWhileItIsRead) {
    const TempFolder folder;
    FedPipe input((std::filesystem::path(folder.path()) / "unfinished.mkv").native());
    ASSERT_TRUE(input.ready());
    ASSERT_TRUE(loadFile(input.path()));
    ASSERT_EQ(libvlc_media_player_play(player_), 0);
    // Fed until the library has read enough of the head to play, then 8 MB more.
    ASSERT_TRUE(testwait::waitUntil(
        [&] {
            input.feed(FedPipe::kBuffer, 100);
            return log_->count(libvlc_MediaPlayerPlaying) > 0;
        },
        std::chrono::seconds(10)));
    ASSERT_TRUE(input.feed(8 << 20, 30000)) << "the library stopped reading";
    EXPECT_EQ(state(), kPlaying);
    EXPECT_EQ(libvlc_media_player_is_playing(player_), 1);
    EXPECT_EQ(time(), 0);
    EXPECT_EQ(length(), 0);
    EXPECT_EQ(videoTracks(), 0);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerTimeChanged), 0);
    EXPECT_EQ(log_->milestones(), (Types{libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying}));

    input.close();
    ASSERT_TRUE(log_->waitFor(libvlc_MediaPlayerStopped, 1, std::chrono::seconds(10)));
    EXPECT_EQ(log_->milestones(), (Types{libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,
                                         libvlc_MediaPlayerEndReached, libvlc_MediaPlayerStopped}));
    EXPECT_EQ(log_->count(libvlc_MediaPlayerTimeChanged), 0);
    EXPECT_EQ(state(), kEnded);
}

TEST_F(LibvlcContract, PlayAfterTheEndDoesNothingUntilStop) {
    ASSERT_TRUE(playUntil("garbage.mpg", libvlc_MediaPlayerStopped));

    EXPECT_EQ(libvlc_media_player_play(player_), 0);
    sleepMs(300);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerOpening), 1);
    EXPECT_EQ(state(), kEnded);

    libvlc_media_player_stop(player_);
    EXPECT_EQ(libvlc_media_player_play(player_), 0);
    EXPECT_TRUE(log_->waitFor(libvlc_MediaPlayerEndReached, 2));
    EXPECT_EQ(log_->count(libvlc_MediaPlayerOpening), 2);
}

TEST_F(LibvlcContract, DetachedListenerIsNotCalledAgain) {
    libvlc_event_detach(events_, libvlc_MediaPlayerStopped, &EventLog::listener, log_.get());
    // A listener that stays tells when the event has come; it goes before the test ends.
    EventLog still(player_);
    EXPECT_EQ(libvlc_event_attach(events_, libvlc_MediaPlayerStopped, &EventLog::listener, &still), 0);
    EXPECT_TRUE(load("garbage.mpg"));
    EXPECT_EQ(libvlc_media_player_play(player_), 0);
    EXPECT_TRUE(log_->waitFor(libvlc_MediaPlayerEndReached));
    EXPECT_TRUE(still.waitFor(libvlc_MediaPlayerStopped));
    libvlc_media_player_stop(player_);
    libvlc_event_detach(events_, libvlc_MediaPlayerStopped, &EventLog::listener, &still);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerStopped), 0);
    EXPECT_EQ(log_->count(libvlc_MediaPlayerEndReached), 1) << "the other listeners stay";
}

TEST_F(LibvlcContract, ReleaseWhilePlayingEndsQuietly) {
    ASSERT_TRUE(playUntil("long.mpg"));
    libvlc_media_player_release(player_);
    player_ = nullptr;
    EXPECT_EQ(log_->count(libvlc_MediaPlayerStopped), 0) << "release ends the input without a stopped event";
    const int before = log_->total();
    sleepMs(400);
    EXPECT_EQ(log_->total(), before) << "nothing after release returned";
}

}  // namespace
}  // namespace contract
