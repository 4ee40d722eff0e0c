// What the library tells of a film's audio and subtitle tracks and how it takes a choice, a subtitle
// file, a rate and the marquee: the player's Audio, Subtitles and Speed choices and its on-screen text
// rest on these answers. The film (scripts/make-clips.sh) has a video, two audio and two subtitle tracks.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "common/ClockRate.h"
#include "contract/ContractFixture.h"
#include "playback/FileUrl.h"
#include "playback/VlcPlatform.h"

namespace contract {
namespace {

using Streams = std::vector<std::pair<int, int>>;  // type, id

const char* const kFilm = "tracks/film.mkv";
const char* const kSubtitleFile = "tracks/внешние субтитры 100% #1/extra.srt";

// A track list as one line, with the chosen id: "-1 Disable, 1 Low tone - [English]; current 1". The
// list is given back.
std::string listed(libvlc_track_description_t* list, int current) {
    std::string text;
    for (const libvlc_track_description_t* d = list; d != nullptr; d = d->p_next) {
        text += (text.empty() ? "" : ", ") + std::to_string(d->i_id) + " " + d->psz_name;
    }
    libvlc_track_description_list_release(list);
    return text + "; current " + std::to_string(current);
}

// The address the player hands the library for a clip, made by the player's own code.
std::string fileUrl(const std::string& clip) {
#ifdef _WIN32
    const std::wstring path = testclips::path(clip);
#else
    const std::wstring path = textFromUtf8(testclips::path(clip).c_str());
#endif
    std::string url;
    EXPECT_TRUE(fileUrlOfPath(path.c_str(), url)) << clip;
    return url;
}

class FilmContract : public LibvlcContract {
protected:
    void SetUp() override {
        LibvlcContract::SetUp();
        for (libvlc_event_type_t type : {libvlc_MediaPlayerESAdded, libvlc_MediaPlayerESSelected}) {
            ASSERT_EQ(libvlc_event_attach(events_, type, &EventLog::listener, log_.get()), 0);
        }
    }

    std::string audio() {
        return listed(libvlc_audio_get_track_description(player_), libvlc_audio_get_track(player_));
    }
    std::string subtitles() {
        return listed(libvlc_video_get_spu_description(player_), libvlc_video_get_spu(player_));
    }

    // The streams of the events of that type so far, in order.
    Streams streams(libvlc_event_type_t type) {
        Streams found;
        for (const Recorded& r : log_->of(type)) {
            found.emplace_back(r.esType, r.esId);
        }
        return found;
    }

    // Waits for the library to tell that the stream is selected.
    bool selected(int type, int id) {
        const std::pair<int, int> stream(type, id);
        return testwait::waitUntil(
            [&] {
                const Streams all = streams(libvlc_MediaPlayerESSelected);
                return std::find(all.begin(), all.end(), stream) != all.end();
            },
            std::chrono::seconds(5));
    }
};

TEST_F(FilmContract, TracksAreKnownOnlyWhileTheFilmPlays) {
    ASSERT_TRUE(load(kFilm));
    EXPECT_EQ(audio(), "; current -1");
    EXPECT_EQ(subtitles(), "; current -1");
    EXPECT_EQ(libvlc_audio_set_track(player_, 1), -1) << "no input to choose in";
    EXPECT_EQ(libvlc_video_set_spu(player_, 3), -1);

    ASSERT_TRUE(playUntil(kFilm));
    EXPECT_EQ(audio(), "-1 Disable, 1 Low tone - [English], 2 Track 2 - [French]; current 1");
    EXPECT_EQ(subtitles(), "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German]; current 3")
        << "the file's default subtitles show";
    EXPECT_EQ(streams(libvlc_MediaPlayerESAdded), (Streams{{libvlc_track_video, 0},
                                                           {libvlc_track_audio, 1},
                                                           {libvlc_track_audio, 2},
                                                           {libvlc_track_text, 3},
                                                           {libvlc_track_text, 4}}))
        << "ids count the streams in file order";

    libvlc_media_player_stop(player_);
    EXPECT_EQ(audio(), "; current -1");
    EXPECT_EQ(subtitles(), "; current -1");
}

TEST_F(FilmContract, AChoiceReadsBackAtOnceAndIsToldOfByTheLibrary) {
    ASSERT_TRUE(playUntil(kFilm));
    const struct {
        bool audio;
        int id;
        int result;
        const char* after;
    } choices[] = {
        {true, 2, 0, "-1 Disable, 1 Low tone - [English], 2 Track 2 - [French]; current 2"},
        {true, 3, -1, "-1 Disable, 1 Low tone - [English], 2 Track 2 - [French]; current 2"},
        {false, -1, 0, "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German]; current -1"},
        {false, 4, 0, "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German]; current 4"},
        {false, 1, -1, "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German]; current 4"},
    };
    for (const auto& c : choices) {
        EXPECT_EQ(c.audio ? libvlc_audio_set_track(player_, c.id) : libvlc_video_set_spu(player_, c.id),
                  c.result)
            << c.id;
        EXPECT_EQ(c.audio ? audio() : subtitles(), c.after) << c.id;
    }
    EXPECT_TRUE(selected(libvlc_track_audio, 2));
    EXPECT_TRUE(selected(libvlc_track_text, 4));
}

TEST_F(FilmContract, AnAddedSubtitleFileBecomesTheLastTrackAndTheCurrentOne) {
    ASSERT_TRUE(playUntil(kFilm));
    ASSERT_EQ(libvlc_video_set_spu(player_, -1), 0);
    ASSERT_EQ(libvlc_media_player_add_slave(player_, libvlc_media_slave_type_subtitle,
                                            fileUrl(kSubtitleFile).c_str(), true),
              0);
    ASSERT_TRUE(selected(libvlc_track_text, 5));
    EXPECT_EQ(subtitles(),
              "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German], 5 Track 3; current 5");
    const Streams added = streams(libvlc_MediaPlayerESAdded);
    EXPECT_EQ(added.back(), std::make_pair(static_cast<int>(libvlc_track_text), 5));
}

class RateContract : public LibvlcContract {
protected:
    // The second time report after now (ClockRate.h: the first may have been on its way already).
    bool reportAfter(clockrate::Report& report) {
        report.markBefore = clockrate::Clock::now();
        const std::size_t count = log_->of(libvlc_MediaPlayerTimeChanged).size();
        if (!log_->waitFor(libvlc_MediaPlayerTimeChanged, static_cast<int>(count) + 2)) {
            return false;
        }
        const Recorded second = log_->of(libvlc_MediaPlayerTimeChanged)[count + 1];
        report.time = second.newTime;
        report.arrival = second.at;
        return true;
    }
};

// Set before any media, then while playing: the library's clock runs at it, as its own time reports bound
// it (ClockRate.h), and it is kept through stop and for the next media.
TEST_F(RateContract, TheRateBelongsToThePlayerAndTheClockRunsAtIt) {
    EXPECT_FLOAT_EQ(libvlc_media_player_get_rate(player_), 1.0f);
    const struct {
        float rate;
        double above;  // the fastest the clock may have run is above this...
        double below;  // ...and the slowest below this
    } rates[] = {{2.0f, 1.5, 2.5}, {0.5f, 0.3, 0.7}};
    for (const auto& r : rates) {
        EXPECT_EQ(libvlc_media_player_set_rate(player_, r.rate), 0) << r.rate;
        EXPECT_FLOAT_EQ(libvlc_media_player_get_rate(player_), r.rate);
        if (&r == rates) {
            ASSERT_TRUE(playUntil(kFilm));
        }
        // Two reports at the new rate before measuring.
        ASSERT_TRUE(
            log_->waitFor(libvlc_MediaPlayerTimeChanged, log_->count(libvlc_MediaPlayerTimeChanged) + 2));
        clockrate::Report a;
        clockrate::Report b;
        ASSERT_TRUE(reportAfter(a));
        sleepMs(1500);
        ASSERT_TRUE(reportAfter(b));
        const clockrate::Rate clock = clockrate::between(a, b);
        std::printf("clock at rate %g: %.3f to %.3f\n", static_cast<double>(r.rate), clock.slowest,
                    clock.fastest);
        EXPECT_GT(clock.fastest, r.above) << r.rate;
        EXPECT_LT(clock.slowest, r.below) << r.rate;
    }
    libvlc_media_player_stop(player_);
    EXPECT_FLOAT_EQ(libvlc_media_player_get_rate(player_), 0.5f) << "kept through stop";
    EXPECT_TRUE(playUntil("short.mpg"));
    EXPECT_FLOAT_EQ(libvlc_media_player_get_rate(player_), 0.5f) << "and for the next media";
}

// The marquee changes nothing of playback, with a picture to draw into or without one.
TEST_F(LibvlcContract, MarqueeCallsLeavePlaybackAlone) {
    const auto showText = [this](const char* text) {
        libvlc_video_set_marquee_int(player_, libvlc_marquee_Position, 5);
        libvlc_video_set_marquee_int(player_, libvlc_marquee_Timeout, 2000);
        libvlc_video_set_marquee_string(player_, libvlc_marquee_Text, text);
        libvlc_video_set_marquee_int(player_, libvlc_marquee_Enable, 1);
    };
    showText("Before any media");
    for (const char* clip : {"long.mpg", "audio.mpg"}) {
        ASSERT_TRUE(playUntil(clip)) << clip;
        showText("Speed: 1.5\xC3\x97");
        showText("Speed: 1.5\xC3\x97");
        const int reports = log_->count(libvlc_MediaPlayerTimeChanged);
        EXPECT_TRUE(log_->waitFor(libvlc_MediaPlayerTimeChanged, reports + 2)) << clip;
        libvlc_video_set_marquee_int(player_, libvlc_marquee_Enable, 0);
        EXPECT_EQ(state(), kPlaying) << clip;
        libvlc_media_player_stop(player_);
    }
    EXPECT_EQ(log_->milestones(),
              (std::vector<libvlc_event_type_t>{libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,
                                                libvlc_MediaPlayerStopped, libvlc_MediaPlayerOpening,
                                                libvlc_MediaPlayerPlaying, libvlc_MediaPlayerStopped}));
}

}  // namespace
}  // namespace contract
