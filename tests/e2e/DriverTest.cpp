// The driver's own pieces that the player tests rely on without seeing them: the child's environment
// and the picture comparisons.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/PlayerProcess.h"
#include "e2e/ScreenCapture.h"

namespace e2e {
namespace {

std::vector<std::wstring> entriesOf(const std::wstring& block) {
    std::vector<std::wstring> entries;
    for (const wchar_t* p = block.c_str(); *p; p += wcslen(p) + 1) {
        entries.emplace_back(p);
    }
    return entries;
}

// A process whose parent is the given one; 0 when there is none.
DWORD childOf(DWORD parent) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    DWORD child = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && child == 0;
         more = Process32NextW(snapshot, &entry)) {
        child = entry.th32ParentProcessID == parent ? entry.th32ProcessID : 0;
    }
    CloseHandle(snapshot);
    return child;
}

const wchar_t kBase[] = L"=C:=C:\\work\0Path=C:\\windows\0velmora_ads_result=5\0TEMP=C:\\t\0";

TEST(EnvironmentBlock, OverridesReplaceEntriesWhateverTheirCase) {
    const std::wstring block = environmentBlock(kBase, {{L"VELMORA_ADS_RESULT", L"2"}, {L"NEW", L"x"}});
    EXPECT_EQ(entriesOf(block),
              (std::vector<std::wstring>{L"=C:=C:\\work", L"Path=C:\\windows", L"TEMP=C:\\t",
                                         L"VELMORA_ADS_RESULT=2", L"NEW=x"}));
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block[block.size() - 1], L'\0');
    EXPECT_EQ(block[block.size() - 2], L'\0');
}

TEST(EnvironmentBlock, EmptyValueRemovesAndPrefixesAreNotMatched) {
    const std::wstring block = environmentBlock(kBase, {{L"TEMP", L""}, {L"Pat", L"y"}});
    EXPECT_EQ(entriesOf(block), (std::vector<std::wstring>{L"=C:=C:\\work", L"Path=C:\\windows",
                                                           L"velmora_ads_result=5", L"Pat=y"}));
}

TEST(EnvironmentBlock, EmptyBaseStillEndsWithTwoNuls) {
    const std::wstring block = environmentBlock(L"\0", {});
    // One NUL of its own plus the string's terminator: CreateProcessW needs both.
    EXPECT_EQ(block, std::wstring(1, L'\0'));
}

Picture pictureOf(int width, int height, std::vector<std::uint32_t> pixels) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels = std::move(pixels);
    return picture;
}

TEST(Picture, ComparesPixelsAndIgnoresTheUnusedTopByte) {
    const Picture a = pictureOf(2, 2, {0x000000, 0xFF000000, 0x123456, 0x123456});
    const Picture b = pictureOf(2, 2, {0x000000, 0xFF000000, 0x123457, 0x123456});
    const Picture wide = pictureOf(4, 1, {0, 0, 0, 0});
    EXPECT_EQ(a.differingPixels(a), 0u);
    EXPECT_EQ(a.differingPixels(b), 1u);
    EXPECT_EQ(a.differingPixels(wide), 4u) << "pictures of different shapes count as wholly different";
    EXPECT_EQ(a.litPixels(), 2u) << "0xFF000000 is black";
    EXPECT_EQ(a.distinctColours(), 2u);
    EXPECT_EQ(b.distinctColours(2), 2u) << "counting stops at the limit";
}

// What the driven program starts outlives it: here cmd in the player's place, with ping (29 s) as its
// child. Wine's desktop process is such a child of the first player of a session.
TEST(PlayerProcessJob, EndsTheProgramButNotTheProcessesItStarted) {
    PlayerProcess parent;
    ASSERT_TRUE(parent.start(L"C:\\windows\\system32\\cmd.exe", L"/c ping -n 30 127.0.0.1 >nul", {}));
    DWORD child = 0;
    ASSERT_TRUE(waitUntil([&] { return (child = childOf(parent.processId())) != 0; }, 10000));
    HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, child);
    ASSERT_NE(handle, nullptr);
    parent.kill();
    EXPECT_EQ(WaitForSingleObject(handle, 2000), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the child ended with the program";
    TerminateProcess(handle, 0);
    CloseHandle(handle);
}

TEST(WaitUntil, GivesUpAfterTheTimeoutAndSucceedsAtOnceWhenTrue) {
    int polls = 0;
    const ULONGLONG started = GetTickCount64();
    EXPECT_FALSE(waitUntil([&] { return ++polls < 0; }, 150, 10));
    EXPECT_GE(GetTickCount64() - started, 140u);
    EXPECT_GT(polls, 1);
    polls = 0;
    EXPECT_TRUE(waitUntil([&] { return ++polls == 3; }, 5000, 1));
    EXPECT_EQ(polls, 3);
}

}  // namespace
}  // namespace e2e
