// The main window as a user meets it: title, size, full screen, keys, the open dialog, the about box,
// the load-failure message, closing through the advertisement library, and the folder playlist.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/TestRegistry.h"
#include "e2e/PlayerFixture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

TEST_F(PlayerTest, StartUpTitleIsMediaPlayerUntilTheFirstTick) {
    // The window's creation text is there until its first tick (260 ms later) replaces it. On a loaded
    // machine this test may not get to look within those 260 ms, so a start whose first seen title is
    // already the product name is tried again; a player that never shows the creation text fails every try.
    std::wstring first;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_TRUE(startPlayer());
        ASSERT_TRUE(waitUntil(
            [&] {
                first = player_.title();
                return !first.empty();
            },
            5000, 1));
        if (first != kProductTitle) {
            break;
        }
    }
    EXPECT_EQ(first, L"Media Player");
    EXPECT_TRUE(waitForTitle(kProductTitle));
    // Once its loop runs the window takes dropped files.
    EXPECT_NE(GetWindowLongPtrW(player_.window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

// The first start on a screen of each scale: the window, the bar and its controls are the 96-DPI layout
// scaled, the window centred on the work area.
struct FirstStartCase {
    UINT dpi;
    int width, videoHeight, barHeight;
    RECT open, time, fullScreen;  // x, y, width, height in the bar
};

class FirstStart : public PlayerTest, public ::testing::WithParamInterface<FirstStartCase> {};

TEST_P(FirstStart, GivesTheDefaultSizeCentredOnTheWorkArea) {
    const FirstStartCase& c = GetParam();
    ASSERT_TRUE(startPlayerAtDpi(c.dpi));
    ASSERT_TRUE(waitForTitle(kProductTitle));
    const HWND main = player_.window();
    EXPECT_EQ(clientSize(main), (SIZE{c.width, c.videoHeight + c.barHeight}));
    ASSERT_NE(videoFrame(), nullptr);
    EXPECT_EQ(rectInParent(videoFrame()), (RECT{0, 0, c.width, c.videoHeight}));
    EXPECT_EQ(rectInParent(controlBar()), (RECT{0, c.videoHeight, c.width, c.videoHeight + c.barHeight}))
        << "the shipped bar background is 36 pixels high at 96 DPI";
    const std::pair<int, RECT> controls[] = {
        {IDC_BTN_OPEN, c.open}, {IDC_TIME_SLIDER, c.time}, {IDC_BTN_FULLSCREEN, c.fullScreen}};
    for (const auto& [id, r] : controls) {
        EXPECT_EQ(rectInParent(barControl(id)), xywh(r.left, r.top, r.right, r.bottom)) << id;
    }
    EXPECT_TRUE(testwin::centredOnWorkArea(main)) << testing::PrintToString(windowRect(main));
}

INSTANTIATE_TEST_SUITE_P(
    Scales, FirstStart,
    ::testing::Values(
        FirstStartCase{96, 672, 420, 36, {1, 2, 36, 32}, {149, 16, 391, 12}, {639, 5, 32, 26}},
        FirstStartCase{120, 840, 525, 45, {1, 2, 45, 40}, {185, 20, 491, 15}, {799, 6, 40, 33}},
        FirstStartCase{144, 1008, 630, 54, {2, 3, 54, 48}, {226, 24, 582, 18}, {958, 7, 48, 39}},
        FirstStartCase{192, 1344, 840, 72, {2, 4, 72, 64}, {298, 32, 782, 24}, {1278, 10, 64, 52}}),
    [](const auto& info) { return std::to_string(info.param.dpi) + "dpi"; });

// A placement saved on a second monitor to the right (as the two-monitor suite leaves one), opened where
// that monitor is gone: the window comes back on the monitor there is, its caption within reach.
TEST_F(PlayerTest, PlacementOfAMonitorThatIsGoneComesBackOnTheScreen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const auto saved = testregistry::placementOf(xywh(width + 120, 60, 700, 520));
    ASSERT_TRUE(testregistry::write(testregistry::kPlacementValue, REG_BINARY, &saved, sizeof(saved)));
    ASSERT_TRUE(startIdle());
    RECT window{};
    GetWindowRect(player_.window(), &window);
    const POINT corner{window.left, window.top};
    EXPECT_NE(MonitorFromPoint(corner, MONITOR_DEFAULTTONULL), nullptr)
        << "the window's corner is at " << corner.x << "," << corner.y;
    EXPECT_LE(window.right, width) << "the window reaches " << window.right;
}

struct ResizeCase {
    int clientWidth;
    int clientHeight;  // the video area's height; the bar comes on top of it
    int expectedWidth;
    int expectedHeight;
};

class MinimumSize : public PlayerTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(MinimumSize, SmallerWindowsGrowBackToTheMinimum) {
    ASSERT_TRUE(startIdle());
    const int bar = barHeight();
    const ResizeCase& c = GetParam();
    setClientSize(c.clientWidth, c.clientHeight + bar);
    const SIZE expected{c.expectedWidth, c.expectedHeight + bar};
    EXPECT_TRUE(waitUntil([&] { return clientSize(player_.window()) == expected; }, 5000))
        << "client " << testing::PrintToString(clientSize(player_.window())) << ", expected "
        << testing::PrintToString(expected);
}

INSTANTIATE_TEST_SUITE_P(Resizes, MinimumSize,
                         ::testing::Values(ResizeCase{200, 100, 480, 300},    // both too small
                                           ResizeCase{700, 120, 700, 300},    // only too low
                                           ResizeCase{300, 500, 480, 500},    // only too narrow
                                           ResizeCase{600, 400, 600, 400}));  // large enough

TEST_F(PlayerTest, FullScreenByFLeftByEscOrF) {
    ASSERT_TRUE(startIdle());
    const HWND main = player_.window();
    RECT windowed{};
    GetWindowRect(main, &windowed);

    player_.sendKey(VK_ESCAPE);  // nothing to leave yet
    ASSERT_TRUE(waitForQueue());
    RECT afterEsc{};
    GetWindowRect(main, &afterEsc);
    EXPECT_TRUE(EqualRect(&windowed, &afterEsc));
    EXPECT_EQ(GetWindowLongPtrW(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), WS_CAPTION | WS_THICKFRAME);

    player_.sendKey('F');
    ASSERT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000)) << "F did not switch to full screen";
    if (HWND frame = videoFrame()) {
        // The window takes the screen's size before the layout that follows it widens the video.
        RECT video{};
        EXPECT_TRUE(waitUntil(
            [&] {
                video = rectInParent(frame);
                return video.right - video.left == GetSystemMetrics(SM_CXSCREEN);
            },
            5000))
            << "the video is " << video.right - video.left << " pixels wide in full screen";
    }

    player_.sendKey(VK_ESCAPE);
    ASSERT_TRUE(waitUntil([&] { return !isFullScreen(); }, 5000)) << "Esc did not leave full screen";
    RECT restored{};
    EXPECT_TRUE(waitUntil(
        [&] {
            GetWindowRect(main, &restored);
            return EqualRect(&windowed, &restored) != FALSE;
        },
        5000))
        << "windowed rectangle not restored";
    EXPECT_EQ(GetWindowLongPtrW(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), WS_CAPTION | WS_THICKFRAME);

    // F toggles: a second F leaves full screen as well.
    player_.sendKey('F');
    ASSERT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000));
    player_.sendKey('F');
    EXPECT_TRUE(waitUntil([&] { return !isFullScreen(); }, 5000)) << "a second F did not leave full screen";
}

TEST_F(PlayerTest, SpacePlaysAStoppedFileAndTheTitleNamesIt) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    player_.sendKey(VK_SPACE);  // pause: the title keeps the file name
    ASSERT_TRUE(waitForQueue());
    EXPECT_EQ(player_.title(), titleFor(L"long.mpg"));
    player_.postCommand(ID_STOP);
    EXPECT_TRUE(waitForTitle(kProductTitle));
    player_.sendKey(VK_SPACE);  // stopped: Space plays again
    EXPECT_TRUE(waitForTitle(titleFor(L"long.mpg")));
}

TEST_F(PlayerTest, CommandLineFileThatIsNotMediaShowsTheLoadFailure) {
    ASSERT_TRUE(startPlayer(textFilePath()));
    const HWND box = player_.waitForMessageBox(kLoadFailure, 8000);
    ASSERT_NE(box, nullptr) << "no \"Could not load the file\" message";
    EXPECT_EQ(windowText(box), kProductTitle);
    EXPECT_TRUE(PlayerProcess::pressDialogButton(box, IDOK));
    // Start-up goes on with nothing loaded.
    EXPECT_TRUE(waitForTitle(kProductTitle));
    EXPECT_TRUE(player_.running());
}

// The dialog opens on "Media Files"; a file that is not media, chosen with "All Files", can't be loaded.
TEST_F(PlayerTest, OpenDialogWithAFileThatIsNotMediaShowsTheLoadFailure) {
    ASSERT_TRUE(startIdle());
    ASSERT_TRUE(openThroughDialog(textFilePath(), [](HWND dialog) {
        const HWND types = GetDlgItem(dialog, 0x470);
        const auto chosen = [types] {
            wchar_t text[64] = L"";
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(types, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                                &ignored);
            return std::wstring(text);
        };
        EXPECT_EQ(chosen(), L"Media Files");
        EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 4);
        SendMessageW(types, CB_SETCURSEL, 3, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        EXPECT_EQ(chosen(), L"All Files (*.*)");
    }));
    const HWND box = player_.waitForMessageBox(kLoadFailure, 5000);
    ASSERT_NE(box, nullptr) << "no \"Could not load the file\" message";
    EXPECT_TRUE(PlayerProcess::pressDialogButton(box, IDOK));
    EXPECT_EQ(player_.title(), kProductTitle);
}

TEST_F(PlayerTest, OpenDialogPlaysTheChosenClipAndCancelDoesNothing) {
    ASSERT_TRUE(startIdle());
    player_.postCommand(ID_FILE_OPEN);
    const HWND dialog = player_.waitForDialog(isOpenDialog, 5000);
    ASSERT_NE(dialog, nullptr) << "no open dialog";
    EXPECT_TRUE(PlayerProcess::pressDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(waitForQueue());
    EXPECT_EQ(player_.findDialog(), nullptr) << "something appeared after cancelling";
    EXPECT_EQ(player_.title(), kProductTitle);

    ASSERT_TRUE(openThroughDialog(longClipPath()));
    EXPECT_TRUE(waitForTitle(titleFor(L"long.mpg")));
}

TEST_F(PlayerTest, AboutBoxShowsTheVersionAndClosesWithOk) {
    ASSERT_TRUE(startIdle());
    player_.postCommand(ID_HELP_ABOUT);  // what Alt+/ and Alt+? send
    const HWND about = player_.waitForDialog(isAboutBox, 5000);
    ASSERT_NE(about, nullptr) << "no about box";
    EXPECT_EQ(GetWindow(about, GW_OWNER), player_.window());
    EXPECT_EQ(windowText(GetDlgItem(about, IDC_ABOUT_TEXT)), L"Velmora Player, Version 1.0");
    EXPECT_TRUE(PlayerProcess::pressDialogButton(about, IDOK));
    EXPECT_TRUE(player_.running());
}

TEST_F(PlayerTest, CloseCancelledByTheAdvertisementKeepsPlaying) {
    ASSERT_TRUE(startPlayer(longClipPath(), 2));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    player_.requestClose();
    ASSERT_TRUE(waitUntil([&] { return !adsCalls().empty(); }, 5000)) << "libads_show was not called";
    ASSERT_TRUE(waitForQueue());
    EXPECT_TRUE(player_.running());
    EXPECT_TRUE(IsWindow(player_.window()));
    EXPECT_TRUE(IsWindowVisible(player_.window()));
    EXPECT_EQ(player_.title(), titleFor(L"long.mpg"));
    EXPECT_EQ(adsCalls().size(), 1u);
}

struct CloseCase {
    const char* how;
    bool byExitCommand;
};

class AcceptedClose : public PlayerTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(AcceptedClose, EndsTheProcessWithCodeZeroAfterTheAdvertisement) {
    ASSERT_TRUE(startIdle());
    const HWND main = player_.window();
    if (GetParam().byExitCommand) {
        player_.postCommand(ID_FILE_EXIT);
    } else {
        player_.requestClose();
    }
    DWORD code = 0xFFFF;
    ASSERT_TRUE(player_.waitForExit(10000, &code)) << "the player did not exit";
    EXPECT_EQ(code, 0u);
    const auto calls = adsCalls();
    ASSERT_EQ(calls.size(), 1u);
    const std::string expectedStart =
        std::to_string(reinterpret_cast<UINT_PTR>(main)) + "\tVelmora Player\thttp";
    EXPECT_EQ(calls[0].rfind(expectedStart, 0), 0u) << calls[0];
    const std::string path = "/ads/velmoraplayer/ads.php";
    ASSERT_GE(calls[0].size(), path.size());
    EXPECT_EQ(calls[0].substr(calls[0].size() - path.size()), path) << calls[0];
}

INSTANTIATE_TEST_SUITE_P(Ways, AcceptedClose,
                         ::testing::Values(CloseCase{"frame", false}, CloseCase{"exit", true}),
                         [](const auto& info) { return std::string(info.param.how); });

TEST_F(PlayerTest, QuotedCommandLineWithSpacesOpensTheFile) {
    ASSERT_TRUE(startPlayer(L"\"" + videoPath(L"a.mpg") + L"\""));
    EXPECT_TRUE(waitForTitle(titleFor(L"a.mpg")));
}

// Each title seen, in order, without repeats.
std::vector<std::wstring> watchTitles(PlayerProcess& player, DWORD forMs,
                                      const std::function<bool(const std::vector<std::wstring>&)>& done) {
    std::vector<std::wstring> seen;
    waitUntil(
        [&] {
            const std::wstring title = player.title();
            if (seen.empty() || seen.back() != title) {
                seen.push_back(title);
            }
            return done(seen);
        },
        forMs, 10);
    return seen;
}

TEST_F(PlayerTest, EndOfAFileMovesToTheNextOneAndStopsAfterTheLast) {
    ASSERT_TRUE(startPlayer(videoPath(L"a.mpg")));  // a path with a blank, unquoted
    const std::wstring idle = kProductTitle;
    DWORD idleSince = 0;
    const auto seen = watchTitles(player_, 30000, [&](const std::vector<std::wstring>& titles) {
        // Done once c.mpg was seen and the title has then shown the product name alone for 2 s.
        bool sawLast = false;
        for (const auto& t : titles) {
            sawLast = sawLast || t == titleFor(L"c.mpg");
        }
        if (!sawLast || titles.back() != idle) {
            idleSince = 0;
            return false;
        }
        if (idleSince == 0) {
            idleSince = GetTickCount();
        }
        return GetTickCount() - idleSince >= 2000;
    });
    std::vector<std::wstring> named;
    for (const auto& t : seen) {
        if (t != idle && t != L"Media Player") {
            named.push_back(t);
        }
    }
    EXPECT_EQ(named, (std::vector<std::wstring>{titleFor(L"a.mpg"), titleFor(L"b.mpg"), titleFor(L"c.mpg")}));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), idle);
}

}  // namespace
}  // namespace e2e
