// What the library tells of a film's audio and subtitle tracks, chapters and delays and how it takes a
// choice, a subtitle file, a rate and the marquee: the player's Audio, Subtitles, Chapters and Speed
// choices, its delays and its on-screen text rest on these answers. The film (scripts/make-clips.sh) has
// a video, two audio and two subtitle tracks; the chapters clip three chapters.
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
const char* const kChapters = "chapters/chapters.mkv";

// What a row of the choices chooses.
enum class Choice { Audio, Subtitles, SubtitleDelay, AudioDelay, Chapter };

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
    // "subtitles -100000, sound 0", in microseconds.
    std::string delays() {
        return "subtitles " + std::to_string(libvlc_video_get_spu_delay(player_)) + ", sound " +
               std::to_string(libvlc_audio_get_delay(player_));
    }
    // "0 ' Opening', 4000 ' The Road'; current 1"; "-1; current 0" when the library lists none.
    std::string chapters() {
        libvlc_chapter_description_t** list = nullptr;
        const int count = libvlc_media_player_get_full_chapter_descriptions(player_, -1, &list);
        std::string text = count < 0 ? "-1" : "";
        for (int i = 0; i < count; ++i) {
            text += (i == 0 ? "" : ", ") + std::to_string(list[i]->i_time_offset) + " '" + list[i]->psz_name +
                    "'";
        }
        if (count > 0) {
            libvlc_chapter_descriptions_release(list, static_cast<unsigned>(count));
        }
        return text + "; current " + std::to_string(libvlc_media_player_get_chapter(player_));
    }
    // The library's answer to the choice (0 for a chapter, which has none), and what it reads back.
    int choose(Choice choice, int value) {
        switch (choice) {
            case Choice::Audio:
                return libvlc_audio_set_track(player_, value);
            case Choice::Subtitles:
                return libvlc_video_set_spu(player_, value);
            case Choice::SubtitleDelay:
                return libvlc_video_set_spu_delay(player_, value);
            case Choice::AudioDelay:
                return libvlc_audio_set_delay(player_, value);
            case Choice::Chapter:
                libvlc_media_player_set_chapter(player_, value);
                return 0;
        }
        return -1;
    }
    std::string readBack(Choice choice) {
        return choice == Choice::Audio       ? audio()
               : choice == Choice::Subtitles ? subtitles()
               : choice == Choice::Chapter   ? chapters()
                                             : delays();
    }
    // Plays another clip in place of the one that plays, until its first time report.
    bool playNext(const char* clip) {
        const int playing = log_->count(libvlc_MediaPlayerPlaying);
        return load(clip) && libvlc_media_player_play(player_) == 0 &&
               log_->waitFor(libvlc_MediaPlayerPlaying, playing + 1) &&
               log_->waitFor(libvlc_MediaPlayerTimeChanged, log_->count(libvlc_MediaPlayerTimeChanged) + 1);
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
    EXPECT_EQ(libvlc_video_set_spu_delay(player_, 100000), -1);
    EXPECT_EQ(libvlc_audio_set_delay(player_, 100000), -1);

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
    EXPECT_EQ(delays(), "subtitles 0, sound 0");
}

// Each row chooses in the clip it names (the film's choices are told of before the next clip plays): the
// choice reads back at once, and delays go with the clip.
TEST_F(FilmContract, AChoiceReadsBackAtOnceAndIsToldOfByTheLibrary) {
    const struct {
        const char* clip;
        Choice choice;
        int value;
        int result;
        const char* after;
    } choices[] = {
        {kFilm, Choice::Audio, 2, 0, "-1 Disable, 1 Low tone - [English], 2 Track 2 - [French]; current 2"},
        {kFilm, Choice::Audio, 3, -1, "-1 Disable, 1 Low tone - [English], 2 Track 2 - [French]; current 2"},
        {kFilm, Choice::Subtitles, -1, 0,
         "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German]; current -1"},
        {kFilm, Choice::Subtitles, 4, 0,
         "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German]; current 4"},
        {kFilm, Choice::Subtitles, 1, -1,
         "-1 Disable, 3 Track 1 - [English], 4 Signs and songs - [German]; current 4"},
        {kFilm, Choice::SubtitleDelay, -100000, 0, "subtitles -100000, sound 0"},
        {kFilm, Choice::AudioDelay, 100000, 0, "subtitles -100000, sound 100000"},
        {kChapters, Choice::SubtitleDelay, 300000, 0, "subtitles 300000, sound 0"},
        {kChapters, Choice::Chapter, 2, 0, "0 ' Opening', 4000 ' The Road', 8000 ' The Storm'; current 2"},
    };
    const char* playing = nullptr;
    for (const auto& c : choices) {
        if (c.clip != playing) {
            if (playing == kFilm) {
                EXPECT_TRUE(selected(libvlc_track_audio, 2));
                EXPECT_TRUE(selected(libvlc_track_text, 4));
            }
            ASSERT_TRUE(playing == nullptr ? playUntil(c.clip) : playNext(c.clip)) << c.clip;
            playing = c.clip;
        }
        EXPECT_EQ(choose(c.choice, c.value), c.result) << c.value;
        EXPECT_EQ(readBack(c.choice), c.after) << c.value;
    }
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
