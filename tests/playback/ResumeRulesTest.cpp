// Where the viewer left each file: when a place is remembered, kept or forgotten, how a stored value
// reads, and which values make way so that no more than the 100 most recent files are kept.
#include <gtest/gtest.h>

#include <vector>

#include "playback/ResumeRules.h"

namespace {

using resume::OnLeave;

TEST(ResumeRules, APlaceIsRememberedAMinuteInAndAMinuteBeforeTheEnd) {
    struct Case {
        std::int64_t time, length;
        bool ended;
        OnLeave result;
    };
    const Case cases[] = {
        {180000, 600000, false, OnLeave::Remember},
        {60001, 600000, false, OnLeave::Remember},
        {60000, 600000, false, OnLeave::Keep},
        {30000, 600000, false, OnLeave::Keep},
        {539999, 600000, false, OnLeave::Remember},
        {540000, 600000, false, OnLeave::Forget},
        {599000, 600000, false, OnLeave::Forget},
        {180000, 600000, true, OnLeave::Forget},
        {180000, 0, false, OnLeave::Keep},
        {180000, -1, false, OnLeave::Keep},
        // A film of a minute and a half: its last minute starts at 0:30, before its first one ends.
        {70000, 90000, false, OnLeave::Forget},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resume::onLeave(c.time, c.length, c.ended), c.result)
            << c.time << " of " << c.length << (c.ended ? ", ended" : "");
    }
}

TEST(ResumeRules, OnlyABinaryRecordOfSixteenBytesWithAPlaceReads) {
    const auto good = resume::encode({224000, 7});
    const std::vector<unsigned char> bytes(good.begin(), good.end());
    std::vector<unsigned char> negative = bytes;
    negative[7] = 0x80;
    struct Case {
        const char* what;
        std::uint32_t type;
        std::vector<unsigned char> data;
        bool reads;
    };
    const Case cases[] = {
        {"record", 3, bytes, true},
        {"as a number", 4, std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4), false},
        {"as text", 1, bytes, false},
        {"as a 64-bit number", 11, std::vector<unsigned char>(bytes.begin(), bytes.begin() + 8), false},
        {"short", 3, std::vector<unsigned char>(bytes.begin(), bytes.begin() + 15), false},
        {"long", 3, std::vector<unsigned char>(17, 0), false},
        {"empty", 3, {}, false},
        {"negative place", 3, negative, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resume::Record record{-5, 99};
        EXPECT_EQ(resume::decode(c.type, c.data.empty() ? nullptr : c.data.data(), c.data.size(), record),
                  c.reads);
        if (c.reads) {
            EXPECT_EQ(record.position, 224000);
            EXPECT_EQ(record.stamp, 7u);
        } else {
            EXPECT_EQ(record.position, -5) << "a refused value is not read";
        }
    }
    // Little-endian, place first, as the layout says.
    EXPECT_EQ(bytes, (std::vector<unsigned char>{0x00, 0x6B, 0x03, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(resume::offerable(224000, 600000));
    EXPECT_TRUE(resume::offerable(224000, 0));  // the length not known yet
    EXPECT_FALSE(resume::offerable(600000, 600000));
    EXPECT_FALSE(resume::offerable(700000, 600000));
}

// 100 values: writing a new file's place evicts the least recent one, bad values before any; writing a
// file that is there (in any case) evicts nothing.
TEST(ResumeRules, TheHundredMostRecentFilesAreKept) {
    std::vector<resume::Stored> full;
    for (int i = 0; i < 100; ++i) {
        full.push_back(
            {L"C:\\films\\" + std::to_wstring(i) + L".mkv", true, 500u - static_cast<unsigned>(i)});
    }
    std::vector<resume::Stored> withBad = full;
    withBad[50].valid = false;
    withBad[50].stamp = 0;
    std::vector<resume::Stored> over = full;
    over.push_back({L"bad", false, 0});
    over.push_back({L"C:\\old.mkv", true, 3});
    struct Case {
        const char* what;
        const std::vector<resume::Stored>* stored;
        const wchar_t* adding;
        std::vector<std::wstring> evicted;
    };
    const std::vector<resume::Stored> few = {{L"a", true, 4}, {L"b", false, 0}};
    const Case cases[] = {
        {"room left", &few, L"c", {}},
        {"full, a new file", &full, L"C:\\new.mkv", {L"C:\\films\\99.mkv"}},
        {"full, a file that is there", &full, L"C:\\FILMS\\99.MKV", {}},
        {"full, with a bad value", &withBad, L"C:\\new.mkv", {L"C:\\films\\50.mkv"}},
        {"over full", &over, L"C:\\new.mkv", {L"bad", L"C:\\old.mkv", L"C:\\films\\99.mkv"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(resume::evictions(*c.stored, c.adding), c.evicted);
    }
    EXPECT_EQ(resume::nextStamp(full), 501u);
    EXPECT_EQ(resume::nextStamp(few), 5u);
    EXPECT_EQ(resume::nextStamp({}), 1u);
}

}  // namespace
