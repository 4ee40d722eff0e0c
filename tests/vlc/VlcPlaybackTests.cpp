// The libvlc backend against the real library, playing the generated clips headless.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/TempFolder.h"
#include "vlc/VlcTestSupport.h"

namespace {

using namespace vlctest;
namespace fs = std::filesystem;

class VlcPlayback : public ::testing::Test {
protected:
    void SetUp() override { start(headlessArguments()); }

    void start(std::vector<std::string> arguments) {
        ASSERT_FALSE(testclips::unixDir().empty()) << "VELMORA_CLIP_DIR is not set";
        player.reset();
        EventRecorder::instance().clear();
        player = std::make_unique<ProbePlayer>(std::move(arguments));
        ASSERT_TRUE(player->init(0));
        player->setEventSink(&EventRecorder::record);
    }

    void TearDown() override {
        if (player) {
            player->release();
        }
        player.reset();
    }

    // The deadlines are generous: waits end as soon as the condition holds, and a loaded machine is slow.
    bool reaches(int state, std::chrono::milliseconds limit = 10s) {
        return waitUntil([&] { return player->getState() == state; }, limit);
    }

    // Plays the clip until the library reports playing.
    void playUntilPlaying(const std::string& name) {
        ASSERT_TRUE(player->open(clip(name).c_str()));
        player->play();
        ASSERT_TRUE(reaches(StatePlaying)) << name << " never started; state " << player->getState();
    }

    int heldMedia() {
        return callLog().count("libvlc_media_new_path") - callLog().count("libvlc_media_release");
    }

    ApiScope scope{countingApi()};
    std::unique_ptr<ProbePlayer> player;
};

TEST_F(VlcPlayback, PlaysAClipToItsEndWithTheAttachedEvents) {
    EXPECT_EQ(player->playerType(), PlayerVlc);
    EXPECT_FALSE(player->versionText().empty());
    playUntilPlaying("short.mpg");
    EXPECT_TRUE(player->isPlaying());
    // The tracks become known a little after the playing state, later still on a loaded machine.
    EXPECT_TRUE(waitUntil([&] { return player->hasVideo(); }, 10s));

    ASSERT_TRUE(reaches(StateEnded, 15s)) << "state " << player->getState();
    EXPECT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerEndReached, 10s));
    EXPECT_TRUE(EventRecorder::instance().seen(libvlc_MediaPlayerPlaying));
    EXPECT_TRUE(EventRecorder::instance().seen(libvlc_MediaPlayerTimeChanged));
    EXPECT_FALSE(player->isPlaying());
    std::int64_t length = player->getLength();
    EXPECT_GT(length, 1500);
    EXPECT_LT(length, 2500);
}

TEST_F(VlcPlayback, AnAudioOnlyClipHasNoVideo) {
    playUntilPlaying("audio.mpg");
    // Right after the playing state no track is known for any clip: ask once time is reported.
    ASSERT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerTimeChanged, 10s));
    EXPECT_FALSE(player->hasVideo());
}

TEST_F(VlcPlayback, PausesAndResumes) {
    playUntilPlaying("long.mpg");
    player->pause();
    ASSERT_TRUE(reaches(StatePaused, 10s)) << "state " << player->getState();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerPaused, 10s));

    // A time report already on its way when the pause lands may still come in (the clip's first one, when
    // it is paused at once): after that the time must stand still. Running, it moves in 300 ms.
    std::int64_t pausedAt = player->getTime();
    const auto standsStill = [&] {
        std::this_thread::sleep_for(300ms);
        const std::int64_t now = player->getTime();
        const bool still = now == pausedAt;
        pausedAt = now;
        return still;
    };
    EXPECT_TRUE(waitUntil(standsStill, 2s)) << "time runs on while paused, now " << pausedAt;

    player->play();
    ASSERT_TRUE(reaches(StatePlaying, 10s)) << "state " << player->getState();
    EXPECT_TRUE(player->isPlaying());
}

TEST_F(VlcPlayback, StopForgetsTheLengthAndAsksTheLibraryAgain) {
    playUntilPlaying("long.mpg");
    ASSERT_TRUE(waitUntil([&] { return player->getLength() > 0; }, 10s));
    EXPECT_GT(player->cached(), 10000);

    player->stop();
    EXPECT_EQ(player->cached(), 0);
    EXPECT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerStopped, 10s));
    EXPECT_FALSE(player->isPlaying());

    int asked = callLog().count("libvlc_media_player_get_length");
    EXPECT_LE(player->getLength(), 0) << "a stopped player has no length";
    EXPECT_LE(player->getLength(), 0);
    EXPECT_EQ(callLog().count("libvlc_media_player_get_length"), asked + 2);
}

TEST_F(VlcPlayback, KeepsAKnownLengthWithoutAskingTheLibrary) {
    ASSERT_TRUE(player->open(clip("long.mpg").c_str()));
    // Not playing yet: the library doesn't know the length, so every call asks again.
    int asked = callLog().count("libvlc_media_player_get_length");
    EXPECT_LE(player->getLength(), 0);
    EXPECT_LE(player->getLength(), 0);
    EXPECT_EQ(callLog().count("libvlc_media_player_get_length"), asked + 2);

    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->getLength() > 0; }, 10s));
    std::int64_t length = player->getLength();
    asked = callLog().count("libvlc_media_player_get_length");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(player->getLength(), length);
    }
    EXPECT_EQ(callLog().count("libvlc_media_player_get_length"), asked);
}

TEST_F(VlcPlayback, SeeksToTheRequestedTime) {
    playUntilPlaying("long.mpg");
    ASSERT_TRUE(waitUntil([&] { return player->getTime() > 0; }, 10s));
    player->setTime(8000);
    EXPECT_TRUE(waitUntil(
        [&] {
            std::int64_t now = player->getTime();
            return now >= 7500 && now < 11000;
        },
        10s))
        << "time after seeking: " << player->getTime();
}

TEST_F(VlcPlayback, VolumeAndMuteRoundTripWhilePlaying) {
    start(silentAudioArguments());
    playUntilPlaying("long.mpg");
    // On a loaded machine the library may restart its audio output, which brings back the volume and
    // mute it started with; so each round trip is retried within a bounded wait.
    ASSERT_TRUE(waitUntil([&] { return player->getVolume() >= 0; }, 10s)) << "no audio output";
    for (int volume : {40, 100, 0, 75}) {
        EXPECT_TRUE(
            waitUntil([&] { return player->setVolume(volume) && player->getVolume() == volume; }, 10s))
            << "volume " << volume << " read back as " << player->getVolume();
    }

    const bool before = player->isMute();
    auto toggleUntil = [&](bool wanted) {
        return waitUntil(
            [&] {
                if (player->isMute() != wanted) {
                    player->toggleMute();
                }
                return player->isMute() == wanted;
            },
            10s);
    };
    EXPECT_TRUE(toggleUntil(!before)) << "toggleMute didn't change the mute";
    EXPECT_TRUE(toggleUntil(before)) << "toggleMute didn't bring the mute back";

    // Without a running media the library has no audio output to set.
    player->stop();
    EXPECT_EQ(player->getVolume(), -1);
    EXPECT_FALSE(player->setVolume(50));
}

struct UnplayableCase {
    const char* clip;
    bool startsPlaying;  // the library takes random bytes for a stream and gives up at once
};

class VlcUnplayable : public VlcPlayback, public ::testing::WithParamInterface<UnplayableCase> {};

TEST_P(VlcUnplayable, OpensAndThenEnds) {
    const UnplayableCase& c = GetParam();
    ASSERT_TRUE(player->open(clip(c.clip).c_str())) << "the library makes a media of any path";
    player->play();
    EXPECT_TRUE(reaches(StateEnded, 10s)) << "state " << player->getState();
    EXPECT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerStopped, 10s));
    EXPECT_EQ(EventRecorder::instance().seen(libvlc_MediaPlayerPlaying), c.startsPlaying);
    EXPECT_FALSE(player->isPlaying());
}

INSTANTIATE_TEST_SUITE_P(Files, VlcUnplayable,
                         ::testing::Values(UnplayableCase{"no-such-clip.mpg", false},
                                           UnplayableCase{"empty.mpg", false},
                                           UnplayableCase{"garbage.mpg", true}));

TEST_F(VlcPlayback, HoldsOneMediaAtATimeOverASequenceOfOpens) {
    for (const char* name : {"folder/a.mpg", "folder/b.mpg", "folder/c.mpg", "folder/a.mpg"}) {
        ASSERT_TRUE(player->open(clip(name).c_str())) << name;
        EXPECT_EQ(heldMedia(), 1) << "after opening " << name;
    }
    player->play();
    EXPECT_TRUE(reaches(StatePlaying)) << "the last media opened is the one that plays";
    player->release();
    EXPECT_EQ(heldMedia(), 0);
}

TEST_F(VlcPlayback, OpeningWhilePlayingStopsFirst) {
    playUntilPlaying("long.mpg");
    ASSERT_TRUE(waitUntil([&] { return player->getLength() > 0; }, 10s));
    int stops = callLog().count("libvlc_media_player_stop");

    ASSERT_TRUE(player->open(clip("short.mpg").c_str()));
    EXPECT_EQ(callLog().count("libvlc_media_player_stop"), stops + 1);
    EXPECT_EQ(player->cached(), 0) << "the old length must not outlive its file";
    EXPECT_EQ(heldMedia(), 1);

    player->play();
    ASSERT_TRUE(reaches(StatePlaying));
    ASSERT_TRUE(waitUntil([&] { return player->getLength() > 0; }, 10s));
    EXPECT_LT(player->getLength(), 2500);
}

TEST_F(VlcPlayback, OpeningWhilePausedDoesNotStop) {
    playUntilPlaying("long.mpg");
    player->pause();
    ASSERT_TRUE(reaches(StatePaused, 10s));
    int stops = callLog().count("libvlc_media_player_stop");
    ASSERT_TRUE(player->open(clip("short.mpg").c_str()));
    EXPECT_EQ(callLog().count("libvlc_media_player_stop"), stops);
}

TEST_F(VlcPlayback, PlaysANonAsciiPathLongerThanTheOldBuffer) {
    const TempFolder temp;
    ASSERT_FALSE(temp.path().empty());
    // Two folders of 80 three-byte characters (a folder name holds at most 255 bytes): far past
    // 259 UTF-8 bytes, yet within the 259 wide characters the callers' buffers allow.
    std::wstring folderName;
    std::string folderUtf8;
    for (int i = 0; i < 20; ++i) {
        folderName += L"日本語の";
        folderUtf8 += "日本語の";
    }
    std::wstring wide = widen(temp.path()) + folderName + L"/" + folderName;
    std::string utf8 = temp.path() + folderUtf8 + "/" + folderUtf8;
    ASSERT_TRUE(fs::create_directories(utf8));
    wide += L"/clip-äöü-日本.mpg";
    utf8 += "/clip-äöü-日本.mpg";
    ASSERT_LT(wide.size(), 259u);
    ASSERT_GT(utf8.size(), 400u);
    fs::copy_file(testclips::path("short.mpg"), utf8);

    ASSERT_TRUE(player->open(wide.c_str()));
    {
        std::lock_guard<std::mutex> lock(callLog().mutex);
        EXPECT_EQ(callLog().lastPath, utf8) << "the library must get the whole path";
    }
    player->play();
    EXPECT_TRUE(reaches(StatePlaying)) << "state " << player->getState();
}

// The film's tracks as the library lists them, "Disable" left out, and the choices read back.
TEST_F(VlcPlayback, ListsAndChoosesTheTracksOfAFilm) {
    playUntilPlaying("tracks/film.mkv");
    ASSERT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerTimeChanged, 10s));
    EXPECT_EQ(player->audioTracks(),
              (std::vector<MediaTrack>{{1, L"Low tone - [English]"}, {2, L"Track 2 - [French]"}}));
    EXPECT_EQ(player->currentAudioTrack(), 1);
    EXPECT_EQ(player->subtitleTracks(),
              (std::vector<MediaTrack>{{3, L"Track 1 - [English]"}, {4, L"Signs and songs - [German]"}}));
    EXPECT_EQ(player->currentSubtitleTrack(), 3) << "the file's default";

    const struct {
        bool audio;
        int id;
        bool accepted;
        int current;
    } choices[] = {{true, 2, true, 2},         {true, 3, false, 2},
                   {true, kNoTrack, false, 2}, {false, kNoTrack, true, kNoTrack},
                   {false, 4, true, 4},        {false, 2, false, 4}};
    for (const auto& c : choices) {
        EXPECT_EQ(c.audio ? player->setAudioTrack(c.id) : player->setSubtitleTrack(c.id), c.accepted) << c.id;
        EXPECT_EQ(c.audio ? player->currentAudioTrack() : player->currentSubtitleTrack(), c.current) << c.id;
    }
}

// A file from a folder whose name an address can't hold as it is: the library finds it, and its track
// comes last and shows.
TEST_F(VlcPlayback, AddsASubtitleFileFromAFolderOfAnyName) {
    playUntilPlaying("tracks/film.mkv");
    ASSERT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerTimeChanged, 10s));
    ASSERT_TRUE(player->setSubtitleTrack(kNoTrack));
    ASSERT_TRUE(player->addSubtitleFile(clip("tracks/внешние субтитры 100% #1/extra.srt").c_str()));
    {
        std::lock_guard<std::mutex> lock(callLog().mutex);
        EXPECT_NE(callLog().lastSlave.find("/tracks/"
                                           "%D0%B2%D0%BD%D0%B5%D1%88%D0%BD%D0%B8%D0%B5%20%D1%81%D1%83%D0%B1%"
                                           "D1%82%D0%B8%D1%82%D1%80%D1%8B"
                                           "%20100%25%20%231/extra.srt"),
                  std::string::npos)
            << callLog().lastSlave;
    }
    EXPECT_TRUE(waitUntil([&] { return player->subtitleTracks().size() == 3; }, 10s));
    EXPECT_TRUE(waitUntil([&] { return player->currentSubtitleTrack() == 5; }, 10s));
    const std::vector<MediaTrack> tracks = player->subtitleTracks();
    ASSERT_FALSE(tracks.empty());
    EXPECT_EQ(tracks.back(), (MediaTrack{5, L"Track 3"}));
}

TEST_F(VlcPlayback, TheRateStaysWithThePlayerFromFileToFile) {
    EXPECT_EQ(player->getRate(), 1.0f);
    EXPECT_TRUE(player->setRate(1.5f)) << "before any file";
    playUntilPlaying("short.mpg");
    EXPECT_EQ(player->getRate(), 1.5f);
    EXPECT_TRUE(player->setRate(0.5f));
    player->stop();
    ASSERT_TRUE(player->open(clip("long.mpg").c_str()));
    EXPECT_EQ(player->getRate(), 0.5f);
}

// The chapters by the names the file gives them (without the library's leading blank), only a listed one
// chosen (the library would take any number), and the delays in milliseconds.
TEST_F(VlcPlayback, ChoosesListedChaptersAndSetsDelaysInMilliseconds) {
    playUntilPlaying("chapters/chapters.mkv");
    ASSERT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerTimeChanged, 10s));
    EXPECT_EQ(player->chapters(),
              (std::vector<MediaChapter>{{0, L"Opening"}, {4000, L"The Road"}, {8000, L"The Storm"}}));
    for (int index : {3, -1, 1}) {
        EXPECT_EQ(player->setChapter(index), index == 1) << index;
    }
    EXPECT_EQ(player->currentChapter(), 1);
    EXPECT_TRUE(player->setSubtitleDelay(-300));
    EXPECT_TRUE(player->setAudioDelay(100));
    EXPECT_EQ(player->subtitleDelay(), -300);
    EXPECT_EQ(player->audioDelay(), 100);
    player->stop();
    EXPECT_TRUE(player->chapters().empty());
    EXPECT_EQ(player->currentChapter(), -1);
}

// An older library, without any of the entries for tracks, subtitle files, rate and on-screen text,
// plays as before, and the player offers none of those.
TEST(VlcWithoutOptionalEntries, PlaysAsBefore) {
    const VlcApi table = countingApiWithout();
    ApiScope scope(&table);
    EventRecorder::instance().clear();
    ProbePlayer player(headlessArguments());
    ASSERT_TRUE(player.init(0));
    ASSERT_TRUE(player.setEventSink(&EventRecorder::record));
    ASSERT_TRUE(player.open(clip("tracks/film.mkv").c_str()));
    player.play();
    ASSERT_TRUE(EventRecorder::instance().waitFor(libvlc_MediaPlayerTimeChanged, 10s));
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(player.hasVideo());
    EXPECT_TRUE(waitUntil([&] { return player.getLength() > 19000; }, 10s));
    EXPECT_EQ(player.features(), 0u);
    EXPECT_TRUE(player.audioTracks().empty());
    EXPECT_TRUE(player.subtitleTracks().empty());
    EXPECT_EQ(player.currentSubtitleTrack(), kNoTrack);
    EXPECT_FALSE(player.setRate(2.0f));
    EXPECT_EQ(player.getRate(), 1.0f);
    player.setTime(5000);
    EXPECT_TRUE(waitUntil([&] { return player.getTime() >= 4500; }, 10s)) << player.getTime();
    player.stop();
}

}  // namespace
