// Where the viewer left each file: when a place is remembered, kept or forgotten, how a stored value
// reads, and which values make way so that no more than the 100 most recent files are kept.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "playback/ResumeRules.h"

namespace {

using resume::OnLeave;

TEST(ResumeRules, APlaceIsRememberedAMinuteInAndAMinuteBeforeTheEnd) {
    const std::tuple<std::int64_t, std::int64_t, bool, OnLeave> cases[] = {
        {180000, 600000, false, OnLeave::Remember}, {60001, 600000, false, OnLeave::Remember},
        {60000, 600000, false, OnLeave::Keep},      {539999, 600000, false, OnLeave::Remember},
        {540000, 600000, false, OnLeave::Forget},   {180000, 600000, true, OnLeave::Forget},
        {180000, 0, false, OnLeave::Keep},          {70000, 90000, false, OnLeave::Forget},
    };
    for (const auto& [time, length, ended, result] : cases) {
        EXPECT_EQ(resume::onLeave(time, length, ended), result) << time << " of " << length;
    }
}

// Binary, 16 bytes, little-endian, the place first; anything else is not read (a negative place: the
// registry-values fuzz target).
TEST(ResumeRules, OnlyABinaryRecordOfSixteenBytesWithAPlaceReads) {
    const auto good = resume::encode({224000, 7});
    EXPECT_EQ(std::vector<unsigned char>(good.begin(), good.end()),
              (std::vector<unsigned char>{0x00, 0x6B, 0x03, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
    const std::tuple<std::uint32_t, const unsigned char*, std::size_t, bool> cases[] = {
        {3, good.data(), 16, true},  {4, good.data(), 4, false}, {1, good.data(), 16, false},
        {3, good.data(), 15, false}, {3, nullptr, 0, false},
    };
    for (const auto& [type, data, size, reads] : cases) {
        resume::Record record{-5, 99};
        EXPECT_EQ(resume::decode(type, data, size, record), reads) << type << ", " << size << " bytes";
        EXPECT_EQ(record.position, reads ? 224000 : -5);
    }
}

// 100 values: a new file's place evicts the least recent one, bad values before any; a file that is
// there (in any case) evicts nothing.
TEST(ResumeRules, TheHundredMostRecentFilesAreKept) {
    std::vector<resume::Stored> full;
    for (unsigned i = 0; i < 100; ++i) {
        full.push_back({L"C:\\" + std::to_wstring(i) + L".mkv", true, 500 - i});
    }
    std::vector<resume::Stored> over = full;
    over.push_back({L"bad", false, 900});
    over.push_back({L"C:\\old.mkv", true, 3});
    EXPECT_EQ(resume::evictions(full, L"C:\\new.mkv"), std::vector<std::wstring>{L"C:\\99.mkv"});
    EXPECT_EQ(resume::evictions(full, L"c:\\99.MKV"), std::vector<std::wstring>{});
    EXPECT_EQ(resume::evictions(over, L"C:\\new.mkv"),
              (std::vector<std::wstring>{L"bad", L"C:\\old.mkv", L"C:\\99.mkv"}));
    EXPECT_EQ(resume::nextStamp(over), 501u) << "a bad value's stamp counts for nothing";
    EXPECT_EQ(resume::nextStamp({}), 1u);
}

}  // namespace
