// The rules of watching a film: speed steps, the order A and S go through the tracks, where a step of a
// seek starts, the texts the viewer is told, and which dropped files are subtitles.
#include <gtest/gtest.h>

#include "playback/MediaFormats.h"
#include "playback/WatchRules.h"

namespace {

TEST(WatchRules, SpeedStepsStopAtBothEnds) {
    struct Case {
        float speed;
        int direction;
        float next;
    };
    const Case cases[] = {
        {1.0f, +1, 1.25f}, {1.25f, +1, 1.5f}, {1.5f, +1, 2.0f},  {2.0f, +1, 2.0f}, {1.0f, -1, 0.75f},
        {0.75f, -1, 0.5f}, {0.5f, -1, 0.5f},  {0.5f, +1, 0.75f}, {2.0f, -1, 1.5f}, {1.1f, +1, 1.25f},
        {1.1f, -1, 1.0f},  {3.0f, -1, 2.0f},  {0.2f, +1, 0.5f},  {4.0f, +1, 2.0f}, {1.2501f, +1, 1.5f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::stepSpeed(c.speed, c.direction), c.next) << c.speed << " by " << c.direction;
    }
}

TEST(WatchRules, SpeedNamesAndPlaces) {
    const std::pair<float, const wchar_t*> names[] = {{0.5f, L"0.5\u00D7"}, {0.75f, L"0.75\u00D7"},
                                                      {1.0f, L"Normal"},    {1.25f, L"1.25\u00D7"},
                                                      {1.5f, L"1.5\u00D7"}, {2.0f, L"2\u00D7"}};
    for (int i = 0; i < watching::kSpeedCount; ++i) {
        EXPECT_EQ(watching::speedName(names[i].first), names[i].second);
        EXPECT_EQ(watching::speedIndex(names[i].first), i);
    }
    EXPECT_EQ(watching::speedIndex(1.1f), -1);
    EXPECT_EQ(watching::speedText(1.5f), L"Speed: 1.5\u00D7");
    EXPECT_EQ(watching::speedText(1.0f), L"Speed: Normal");
}

TEST(WatchRules, AGoesRoundTheAudioTracksAndSThroughOff) {
    const std::vector<MediaTrack> two = {{1, L"a"}, {2, L"b"}};
    const std::vector<MediaTrack> one = {{7, L"a"}};
    struct Case {
        const std::vector<MediaTrack>* tracks;
        int current;
        int audio;      // the audio track after current
        int subtitles;  // the subtitle choice after current
    };
    const std::vector<MediaTrack> none;
    const Case cases[] = {
        {&two, 1, 2, 2},
        {&two, 2, 1, kNoTrack},
        {&two, kNoTrack, 1, 1},
        {&two, 99, 1, 1},
        {&one, 7, 7, kNoTrack},
        {&one, kNoTrack, 7, 7},
        {&none, kNoTrack, kNoTrack, kNoTrack},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::nextAudioTrack(*c.tracks, c.current), c.audio) << c.current;
        EXPECT_EQ(watching::nextSubtitleChoice(*c.tracks, c.current), c.subtitles) << c.current;
    }
    EXPECT_EQ(watching::trackIndex(two, 2), 1);
    EXPECT_EQ(watching::trackIndex(two, kNoTrack), -1);
}

TEST(WatchRules, ASeekIsOnItsWayUntilTheLibraryIsNearOrAWhilePasses) {
    const watching::PendingSeek pending{true, 30000, 5000};
    struct Case {
        const char* what;
        watching::PendingSeek seek;
        std::int64_t reported;
        std::uint32_t now;
        bool onItsWay;
    };
    const Case cases[] = {
        {"none asked for", {}, 20000, 5000, false},
        {"the old time still", pending, 25000, 5100, true},
        {"arrived", pending, 30000, 5100, false},
        {"arrived, 1 s on", pending, 31000, 5100, false},
        {"just short of it", pending, 28999, 5100, true},
        {"just past it", pending, 31001, 5100, true},
        {"not yet 1.5 s", pending, 25000, 6499, true},
        {"1.5 s on", pending, 25000, 6500, false},
        {"across the tick count's wrap", {true, 30000, 0xFFFFFF00u}, 25000, 0x100u, true},
        {"long after the wrap", {true, 30000, 0xFFFFFF00u}, 25000, 0x1000u, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::seekOnItsWay(c.seek, c.reported, c.now), c.onItsWay) << c.what;
    }
}

TEST(WatchRules, AStepStaysWithinTheStartAndAKnownLength) {
    struct Case {
        std::int64_t from, length;
        int direction;
        std::int64_t target;
    };
    const Case cases[] = {
        {8000, 60000, -1, 3000},   {5000, 60000, -1, 0},      {3000, 60000, -1, 0},
        {10000, 60000, +1, 15000}, {58000, 60000, +1, 60000}, {60000, 60000, +1, 60000},
        {10000, 0, +1, 15000},     {10000, -1, +1, 15000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::stepTarget(c.from, c.direction, c.length), c.target)
            << c.from << " " << c.direction;
    }
}

TEST(WatchRules, TextsForTheViewer) {
    const MediaTrack french{2, L"Track 2 - [French]"};
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {watching::audioText(french), L"Audio: Track 2 - [French]"},
        {watching::subtitlesText(nullptr), L"Subtitles: Off"},
        {watching::subtitlesText(&french), L"Subtitles: Track 2 - [French]"},
        {watching::subtitleFileText(L"extra.srt"), L"Subtitles: extra.srt"},
        {watching::volumeText(80), L"Volume 80 %"},
        {watching::volumeText(0), L"Volume 0 %"},
        {watching::muteText(true), L"Muted"},
        {watching::muteText(false), L"Sound on"},
        {watching::clockText(3723000), L"01:02:03"},
        {watching::clockText(360000000), L"100:00:00"},
        {watching::clockText(-1), L"00:00:00"},
        {watching::positionText(65000, 1200000), L"00:01:05 / 00:20:00"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(text, expected);
    }
}

TEST(WatchRules, SubtitleFilesByTheirWholeExtension) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"C:\\v\\a.srt", true},  {L"C:\\v\\a.SRT", true},   {L"C:\\v\\a.ass", true},
        {L"C:\\v\\a.ssa", true},  {L"C:\\v\\a.sub", true},   {L"C:\\v\\a.vtt", true},
        {L"C:\\v\\a.smi", true},  {L"C:\\v\\a.srt2", false}, {L"C:\\v\\a.mpg", false},
        {L"C:\\v.srt\\a", false}, {L"C:\\v\\srt", false},    {L"", false},
    };
    for (const auto& [path, subtitles] : cases) {
        EXPECT_EQ(mediaformats::isSubtitlePath(path), subtitles)
            << testing::PrintToString(std::wstring(path));
    }
    EXPECT_EQ(mediaformats::subtitlePatterns(), L"*.srt;*.ass;*.ssa;*.sub;*.vtt;*.smi");
}

}  // namespace
