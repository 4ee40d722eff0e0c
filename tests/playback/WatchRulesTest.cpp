// The rules of watching a film: speed steps, the order A and S go through the tracks, how long a seek is
// on its way, and which files are subtitles. The texts the viewer is told are checked where they are told.
#include <gtest/gtest.h>

#include "playback/MediaFormats.h"
#include "playback/WatchRules.h"

namespace {

TEST(WatchRules, SpeedStepsStopAtBothEnds) {
    struct Case {
        float speed;
        int direction;
        float next;
        const wchar_t* name;  // of the next one
    };
    const Case cases[] = {
        {1.0f, +1, 1.25f, L"1.25\u00D7"}, {1.5f, +1, 2.0f, L"2\u00D7"},    {2.0f, +1, 2.0f, L"2\u00D7"},
        {1.0f, -1, 0.75f, L"0.75\u00D7"}, {0.75f, -1, 0.5f, L"0.5\u00D7"}, {0.5f, -1, 0.5f, L"0.5\u00D7"},
        {1.1f, +1, 1.25f, L"1.25\u00D7"}, {1.1f, -1, 1.0f, L"Normal"},     {4.0f, -1, 2.0f, L"2\u00D7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::stepSpeed(c.speed, c.direction), c.next) << c.speed << " by " << c.direction;
        EXPECT_EQ(watching::speedName(c.next), c.name);
    }
    EXPECT_EQ(watching::speedIndex(1.5f), 4);
    EXPECT_EQ(watching::speedIndex(1.1f), -1);
}

TEST(WatchRules, AGoesRoundTheAudioTracksAndSThroughOff) {
    const std::vector<MediaTrack> two = {{1, L"a"}, {2, L"b"}};
    const std::vector<MediaTrack> none;
    struct Case {
        const std::vector<MediaTrack>* tracks;
        int current;
        int audio;      // the audio track after current
        int subtitles;  // the subtitle choice after current
    };
    const Case cases[] = {
        {&two, 1, 2, 2},
        {&two, 2, 1, kNoTrack},
        {&two, kNoTrack, 1, 1},
        {&two, 99, 1, 1},
        {&none, kNoTrack, kNoTrack, kNoTrack},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::nextAudioTrack(*c.tracks, c.current), c.audio) << c.current;
        EXPECT_EQ(watching::nextSubtitleChoice(*c.tracks, c.current), c.subtitles) << c.current;
    }
}

TEST(WatchRules, ASeekIsOnItsWayUntilTheLibraryIsNearOrAWhilePasses) {
    const watching::PendingSeek pending{true, 30000, 5000};
    const watching::PendingSeek beforeWrap{true, 30000, 0xFFFFFF00u};
    struct Case {
        const watching::PendingSeek* seek;
        std::int64_t reported;
        std::uint32_t now;
        bool onItsWay;
    };
    const Case cases[] = {
        {&pending, 25000, 5100, true},        {&pending, 31000, 5100, false},
        {&pending, 28999, 5100, true},        {&pending, 25000, 6499, true},
        {&pending, 25000, 6500, false},       {&beforeWrap, 25000, 0x100u, true},
        {&beforeWrap, 25000, 0x1000u, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::seekOnItsWay(*c.seek, c.reported, c.now), c.onItsWay)
            << c.reported << " at " << c.now;
    }
    EXPECT_FALSE(watching::seekOnItsWay({}, 20000, 5000));
}

TEST(WatchRules, ChapterStepsGoToTheNextOrBackToAStartThenTheOneBefore) {
    const std::vector<MediaChapter> three = {{0, L"Opening"}, {4000, L""}, {8000, L"The Storm"}};
    const std::vector<MediaChapter> late = {{3000, L"a"}, {9000, L"b"}};
    struct Case {
        const std::vector<MediaChapter>* chapters;
        std::int64_t time;
        int at;        // the chapter the time is in
        int next;      // Ctrl+Page Down
        int previous;  // Ctrl+Page Up
    };
    const Case cases[] = {
        {&three, 0, 0, 1, 0},    {&three, 1999, 0, 1, 0}, {&three, 3999, 0, 1, 0},   {&three, 4000, 1, 2, 0},
        {&three, 5999, 1, 2, 0}, {&three, 6000, 1, 2, 1}, {&three, 11000, 2, -1, 2}, {&three, 9000, 2, -1, 1},
        {&late, 1000, 0, 1, 0},  {&late, 9500, 1, -1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(watching::chapterAt(*c.chapters, c.time), c.at) << c.time;
        EXPECT_EQ(watching::chapterStep(*c.chapters, c.time, +1), c.next) << c.time;
        EXPECT_EQ(watching::chapterStep(*c.chapters, c.time, -1), c.previous) << c.time;
    }
    EXPECT_EQ(watching::chapterStep({}, 5000, +1), -1);
    EXPECT_EQ(watching::chapterStep({}, 5000, -1), -1);
    EXPECT_EQ(watching::chapterMenuText(three, 0), L"Opening - 00:00:00");
    EXPECT_EQ(watching::chapterMenuText(three, 1), L"Chapter 2 - 00:00:04");
    EXPECT_EQ(watching::chapterMenuText({{750000, L"Act & Two"}}, 0), L"Act & Two - 00:12:30");
}

TEST(WatchRules, DelaysStepByATenthOfASecondWithinAMinute) {
    const struct {
        std::int64_t delay;
        int direction;
        std::int64_t next;
    } cases[] = {
        {0, +1, 100},       {0, -1, -100},      {200, +1, 300},       {-100, +1, 0},
        {59950, +1, 60000}, {60000, +1, 60000}, {-60000, -1, -60000}, {250, -1, 150},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(watching::stepDelay(c.delay, c.direction), c.next) << c.delay << " by " << c.direction;
    }
}

// Go to Time takes seconds, minutes:seconds and hours:minutes:seconds, and nothing else; a time past a
// known end is refused too.
TEST(WatchRules, ATypedTimeIsSecondsMinutesOrHours) {
    const std::pair<const wchar_t*, std::int64_t> times[] = {
        {L"90", 90000}, {L"1:30", 90000},    {L"1:02:03", 3723000}, {L" 1:30 ", 90000},
        {L"0", 0},      {L"90:00", 5400000}, {L"999999", 999999000}};
    for (const auto& [text, ms] : times) {
        EXPECT_EQ(watching::parseTime(text), ms) << testing::PrintToString(std::wstring(text));
    }
    for (const wchar_t* text : {L"abc", L"", L"  ", L"-5", L"1:75", L"1:60:00", L"1:2:3:4", L"1::30", L":30",
                                L"1:", L"1.5", L"1 30", L"1000000"}) {
        EXPECT_EQ(watching::parseTime(text), -1) << testing::PrintToString(std::wstring(text));
    }
    EXPECT_EQ(watching::checkTime(300001, 300000), watching::TimeEntry::PastTheEnd);
    EXPECT_EQ(watching::checkTime(300001, 0), watching::TimeEntry::Jump);  // a length not yet known
    EXPECT_EQ(watching::checkTime(-1, 300000), watching::TimeEntry::NotATime);
}

TEST(WatchRules, SubtitleFilesByTheirWholeExtension) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"C:\\v\\a.srt", true},   {L"C:\\v\\a.SRT", true},  {L"C:\\v\\a.smi", true},
        {L"C:\\v\\a.srt2", false}, {L"C:\\v\\a.mpg", false}, {L"C:\\v.srt\\a", false},
        {L"C:\\v\\srt", false},
    };
    for (const auto& [path, subtitles] : cases) {
        EXPECT_EQ(mediaformats::isSubtitlePath(path), subtitles)
            << testing::PrintToString(std::wstring(path));
    }
    EXPECT_EQ(mediaformats::subtitlePatterns(), L"*.srt;*.ass;*.ssa;*.sub;*.vtt;*.smi");
}

}  // namespace
