// Two copies of the player at once: a start with a file hands the file to the running copy, and a
// copy that doesn't answer, or a stale handle, never stops a start.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/MessagePump.h"
#include "common/TestRegistry.h"
#include "e2e/PlayerFixture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

DWORD publishedHandle() {
    const auto value = testregistry::read(testregistry::kHandleValue);
    return value.bytes.size() == 4 ? *reinterpret_cast<const DWORD*>(value.bytes.data()) : 0;
}

DWORD numberOf(HWND window) {
    return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
}

// A window of another program, as a stale handle may name one by now. This test thread doesn't take
// its messages while the player starts, so to the player it is a program that hangs.
HWND foreignWindow() {
    return CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                           200, nullptr, nullptr, nullptr, nullptr);
}

// The display confirms a change of focus a little later: until then it may hand the foreground back to
// the window that had it. True when the window has it and keeps it.
bool takesTheForeground(HWND window) {
    waitUntil(
        [&] {
            SetForegroundWindow(window);
            pumpPending();
            return GetForegroundWindow() == window;
        },
        5000);
    pumpUntil([] { return false; }, 500);
    return GetForegroundWindow() == window;
}

class HandOver : public PlayerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(HandOver, SecondStartExitsWithoutAWindowAndTheFirstOpensTheFile) {
    const bool playable = GetParam();
    ASSERT_TRUE(startIdle());
    // Minimised, as a user leaves a player to pick a file elsewhere.
    ShowWindowAsync(player_.window(), SW_MINIMIZE);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(player_.window()) != FALSE; }, 5000));
    const HWND other = foreignWindow();
    ASSERT_TRUE(takesTheForeground(other));
    const WINDOWPLACEMENT read = testregistry::placementOf({90, 80, 800, 600});
    testregistry::write(testregistry::kPlacementValue, REG_BINARY, &read, sizeof(read));

    const std::wstring file = playable ? videoPath(L"b.mpg") : textFilePath();
    PlayerProcess second;
    ASSERT_TRUE(launch(second, file));
    bool sawWindow = false;
    waitUntil(
        [&] {
            sawWindow = sawWindow || second.waitForWindow(0);
            return !second.running();
        },
        15000, 2);
    DWORD code = 1;
    ASSERT_TRUE(second.waitForExit(0, &code)) << "the second copy did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(sawWindow);
    const auto path = testregistry::read(testregistry::kNewFileValue);
    EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(path.bytes.size(), (file.size() + 1) * 2) << "the path with its NUL";
    const auto placement = testregistry::read(testregistry::kPlacementValue);
    EXPECT_EQ(placement.bytes, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&read),
                                                 reinterpret_cast<const BYTE*>(&read + 1)))
        << "the second copy did not write back the placement it read";

    if (playable) {
        EXPECT_TRUE(waitForTitle(titleFor(L"b.mpg")));
        // The other program takes its messages meanwhile, as a live one does: it hears that it lost
        // the foreground.
        EXPECT_TRUE(waitUntil(
            [&] {
                pumpPending();
                return GetForegroundWindow() == player_.window() && !IsIconic(player_.window());
            },
            5000))
            << "the first copy did not come to the front, restored";
    } else {
        const HWND box = player_.waitForMessageBox(kLoadFailure, 8000);
        ASSERT_NE(box, nullptr) << "no \"Could not load the file\" message";
        // The user turns to the other program before dismissing the message; the player stays behind.
        ASSERT_TRUE(takesTheForeground(other));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); }, 5000));
        // Answered once the hand-over's handling has returned, since the queue is in order.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(player_.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        pumpUntil([] { return false; }, 500);
        EXPECT_EQ(GetForegroundWindow(), other) << "a file that did not play brought the first copy forward";
        EXPECT_TRUE(IsIconic(player_.window())) << "a file that did not play restored the first copy";
    }
    DestroyWindow(other);
}

INSTANTIATE_TEST_SUITE_P(PlayableOrNot, HandOver, ::testing::Bool());

class NoHandOver : public PlayerTest, public ::testing::WithParamInterface<const wchar_t*> {};

// From then on the second window is the one that receives files.
TEST_P(NoHandOver, SecondStartOpensItsOwnWindowAndTakesOverTheHandle) {
    ASSERT_TRUE(startIdle());
    EXPECT_EQ(publishedHandle(), numberOf(player_.window()));
    PlayerProcess second, third;
    ASSERT_TRUE(launch(second, GetParam()));
    ASSERT_TRUE(second.waitForWindow(15000)) << "no second window";
    EXPECT_TRUE(waitUntil([&] { return publishedHandle() == numberOf(second.window()); }, 5000));
    ASSERT_TRUE(launch(third, videoPath(L"c.mpg")));
    EXPECT_TRUE(third.waitForExit(15000));
    EXPECT_TRUE(waitUntil([&] { return second.title() == titleFor(L"c.mpg"); }, 5000));
    EXPECT_EQ(player_.title(), kProductTitle);
}

INSTANTIATE_TEST_SUITE_P(Tails, NoHandOver, ::testing::Values(L"", L"Z:\\no such folder\\missing.mpg"));

enum StaleHandle { Gone, Desktop, Hanging };

class UnansweredPing : public PlayerTest, public ::testing::WithParamInterface<StaleHandle> {};

TEST_P(UnansweredPing, NeverStopsANormalStart) {
    HWND stale = GetParam() == Desktop ? GetDesktopWindow() : foreignWindow();
    if (GetParam() == Gone) {
        DestroyWindow(stale);
    }
    const DWORD handle = numberOf(stale);
    testregistry::write(testregistry::kHandleValue, REG_DWORD, &handle, sizeof(handle));
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(startPlayer(videoPath(L"a.mpg")));
    RecordProperty("start_ms", static_cast<int>(GetTickCount64() - started));
    EXPECT_LT(GetTickCount64() - started, 8000u) << "a 3-second limit on the answer";
    EXPECT_TRUE(waitForTitle(titleFor(L"a.mpg")));
    EXPECT_EQ(publishedHandle(), numberOf(player_.window()));
    if (GetParam() == Hanging) {
        DestroyWindow(stale);
    }
}

INSTANTIATE_TEST_SUITE_P(Handles, UnansweredPing, ::testing::Values(Gone, Desktop, Hanging));

// A bare name typed in a console names the file in that console's folder, also for a running copy that
// was started in another one.
TEST_F(PlayerTest, BareFileNameIsHandedOverAsTheFileOfTheStartingFolder) {
    ASSERT_TRUE(startIdle());
    PlayerProcess second;
    ASSERT_TRUE(launch(second, L"b.mpg", 0, videosFolder()));
    DWORD code = 1;
    ASSERT_TRUE(second.waitForExit(15000, &code)) << "the new start did not hand the file over";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(waitForTitle(titleFor(L"b.mpg")));
    const auto stored = testregistry::read(testregistry::kNewFileValue);
    EXPECT_EQ(stored.bytes.size(), (videoPath(L"b.mpg").size() + 1) * sizeof(wchar_t))
        << "not the whole path";
}

// With no copy running, the bare name opens with the other files of its folder.
TEST_F(PlayerTest, BareFileNameOpensWithItsFolder) {
    ASSERT_TRUE(launch(player_, L"b.mpg", 0, videosFolder()));
    ASSERT_TRUE(player_.waitForWindow(15000));
    EXPECT_TRUE(waitForTitle(titleFor(L"b.mpg")));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(barControl(IDC_BTN_NEXT)) != FALSE; }, 5000))
        << "Next stays disabled: the folder was not listed";
}

class LongPath : public PlayerTest, public ::testing::WithParamInterface<size_t> {};

// A running copy takes a path of up to 259 characters; a longer one is opened by the new start itself.
TEST_P(LongPath, GoesToTheRunningCopyOnlyBelowTwoHundredSixtyCharacters) {
    const size_t length = GetParam();
    const std::wstring file = clipOfLength(length);
    const std::wstring name = file.substr(file.rfind(L'\\') + 1);
    ASSERT_EQ(file.size(), length);
    ASSERT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(startIdle());
    PlayerProcess second;
    ASSERT_TRUE(launch(second, file));
    if (length < 260) {
        DWORD code = 1;
        ASSERT_TRUE(second.waitForExit(15000, &code)) << "the new start did not hand the file over";
        EXPECT_EQ(code, 0u);
        EXPECT_TRUE(waitForTitle(titleFor(name.c_str())));
        return;
    }
    ASSERT_TRUE(second.waitForWindow(15000)) << "the new start did not open a window of its own";
    EXPECT_TRUE(waitUntil([&] { return second.title() == titleFor(name.c_str()); }, 5000));
    EXPECT_TRUE(testregistry::read(testregistry::kNewFileValue).bytes.empty());
    EXPECT_EQ(player_.title(), kProductTitle);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongPath, ::testing::Values(259u, 260u, 300u));

}  // namespace
}  // namespace e2e
