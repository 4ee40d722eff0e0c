// Two copies of the player at once: a start with a file hands it to the running copy; anything that
// doesn't answer in time never stops a start. And the window placement from one run to the next.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/TestRegistry.h"
#include "e2e/PlayerFixture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

constexpr UINT kPing = 0x81F7;
constexpr DWORD kPingLimitMs = 3000;

DWORD publishedHandle() {
    const testregistry::Value value = testregistry::read(testregistry::kHandOffKey, L"MainFrame_Handle");
    DWORD handle = 0;
    if (value.type == REG_DWORD && value.bytes.size() == sizeof(handle)) {
        std::memcpy(&handle, value.bytes.data(), sizeof(handle));
    }
    return handle;
}

DWORD numberOf(HWND window) {
    return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
}

// A window of this test process that a stale "MainFrame_Handle" may name by now: one that is gone,
// one of another program that ignores the ping, or one whose program hangs while it handles the ping.
class ForeignWindow {
public:
    enum Kind { Gone, Silent, Hanging };

    explicit ForeignWindow(Kind kind) : kind_(kind) {
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &ForeignWindow::threadMain, this, 0, nullptr);
        WaitForSingleObject(ready_, 5000);
    }
    ~ForeignWindow() {
        SetEvent(release_);
        PostMessageW(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
        CloseHandle(release_);
    }
    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ForeignWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == kPing && self && self->kind_ == Hanging) {
            WaitForSingleObject(self->release_, INFINITE);
        }
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static DWORD WINAPI threadMain(void* param) {
        auto* self = static_cast<ForeignWindow*>(param);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ForeignWindow::proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VelmoraForeignWindow";
        RegisterClassW(&windowClass);
        self->window_ = CreateWindowExW(0, windowClass.lpszClassName, L"Another program", WS_OVERLAPPEDWINDOW,
                                        10, 10, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(self->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ShowWindow(self->window_, SW_SHOWNORMAL);
        if (self->kind_ == Gone) {
            DestroyWindow(self->window_);
        }
        SetEvent(self->ready_);
        MSG message;
        while (self->kind_ != Gone && GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        return 0;
    }

    Kind kind_;
    HWND window_ = nullptr;
    HANDLE release_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
};

struct HandOverCase {
    const char* what;
    bool playable;
};

class HandOver : public PlayerTest, public ::testing::WithParamInterface<HandOverCase> {};

TEST_P(HandOver, SecondStartExitsWithoutAWindowAndTheFirstOpensTheFile) {
    ASSERT_TRUE(startIdle());
    ForeignWindow other(ForeignWindow::Silent);
    ASSERT_TRUE(waitUntil([&] { return SetForegroundWindow(other.window()) != FALSE; }, 5000));
    const WINDOWPLACEMENT saved{sizeof(WINDOWPLACEMENT), 0, SW_SHOWNORMAL, {-1, -1}, {-1, -1},
                                {90, 80, 800, 600}};
    testregistry::write(testregistry::kPlacementKey, L"MAIN_WP", REG_BINARY, &saved, sizeof(saved));

    const std::wstring file = GetParam().playable ? videoPath(L"b.mpg") : textFilePath();
    PlayerProcess second;
    ASSERT_TRUE(launch(second, file));
    bool secondShowedAWindow = false;
    waitUntil(
        [&] {
            secondShowedAWindow |= !topLevelWindows(second.processId(), L"Player_WndClass").empty();
            return !second.running();
        },
        15000, 2);
    DWORD code = 1;
    ASSERT_TRUE(second.waitForExit(0, &code)) << "the second copy did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(secondShowedAWindow);
    const testregistry::Value stored = testregistry::read(testregistry::kHandOffKey, L"MainFrame_NewFile");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.bytes.size(), (file.size() + 1) * 2) << "the path with its NUL";
    const testregistry::Value placement = testregistry::read(testregistry::kPlacementKey, L"MAIN_WP");
    ASSERT_EQ(placement.bytes.size(), sizeof(saved));
    EXPECT_EQ(std::memcmp(placement.bytes.data(), &saved, sizeof(saved)), 0) << "not the placement it read";

    if (GetParam().playable) {
        EXPECT_TRUE(waitForTitle(titleFor(L"b.mpg")));
        EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == player_.window(); }, 5000))
            << "the first copy did not come to the front";
    } else {
        const HWND box = player_.waitForMessageBox(kLoadFailure, 8000);
        ASSERT_NE(box, nullptr) << "no \"Could not load the file\" message";
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }, 5000));
        EXPECT_EQ(player_.title(), kProductTitle);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HandOver,
                         ::testing::Values(HandOverCase{"playable", true}, HandOverCase{"notMedia", false}),
                         [](const auto& info) { return std::string(info.param.what); });

class NoHandOver : public PlayerTest, public ::testing::WithParamInterface<const wchar_t*> {};

// From then on the second window is the one that receives files.
TEST_P(NoHandOver, SecondStartOpensItsOwnWindowAndTakesOverTheHandle) {
    ASSERT_TRUE(startIdle());
    EXPECT_EQ(publishedHandle(), numberOf(player_.window()));
    PlayerProcess second;
    ASSERT_TRUE(launch(second, GetParam()));
    ASSERT_TRUE(second.waitForWindow(15000)) << "no second window";
    EXPECT_TRUE(waitUntil([&] { return publishedHandle() == numberOf(second.window()); }, 5000));

    PlayerProcess third;
    ASSERT_TRUE(launch(third, videoPath(L"c.mpg")));
    DWORD code = 1;
    EXPECT_TRUE(third.waitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(waitUntil([&] { return second.title() == titleFor(L"c.mpg"); }, 5000));
    EXPECT_EQ(player_.title(), kProductTitle);
}

INSTANTIATE_TEST_SUITE_P(Tails, NoHandOver, ::testing::Values(L"", L"Z:\\no such folder\\missing.mpg"));

class UnansweredPing : public PlayerTest, public ::testing::WithParamInterface<ForeignWindow::Kind> {};

TEST_P(UnansweredPing, NeverStopsANormalStart) {
    ForeignWindow stale(GetParam());
    const DWORD handle = numberOf(stale.window());
    ASSERT_TRUE(testregistry::write(testregistry::kHandOffKey, L"MainFrame_Handle", REG_DWORD, &handle, 4));
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(startPlayer(videoPath(L"a.mpg")));
    const ULONGLONG tookMs = GetTickCount64() - started;
    RecordProperty("start_ms", static_cast<int>(tookMs));
    EXPECT_LT(tookMs, kPingLimitMs + 5000u);
    EXPECT_TRUE(waitForTitle(titleFor(L"a.mpg")));
    EXPECT_EQ(publishedHandle(), numberOf(player_.window()));
}

INSTANTIATE_TEST_SUITE_P(Windows, UnansweredPing,
                         ::testing::Values(ForeignWindow::Gone, ForeignWindow::Silent,
                                           ForeignWindow::Hanging));

// A path the running copy could not take is opened by the new start itself.
TEST_F(PlayerTest, PathOfTwoHundredSixtyCharactersOrMoreOpensInTheNewStart) {
    std::wstring folder = videosFolder();
    while (folder.size() < 270) {
        folder += L"\\a rather long folder name";
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    const std::wstring file = folder + L"\\deep.mpg";
    ASSERT_TRUE(CopyFileW(videoPath(L"a.mpg").c_str(), file.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(startIdle());
    PlayerProcess second;
    ASSERT_TRUE(launch(second, file));
    ASSERT_TRUE(second.waitForWindow(15000)) << "the new start did not open a window of its own";
    EXPECT_TRUE(waitUntil([&] { return second.title() == titleFor(L"deep.mpg"); }, 5000));
    EXPECT_FALSE(testregistry::read(testregistry::kHandOffKey, L"MainFrame_NewFile").present);
    EXPECT_EQ(player_.title(), kProductTitle);
}

struct ClosedCase {
    const char* what;
    UINT command;  // 0: close as it is
    UINT savedShow;
};

class ClosedState : public PlayerTest, public ::testing::WithParamInterface<ClosedCase> {};

TEST_P(ClosedState, IsSavedAndIsWhatTheNextStartShows) {
    ASSERT_TRUE(startIdle());
    RECT windowed{};
    GetWindowRect(player_.window(), &windowed);
    const ClosedCase& c = GetParam();
    if (c.command == SC_MAXIMIZE) {
        PostMessageW(player_.window(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        ASSERT_TRUE(waitUntil([&] { return IsZoomed(player_.window()) != FALSE; }, 5000));
    } else if (c.command != 0) {
        player_.postCommand(c.command);
        ASSERT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000));
    }
    player_.requestClose();
    ASSERT_TRUE(player_.waitForExit(10000));

    const testregistry::Value stored = testregistry::read(testregistry::kPlacementKey, L"MAIN_WP");
    ASSERT_EQ(stored.bytes.size(), sizeof(WINDOWPLACEMENT));
    WINDOWPLACEMENT saved{};
    std::memcpy(&saved, stored.bytes.data(), sizeof(saved));
    EXPECT_EQ(saved.showCmd, c.savedShow);
    EXPECT_TRUE(EqualRect(&saved.rcNormalPosition, &windowed)) << "not the windowed rectangle";

    ASSERT_TRUE(startIdle());
    EXPECT_EQ(IsZoomed(player_.window()) != FALSE, c.savedShow == SW_SHOWMAXIMIZED);
    ShowWindow(player_.window(), SW_RESTORE);
    RECT reopened{};
    EXPECT_TRUE(waitUntil(
        [&] {
            GetWindowRect(player_.window(), &reopened);
            return EqualRect(&reopened, &windowed) != FALSE;
        },
        5000))
        << "the window did not reopen where it was";
}

INSTANTIATE_TEST_SUITE_P(States, ClosedState,
                         ::testing::Values(ClosedCase{"restored", 0, SW_SHOWNORMAL},
                                           ClosedCase{"maximised", SC_MAXIMIZE, SW_SHOWMAXIMIZED},
                                           ClosedCase{"fullScreen", ID_FULLSCREEN, SW_SHOWNORMAL}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace e2e
