// The libvlc backend's answers when the library is missing, fails, or answers oddly; observed through a
// table that logs (and can falsify) every library call.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "vlc/VlcTestSupport.h"

namespace {

using namespace vlctest;
using Calls = std::vector<std::string>;

// How a backend came to have no media player.
enum class Lost { NeverInitialised, Released, NoInstance, NoMediaPlayer, NoLibrary };

struct LostCase {
    const char* name;
    Lost how;
};

class VlcWithoutPlayer : public ::testing::TestWithParam<LostCase> {};

TEST_P(VlcWithoutPlayer, EveryOperationAnswersNothingAndLeavesTheLibraryAlone) {
    const Lost how = GetParam().how;
    ApiScope scope(how == Lost::NoLibrary ? nullptr : countingApi());
    faults().noInstance = how == Lost::NoInstance;
    faults().noMediaPlayer = how == Lost::NoMediaPlayer;

    ProbePlayer player(headlessArguments());
    EXPECT_EQ(player.versionText().empty(), how == Lost::NoLibrary);
    if (how != Lost::NeverInitialised) {
        EXPECT_EQ(player.init(0), how == Lost::Released);
    }
    if (how == Lost::Released) {
        ASSERT_TRUE(player.open(clip("short.mpg").c_str()));
        player.release();
    }
    EXPECT_FALSE(player.hasEventManager());
    callLog().clear();

    EXPECT_FALSE(player.open(clip("short.mpg").c_str()));
    player.play();
    EXPECT_FALSE(player.isPlaying());
    player.pause();
    EXPECT_EQ(player.getTime(), 0);
    EXPECT_EQ(player.getLength(), 0);
    player.setTime(1000);
    EXPECT_EQ(player.getVolume(), 0);
    EXPECT_FALSE(player.setVolume(50));
    EXPECT_EQ(player.getState(), StateNothing);
    player.setHwnd(0);
    EXPECT_FALSE(player.isMute());
    player.toggleMute();
    EXPECT_FALSE(player.hasVideo());
    EXPECT_FALSE(player.setEventSink(&EventRecorder::record));
    EXPECT_EQ(player.playerType(), PlayerVlc);
    EXPECT_EQ(player.features(), 0u);
    EXPECT_TRUE(player.audioTracks().empty());
    EXPECT_EQ(player.currentAudioTrack(), kNoTrack);
    EXPECT_FALSE(player.setAudioTrack(1));
    EXPECT_TRUE(player.subtitleTracks().empty());
    EXPECT_EQ(player.currentSubtitleTrack(), kNoTrack);
    EXPECT_FALSE(player.setSubtitleTrack(kNoTrack));
    EXPECT_FALSE(player.addSubtitleFile(L"/tmp/x.srt"));
    EXPECT_EQ(player.getRate(), 1.0f);
    EXPECT_FALSE(player.setRate(2.0f));
    player.showText(L"Speed: 2\u00D7", 2000);

    player.seedCachedLength(5000);
    player.stop();
    EXPECT_EQ(player.cached(), 0) << "stop forgets the length even without a media player";

    EXPECT_EQ(callLog().snapshot(), Calls{});
}

INSTANTIATE_TEST_SUITE_P(Backends, VlcWithoutPlayer,
                         ::testing::Values(LostCase{"NeverInitialised", Lost::NeverInitialised},
                                           LostCase{"Released", Lost::Released},
                                           LostCase{"NoInstance", Lost::NoInstance},
                                           LostCase{"NoMediaPlayer", Lost::NoMediaPlayer},
                                           LostCase{"NoLibrary", Lost::NoLibrary}),
                         [](const ::testing::TestParamInfo<LostCase>& info) { return info.param.name; });

std::vector<std::string> releases() {
    Calls out;
    for (const std::string& call : callLog().snapshot()) {
        if (call.find("release") != std::string::npos) {
            out.push_back(call);
        }
    }
    return out;
}

struct ReleaseCase {
    const char* name;
    std::function<void()> fault;
    bool opens;
    Calls expected;
};

class VlcRelease : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(VlcRelease, GivesBackWhatExistsMediaPlayerFirst) {
    ApiScope scope(countingApi());
    const ReleaseCase& c = GetParam();
    if (c.fault) {
        c.fault();
    }
    auto player = std::make_unique<ProbePlayer>(headlessArguments());
    bool initialised = player->init(0);
    EXPECT_EQ(initialised, !c.fault);
    if (c.opens) {
        ASSERT_TRUE(player->open(clip("short.mpg").c_str()));
    }
    callLog().clear();
    player->release();
    EXPECT_EQ(releases(), c.expected);

    callLog().clear();
    player->release();
    player.reset();
    EXPECT_EQ(callLog().snapshot(), Calls{}) << "a second release and the destructor have nothing left";
}

INSTANTIATE_TEST_SUITE_P(
    Backends, VlcRelease,
    ::testing::Values(
        ReleaseCase{"Loaded",
                    nullptr,
                    true,
                    {"libvlc_media_player_release", "libvlc_media_release", "libvlc_release"}},
        ReleaseCase{"Initialised", nullptr, false, {"libvlc_media_player_release", "libvlc_release"}},
        ReleaseCase{"NoEventManager",
                    [] { faults().noEventManager = true; },
                    false,
                    {"libvlc_media_player_release", "libvlc_release"}},
        ReleaseCase{"NoMediaPlayer", [] { faults().noMediaPlayer = true; }, false, {"libvlc_release"}}),
    [](const ::testing::TestParamInfo<ReleaseCase>& info) { return info.param.name; });

TEST(VlcDestructor, GivesBackEverythingInOrder) {
    ApiScope scope(countingApi());
    {
        ProbePlayer player(headlessArguments());
        ASSERT_TRUE(player.init(0));
        ASSERT_TRUE(player.open(clip("short.mpg").c_str()));
        callLog().clear();
    }
    EXPECT_EQ(releases(), (Calls{"libvlc_media_player_release", "libvlc_media_release", "libvlc_release"}));
}

TEST(VlcInit, StartsTheLibraryWithTheFixedArgumentsFirst) {
    ApiScope scope(countingApi());
    ProbePlayer player({"--aout=dummy", "--vout=dummy"});
    ASSERT_TRUE(player.init(0));
    std::lock_guard<std::mutex> lock(callLog().mutex);
    EXPECT_EQ(callLog().newArguments, (Calls{"--no-video-title-show", "--no-keyboard-events",
                                             "--no-mouse-events", "--aout=dummy", "--vout=dummy"}));
}

TEST(VlcInit, TurnsOffTheLibrarysKeyAndMouseHandling) {
    ApiScope scope(countingApi());
    ProbePlayer player(headlessArguments());
    ASSERT_TRUE(player.init(0));
    std::lock_guard<std::mutex> lock(callLog().mutex);
    EXPECT_EQ(callLog().inputSwitches, (Calls{"key 0", "mouse 0"}));
}

TEST(VlcInit, ASecondInitKeepsTheFirstLibraryObjects) {
    ApiScope scope(countingApi());
    ProbePlayer player(headlessArguments());
    ASSERT_TRUE(player.init(0));
    EXPECT_TRUE(player.init(0));
    EXPECT_EQ(callLog().count("libvlc_new"), 1);
    EXPECT_EQ(callLog().count("libvlc_media_player_new"), 1);
}

TEST(VlcEvents, AttachesTheFiveEventsInOrder) {
    ApiScope scope(countingApi());
    ProbePlayer player(headlessArguments());
    ASSERT_TRUE(player.init(0));
    player.setEventSink(&EventRecorder::record);
    std::lock_guard<std::mutex> lock(callLog().mutex);
    EXPECT_EQ(
        callLog().attachedEvents,
        (std::vector<int>{libvlc_MediaPlayerTimeChanged, libvlc_MediaPlayerPlaying, libvlc_MediaPlayerPaused,
                          libvlc_MediaPlayerStopped, libvlc_MediaPlayerEndReached}));
}

TEST(VlcEvents, AttachesNothingWithoutASinkAndOnlyOnce) {
    ApiScope scope(countingApi());
    ProbePlayer player(headlessArguments());
    ASSERT_TRUE(player.init(0));
    EXPECT_FALSE(player.setEventSink(nullptr));
    EXPECT_EQ(callLog().count("libvlc_event_attach"), 0);
    EXPECT_TRUE(player.setEventSink(&EventRecorder::record));
    EXPECT_FALSE(player.setEventSink(&EventRecorder::record));
    EXPECT_EQ(callLog().count("libvlc_event_attach"), 5);
}

constexpr unsigned kAllFeatures =
    FeatureAudioTracks | FeatureSubtitleTracks | FeatureSubtitleFiles | FeatureRate | FeatureOnScreenText;

struct TrimmedCase {
    const char* name;
    void (*remove)(VlcApi&);
    unsigned features;
};

class VlcTrimmedLibrary : public ::testing::TestWithParam<TrimmedCase> {};

// A library without an entry lacks what needs it: the player neither offers it nor calls the missing
// entry (which would crash), and answers as if there were nothing to choose.
TEST_P(VlcTrimmedLibrary, GoesWithoutTheFeaturesOfMissingEntries) {
    const VlcApi table = countingApiWithout(GetParam().remove);
    ApiScope scope(&table);
    ProbePlayer player(headlessArguments());
    EXPECT_EQ(player.features(), 0u) << "nothing before init";
    ASSERT_TRUE(player.init(0));
    EXPECT_EQ(player.features(), GetParam().features);

    ASSERT_TRUE(player.open(clip("tracks/film.mkv").c_str()));
    player.audioTracks();
    player.setAudioTrack(1);
    player.currentAudioTrack();
    player.subtitleTracks();
    player.setSubtitleTrack(kNoTrack);
    player.currentSubtitleTrack();
    player.addSubtitleFile(clip("tracks/film.mkv").c_str());
    player.setRate(1.0f);
    const float rate = player.getRate();
    player.showText(L"Audio: Track 2", 2000);
    EXPECT_EQ(rate, 1.0f);
    if ((GetParam().features & FeatureRate) == 0) {
        EXPECT_FALSE(player.setRate(2.0f));
    }
}

// A row without that entry: it takes the features `lost` with it.
#define WITHOUT(entry, lost) \
    (TrimmedCase{#entry, [](VlcApi& t) { t.entry = nullptr; }, kAllFeatures & ~(lost)})

INSTANTIATE_TEST_SUITE_P(Entries, VlcTrimmedLibrary,
                         ::testing::Values(TrimmedCase{"AllThere", [](VlcApi&) {}, kAllFeatures},
                                           TrimmedCase{"NoneOfTheOptional", nullptr, 0},
                                           WITHOUT(libvlc_track_description_list_release,
                                                   FeatureAudioTracks | FeatureSubtitleTracks),
                                           WITHOUT(libvlc_audio_get_track_description, FeatureAudioTracks),
                                           WITHOUT(libvlc_audio_get_track, FeatureAudioTracks),
                                           WITHOUT(libvlc_audio_set_track, FeatureAudioTracks),
                                           WITHOUT(libvlc_video_get_spu_description, FeatureSubtitleTracks),
                                           WITHOUT(libvlc_video_get_spu, FeatureSubtitleTracks),
                                           WITHOUT(libvlc_video_set_spu, FeatureSubtitleTracks),
                                           WITHOUT(libvlc_media_player_add_slave, FeatureSubtitleFiles),
                                           WITHOUT(libvlc_media_player_get_rate, FeatureRate),
                                           WITHOUT(libvlc_media_player_set_rate, FeatureRate),
                                           WITHOUT(libvlc_video_set_marquee_int, FeatureOnScreenText),
                                           WITHOUT(libvlc_video_set_marquee_string, FeatureOnScreenText),
                                           WITHOUT(libvlc_video_get_size, 0u)),
                         [](const ::testing::TestParamInfo<TrimmedCase>& info) { return info.param.name; });

// Library answers the real library never gives on cue, forced through the table.
class VlcForcedAnswers : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(player.init(0)); }
    ApiScope scope{countingApi()};
    ProbePlayer player{headlessArguments()};
};

TEST_F(VlcForcedAnswers, HasVideoForAnyNonZeroTrackCount) {
    const struct {
        int tracks;
        bool video;
    } cases[] = {{-1, true}, {0, false}, {1, true}, {2, true}};
    for (const auto& c : cases) {
        faults().trackCount = c.tracks;
        EXPECT_EQ(player.hasVideo(), c.video) << "track count " << c.tracks;
    }
}

TEST_F(VlcForcedAnswers, SetVolumeIsTrueOnlyWhenTheLibraryAccepts) {
    const struct {
        int result;
        bool accepted;
    } cases[] = {{0, true}, {-1, false}, {1, false}};
    for (const auto& c : cases) {
        faults().setVolumeResult = c.result;
        EXPECT_EQ(player.setVolume(60), c.accepted) << "library result " << c.result;
    }
}

TEST_F(VlcForcedAnswers, OpenFailsWhenTheLibraryGivesNoMedia) {
    ASSERT_TRUE(player.open(clip("short.mpg").c_str()));
    faults().noMedia = true;
    EXPECT_FALSE(player.open(clip("long.mpg").c_str()));
    EXPECT_EQ(callLog().count("libvlc_media_release"), 1) << "the earlier media must not be kept";
    player.release();
    EXPECT_EQ(callLog().count("libvlc_media_release"), 1) << "nothing left to give back";
}

TEST_F(VlcForcedAnswers, RefusesPathsThatAreNotText) {
    ASSERT_TRUE(player.open(clip("short.mpg").c_str()));
    const wchar_t loneSurrogate[] = {L'/', L't', L'm', L'p', L'/', static_cast<wchar_t>(0xD800),
                                     L'.', L'm', L'p', L'g', 0};
    const wchar_t beyondUnicode[] = {L'/', static_cast<wchar_t>(0x110000), 0};
    for (const wchar_t* path : {static_cast<const wchar_t*>(nullptr), &loneSurrogate[0], &beyondUnicode[0]}) {
        EXPECT_FALSE(player.open(path));
    }
    EXPECT_EQ(callLog().count("libvlc_media_new_path"), 1)
        << "nothing but the first path reached the library";
    EXPECT_EQ(callLog().count("libvlc_media_release"), 0) << "the loaded media stays";
}

TEST_F(VlcForcedAnswers, SetsOnlyRatesTheLibraryPlays) {
    const struct {
        float rate;
        bool accepted;
    } cases[] = {{0.5f, true},           {2.0f, true},      {1.0f / 32, true},  {32.0f, true},
                 {0.0f, false},          {-1.0f, false},    {1.0f / 64, false}, {33.0f, false},
                 {std::nanf(""), false}, {HUGE_VALF, false}};
    for (const auto& c : cases) {
        const int calls = callLog().count("libvlc_media_player_set_rate");
        EXPECT_EQ(player.setRate(c.rate), c.accepted) << c.rate;
        EXPECT_EQ(callLog().count("libvlc_media_player_set_rate"), calls + (c.accepted ? 1 : 0)) << c.rate;
    }
    EXPECT_EQ(player.getRate(), 32.0f) << "the last rate the library took";
}

// The marquee takes a new text at once and for its whole timeout, and is put into the picture by
// enabling it: text first, then enabled. The text is a time format to the library: each '%' goes doubled.
// Nothing to show hides it.
TEST_F(VlcForcedAnswers, ShowsTextThroughTheMarqueeAndHidesItWithNothingToShow) {
    const auto marquee = [] {
        std::lock_guard<std::mutex> lock(callLog().mutex);
        const Calls calls = callLog().marquee;
        callLog().marquee.clear();
        return calls;
    };
    player.showText(L"Speed: 1.5\u00D7", 2000);
    const Calls shown = marquee();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(Calls(shown.end() - 2, shown.end()), (Calls{"Text Speed: 1.5\xC3\x97", "Enable 1"}));
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Timeout 2000"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Position 5"), shown.end()) << "top left";
    for (const auto& text : {std::make_pair(L"Volume 80 %", "Text Volume 80 %%"),
                             std::make_pair(L"Subtitles: 50%d off.srt", "Text Subtitles: 50%%d off.srt"),
                             std::make_pair(L"%%", "Text %%%%")}) {
        player.showText(text.first, 2000);
        const Calls calls = marquee();
        EXPECT_NE(std::find(calls.begin(), calls.end(), text.second), calls.end()) << text.second;
    }

    for (const auto& hide : {std::make_pair(L"", 2000), std::make_pair(L"Volume 80 %", 0)}) {
        player.showText(hide.first, hide.second);
        EXPECT_EQ(marquee(), Calls{"Enable 0"});
    }
}

TEST_F(VlcForcedAnswers, HandsTheLibraryTheOutputWindow) {
    player.setHwnd(0x2a);
    EXPECT_EQ(callLog().count("libvlc_media_player_set_xwindow"), 1);
    std::lock_guard<std::mutex> lock(callLog().mutex);
    EXPECT_EQ(callLog().outputWindow, 0x2au);
}

}  // namespace
