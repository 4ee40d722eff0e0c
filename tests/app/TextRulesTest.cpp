#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/window/AboutText.h"
#include "app/commands/CommandLine.h"
#include "app/instance/HandOffValue.h"
#include "app/MediaPlayerApp.h"
#include "app/window/TitleText.h"
#include "common/TempFolder.h"
#include "playback/PlayLogic.h"
#include "playback/MediaPlayer.h"
#include "playback/ReadableFile.h"

namespace {

struct TitleCase {
    int state;
    const wchar_t* displayName;
    const wchar_t* expected;
};

class TitleComposition : public ::testing::TestWithParam<TitleCase> {};

TEST_P(TitleComposition, NamesTheFileOnlyWhilePlayingOrPaused) {
    const TitleCase& c = GetParam();
    wchar_t buffer[kTitleCapacity];
    composeTitle(L"Velmora Player", c.state, c.displayName, buffer, kTitleCapacity);
    EXPECT_STREQ(buffer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(States, TitleComposition,
                         ::testing::Values(TitleCase{StateNothing, L"", L"Velmora Player"},
                                           TitleCase{StateNothing, L"a.mpg", L"Velmora Player"},
                                           TitleCase{StateOpening, L"a.mpg", L"Velmora Player"},
                                           TitleCase{StatePlaying, L"a.mpg", L"Velmora Player - a.mpg"},
                                           TitleCase{StatePaused, L"a.mpg", L"Velmora Player - a.mpg"},
                                           TitleCase{StateStopped, L"a.mpg", L"Velmora Player"},
                                           TitleCase{StateEnded, L"a.mpg", L"Velmora Player"},
                                           TitleCase{StateError, L"a.mpg", L"Velmora Player"},
                                           // Playing with no name known: no dangling " - ".
                                           TitleCase{StatePlaying, L"", L"Velmora Player"}));

TEST(TitleComposition, LongFileNameIsCutAtTheBufferAndTerminated) {
    const std::wstring name(300, L'x');
    wchar_t buffer[kTitleCapacity + 8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    composeTitle(L"Velmora Player", StatePlaying, name, buffer, kTitleCapacity);

    const std::wstring full = L"Velmora Player - " + name;
    EXPECT_EQ(std::wstring(buffer), full.substr(0, kTitleCapacity - 1));
    EXPECT_EQ(buffer[kTitleCapacity - 1], L'\0');
    // Nothing past the buffer's capacity was touched.
    for (std::size_t i = kTitleCapacity; i < kTitleCapacity + 8; ++i) {
        EXPECT_EQ(buffer[i], L'#') << "index " << i;
    }
}

TEST(TitleComposition, CutNeverSplitsASurrogatePair) {
    // A buffer of 10 holds 9 characters: "ab - " and four more.
    wchar_t buffer[10];
    composeTitle(L"ab", StatePlaying, L"cdef\xD83C\xDFAC", buffer, 10);
    // "ab - cdef" is 9 characters and fills the buffer: the pair is dropped whole.
    EXPECT_STREQ(buffer, L"ab - cdef");
    composeTitle(L"ab", StatePlaying, L"cde\xD83C\xDFACz", buffer, 10);
    // The cut would fall between the two halves: the high half goes too.
    EXPECT_STREQ(buffer, L"ab - cde");
}

struct TailCase {
    const wchar_t* tail;
    const wchar_t* path;
};

class CommandTail : public ::testing::TestWithParam<TailCase> {};

TEST_P(CommandTail, TakesOneEnclosingPairOfQuotesOff) {
    EXPECT_EQ(commandTailPath(GetParam().tail), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Tails, CommandTail,
                         ::testing::Values(TailCase{nullptr, L""}, TailCase{L"", L""},
                                           TailCase{L"C:\\a.mpg", L"C:\\a.mpg"},
                                           TailCase{L"\"C:\\My Videos\\a.mpg\"", L"C:\\My Videos\\a.mpg"},
                                           // Unquoted blanks are part of the one path.
                                           TailCase{L"C:\\My Videos\\a.mpg", L"C:\\My Videos\\a.mpg"},
                                           // Only one pair goes; an unbalanced quote is kept.
                                           TailCase{L"\"\"C:\\a.mpg\"\"", L"\"C:\\a.mpg\""},
                                           TailCase{L"\"C:\\a.mpg", L"\"C:\\a.mpg"},
                                           TailCase{L"C:\\a.mpg\"", L"C:\\a.mpg\""}, TailCase{L"\"", L"\""},
                                           TailCase{L"\"\"", L""},
                                           // Quotes inside the text are not enclosing.
                                           TailCase{L"\"a\" \"b\"", L"a\" \"b"}));

TEST(FileOpensForReading, ExistingFileYesMissingOrEmptyNo) {
    const TempFolder folder;
    const std::wstring path = folder.addFile(L"velmora app test.mpg");
    EXPECT_TRUE(fileOpensForReading(path));
    // A quoted path names no file.
    EXPECT_FALSE(fileOpensForReading(L"\"" + path + L"\""));
    DeleteFileW(path.c_str());
    EXPECT_FALSE(fileOpensForReading(path));
    EXPECT_FALSE(fileOpensForReading(L""));
}

struct VolumeCase {
    int volume;
    bool muted;
    int direction;
    int expected;
};

class VolumeStep : public ::testing::TestWithParam<VolumeCase> {};

// Volume Up and Down as the main window's commands run them, on a controller with nothing loaded.
TEST_P(VolumeStep, StepsByTenWithinRangeFromSilenceWhenMuted) {
    const VolumeCase& c = GetParam();
    PlayLogic controller;
    controller.setVolume(c.volume);
    if (c.muted) {
        controller.toggleMute();
    }
    controller.changeVolume(c.direction);
    EXPECT_EQ(controller.volume(), c.expected);
    EXPECT_FALSE(controller.muted());
}

INSTANTIATE_TEST_SUITE_P(Steps, VolumeStep,
                         ::testing::Values(VolumeCase{50, false, +1, 60}, VolumeCase{50, false, -1, 40},
                                           VolumeCase{95, false, +1, 100}, VolumeCase{100, false, +1, 100},
                                           VolumeCase{5, false, -1, 0}, VolumeCase{0, false, -1, 0},
                                           VolumeCase{80, true, +1, 10}, VolumeCase{80, true, -1, 0}));

// The open dialog's filters, as the dialog reads them: texts ended by NUL, the list by an empty one.
TEST(OpenDialogFilter, MediaFilesFirstWithEveryAcceptedPatternThenVideoAudioAndAll) {
    std::vector<std::wstring> parts;
    for (const wchar_t* part = identity::fileFilter(); *part != L'\0'; part += parts.back().size() + 1) {
        parts.push_back(part);
    }
    ASSERT_EQ(parts.size(), 8u);
    EXPECT_EQ(parts[0], L"Media Files");
    EXPECT_EQ(parts[2], L"Video Files");
    EXPECT_EQ(parts[4], L"Audio Files");
    EXPECT_EQ(parts[6], L"All Files (*.*)");
    EXPECT_EQ(parts[7], L"*.*");
    EXPECT_EQ(parts[1], parts[3] + L";" + parts[5]) << "every video pattern, then every audio one";
    EXPECT_EQ(parts[1].rfind(L"*.mpg;*.mp4;", 0), 0u);
    EXPECT_EQ(parts[5].rfind(L"*.mp3;", 0), 0u);

    // Which list holds a pattern, as ';' separates them.
    const auto holds = [](const std::wstring& list, const std::wstring& pattern) {
        return (L";" + list + L";").find(L";" + pattern + L";") != std::wstring::npos;
    };
    const struct {
        const wchar_t* pattern;
        bool video;
        bool audio;
    } rows[] = {{L"*.mpg", true, false},  {L"*.mkv", true, false},  {L"*.avi", true, false},
                {L"*.ts", true, false},   {L"*.webm", true, false}, {L"*.divx", true, false},
                {L"*.mp3", false, true},  {L"*.flac", false, true}, {L"*.wav", false, true},
                {L"*.mka", false, true},  {L"*.txt", false, false}, {L"*.mp", false, false},
                {L"*.MPG", false, false}, {L"mpg", false, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(holds(parts[3], row.pattern), row.video) << testing::PrintToString(row.pattern);
        EXPECT_EQ(holds(parts[5], row.pattern), row.audio) << testing::PrintToString(row.pattern);
    }
    EXPECT_EQ(VelmoraPlayer().fileFilter(), identity::fileFilter());
}

TEST(AboutText, ProductNameAndVersion) {
    EXPECT_EQ(aboutText(L"Velmora Player"), L"Velmora Player, Version 1.0");
    EXPECT_EQ(aboutText(nullptr), L", Version 1.0");
}

// The version is set once, in CMake; the version resource, the about box and the packages follow it.
TEST(AboutText, VersionResourceShowsTheSameVersion) {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    ASSERT_NE(found, nullptr);
    const DWORD size = SizeofResource(nullptr, found);
    // A copy: VerQueryValueW may write into the block it reads.
    std::vector<BYTE> block(size * 2);
    std::memcpy(block.data(), LockResource(LoadResource(nullptr, found)), size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const DWORD high = MAKELONG(0, 1);  // 1.0
    const DWORD low = MAKELONG(0, 0);   // .0.0
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length));
        EXPECT_EQ(std::wstring(text), L"1.0.0.0");
    }
    EXPECT_EQ(aboutText(L"P"), L"P, Version 1.0");
}

struct StoredPathCase {
    const char* what;
    std::uint32_t type;
    std::string bytes;  // the raw value as the registry hands it over
    std::size_t expected;
};

// Characters of UTF-16 text as bytes, with a NUL after them or not.
std::string utf16(std::size_t units, bool terminated) {
    std::string bytes;
    for (std::size_t i = 0; i < units; ++i) {
        bytes += std::string("a\0", 2);
    }
    return terminated ? bytes + std::string(2, '\0') : bytes;
}

class StoredPath : public ::testing::TestWithParam<StoredPathCase> {};

// The running copy takes the handed-over path from the raw value, never reading past it.
TEST_P(StoredPath, IsTheTextBeforeTheFirstNulWithinTheValue) {
    const StoredPathCase& c = GetParam();
    const auto* data = reinterpret_cast<const unsigned char*>(c.bytes.data());
    EXPECT_EQ(handoffvalue::storedPathLength(c.type, data, c.bytes.size()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredPath,
                         ::testing::Values(StoredPathCase{"terminated", 1, utf16(3, true), 3},
                                           StoredPathCase{"unterminated", 1, utf16(3, false), 3},
                                           StoredPathCase{"odd", 1, utf16(3, false) + "x", 3},
                                           StoredPathCase{"full", 1, utf16(259, true), 259},
                                           StoredPathCase{"fullUnterminated", 1, utf16(260, false), 260},
                                           StoredPathCase{"tooLong", 1, utf16(260, true), 0},
                                           StoredPathCase{"nulInside", 1, utf16(2, true) + utf16(5, true), 2},
                                           StoredPathCase{"empty", 1, "", 0},
                                           StoredPathCase{"binary", 3, utf16(3, true), 0}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
