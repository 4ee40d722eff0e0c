#include <gtest/gtest.h>

#include <ostream>
#include <windows.h>

#include "common/DibCanvas.h"
#include "common/MainWindowFixture.h"
#include "resource.h"
#include "ui/PlayWnd.h"
#include "ui/VideoLayout.h"
#include "common/WindowRects.h"

namespace {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 400;
constexpr int kLogoWidth = 316;
constexpr int kLogoHeight = 155;

using testwin::rectInParent;

bool visible(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

TEST(VideoLayoutNumbers, LinkInTheTopRightCornerAndSurfaceBelowIt) {
    const SIZE link{120, 20};
    const VideoLayout placed = computeVideoLayout(640, 400, &link);
    EXPECT_EQ(placed.link, (RECT{640 - 120 - 5, 5, 635, 25}));
    EXPECT_EQ(placed.surface, (RECT{0, 30, 640, 405}));
}

TEST(VideoLayoutNumbers, MarginsFollowTheDpi) {
    const SIZE link{180, 30};
    const VideoLayout placed = computeVideoLayout(960, 600, &link, 144);  // 5 -> 8 and 10 -> 15 pixels
    EXPECT_EQ(placed.link.left, 960 - 180 - 8);
    EXPECT_EQ(placed.link.top, 8);
    EXPECT_EQ(placed.surface.top, 30 + 15);
    EXPECT_EQ(placed.surface.bottom, 45 + 600 - 30 - 8);
}

TEST(VideoLayoutNumbers, WithoutALinkTheSurfaceStartsAtTen) {
    const VideoLayout placed = computeVideoLayout(300, 200, nullptr);
    EXPECT_EQ(placed.surface.top, 10);
    EXPECT_EQ(placed.surface.bottom, 205);
    EXPECT_EQ(placed.surface.right, 300);
}

// The single video window, created in the stand-in main window, with its frame at 640 x 400.
class VideoWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        video = PlayWnd::instance();
        appState().videoWindow = video;
        video->setLinks(appWindowLinks());
        ASSERT_TRUE(video->create(GetModuleHandleW(nullptr), mainWindow));
        ASSERT_NE(video->frameWindow(), nullptr);
        MoveWindow(video->frameWindow(), 0, 0, kFrameWidth, kFrameHeight, TRUE);  // WM_SIZE lays it out
    }
    void TearDown() override {
        PlayWnd::destroyInstance();
        MainWindowFixture::TearDown();
    }

    // Paints into a 640 x 400 bitmap first filled white; counts the pixels that are not black inside
    // and outside the centred logo rectangle.
    struct PaintResult {
        int nonBlackInLogo = 0;
        int nonBlackOutside = 0;
    };
    PaintResult paintAndCount(bool isSurface) {
        DibCanvas canvas(kFrameWidth, kFrameHeight, 0xFFFFFF);
        PaintResult result;
        if (!canvas.ready()) {
            ADD_FAILURE() << "no bitmap to paint into";
            return result;
        }
        video->paint(canvas.dc(), isSurface);
        GdiFlush();
        const RECT logo{(kFrameWidth - kLogoWidth) / 2, (kFrameHeight - kLogoHeight) / 2,
                        (kFrameWidth + kLogoWidth) / 2, (kFrameHeight + kLogoHeight) / 2};
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                if (canvas.rgb(x, y) == 0) {
                    continue;
                }
                const POINT p{x, y};
                ++(PtInRect(&logo, p) ? result.nonBlackInLogo : result.nonBlackOutside);
            }
        }
        return result;
    }

    PlayWnd* video = nullptr;
};

TEST_F(VideoWindow, FrameIsAChildOfTheMainWindowWithTheLinkInside) {
    HWND frame = video->frameWindow();
    EXPECT_EQ(GetParent(frame), mainWindow);
    EXPECT_FALSE(visible(frame)) << "the main window's layout shows the frame";
    HWND link = video->linkWindow();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(GetParent(link), frame);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    ASSERT_NE(GetObjectW(font, sizeof(logical), &logical), 0);
    EXPECT_TRUE(logical.lfUnderline);
    EXPECT_EQ(video->surfaceWindow(), nullptr);
}

// The cursor hides over the video only: not over a dialog of the player's own that covers the video.
TEST_F(VideoWindow, PointerIsOverTheVideoOnlyWhenNoWindowCoversIt) {
    ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
    ShowWindow(video->frameWindow(), SW_SHOWNOACTIVATE);
    RECT frame{};
    GetWindowRect(video->frameWindow(), &frame);
    const POINT centre{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    EXPECT_TRUE(video->pointerOverVideo(centre));
    HWND dialog =
        CreateWindowExW(WS_EX_TOPMOST, L"#32770", L"", WS_POPUP | WS_VISIBLE, centre.x - 20, centre.y - 20,
                        40, 40, mainWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(video->pointerOverVideo(centre));
    DestroyWindow(dialog);
    EXPECT_FALSE(video->pointerOverVideo(POINT{frame.left - 50, frame.top - 50}));
}

// Pause, move the pointer over the video, leave it, press Space: a pointer that has rested 5 s since it
// moved hides on the first playing tick, one moved just before still waits its 5 s. The tick doesn't read
// the pointer while nothing plays; the movement reaches the window under it (the picture, or the frame
// around it) as the system reports it.
TEST_F(VideoWindow, PointerMovedWhilePausedRestsFromItsMovement) {
    struct Case {
        DWORD movedAt, resumedAt;  // milliseconds after the pause
        bool overPicture;          // else over the frame's strip above the picture
        bool hiddenAtResume;
    };
    const std::shared_ptr<FakePlayerLog> log = installControllerWithPlayer();
    DWORD now = 100000;
    WindowLinks links = appWindowLinks();
    links.tickCount = [&now] { return now; };
    video->setLinks(links);
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    video->showSurface(true);
    ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
    ShowWindow(video->frameWindow(), SW_SHOWNOACTIVATE);
    RECT frame{};
    GetWindowRect(video->frameWindow(), &frame);
    const POINT rest{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    for (const Case& c :
         {Case{2000, 12000, true, true}, Case{2000, 12000, false, true}, Case{11000, 12000, true, false}}) {
        SCOPED_TRACE(testing::Message() << "moved " << c.movedAt << " ms into the pause"
                                        << (c.overPicture ? " over the picture" : " over the frame"));
        const DWORD paused = now;
        log->state = StatePaused;
        ASSERT_TRUE(SetCursorPos(rest.x, rest.y));
        video->loadLogo();  // a fresh rest at the pointer's place
        video->checkCursorIdle();

        now = paused + c.movedAt;
        const POINT moved = c.overPicture ? POINT{rest.x + 40, rest.y + 20} : POINT{rest.x, frame.top + 4};
        ASSERT_TRUE(SetCursorPos(moved.x, moved.y));
        HWND under = WindowFromPoint(moved);
        ASSERT_EQ(under, c.overPicture ? video->surfaceWindow() : video->frameWindow());
        POINT client = moved;
        ScreenToClient(under, &client);
        SendMessageW(under, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        video->checkCursorIdle();

        now = paused + c.resumedAt;
        log->state = StatePlaying;
        video->checkCursorIdle();
        EXPECT_EQ(video->cursorHidden(), c.hiddenAtResume);
        now = paused + std::max(c.resumedAt, c.movedAt + CursorIdle::kIdleDelayMs);
        video->checkCursorIdle();
        EXPECT_TRUE(video->cursorHidden());
        now += 1000;
    }
}

TEST_F(VideoWindow, SecondCreateKeepsTheFrame) {
    HWND frame = video->frameWindow();
    EXPECT_TRUE(video->create(GetModuleHandleW(nullptr), mainWindow));
    EXPECT_EQ(video->frameWindow(), frame);
}

TEST_F(VideoWindow, LayoutPutsTheLinkFivePixelsFromTopAndRight) {
    const RECT link = rectInParent(video->linkWindow());
    EXPECT_EQ(link.top, 5);
    EXPECT_EQ(link.right, kFrameWidth - 5);
    EXPECT_GT(link.bottom - link.top, 0);
}

TEST_F(VideoWindow, OpenForTheLibraryPlayerMakesAHiddenClippingSurfaceBelowTheLink) {
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    HWND surface = video->surfaceWindow();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(GetParent(surface), video->frameWindow());
    EXPECT_FALSE(visible(surface));
    EXPECT_NE(GetWindowLongPtrW(surface, GWL_STYLE) & WS_CLIPCHILDREN, 0);

    const RECT link = rectInParent(video->linkWindow());
    EXPECT_EQ(rectInParent(surface), (RECT{0, (link.bottom - link.top) + 10, kFrameWidth, kFrameHeight + 5}));
}

TEST_F(VideoWindow, ResizingTheFrameMovesLinkAndSurface) {
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    MoveWindow(video->frameWindow(), 0, 0, 500, 300, TRUE);
    EXPECT_EQ(rectInParent(video->linkWindow()).right, 495);
    EXPECT_EQ(rectInParent(video->surfaceWindow()).bottom, 305);
}

TEST_F(VideoWindow, OpenForFlashHasNoSurfaceAndFails) {
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    HWND old = video->surfaceWindow();
    EXPECT_FALSE(video->open(PlayerFlash, GetModuleHandleW(nullptr)));
    EXPECT_EQ(video->surfaceWindow(), nullptr);
    EXPECT_FALSE(IsWindow(old));
}

TEST_F(VideoWindow, SameTypeKeepsTheSurfaceAndHidesIt) {
    installControllerWithPlayer();
    appState().controller->setPlayerKind(PlayerVlc);
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    HWND surface = video->surfaceWindow();
    video->showSurface(true);
    ASSERT_TRUE(visible(surface));
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    EXPECT_EQ(video->surfaceWindow(), surface);
    EXPECT_FALSE(visible(surface));
}

TEST_F(VideoWindow, WithoutAMatchingLoadedKindTheSurfaceIsRemade) {
    // No controller: nothing of type 1 was loaded, so the surface can't be reused.
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    HWND first = video->surfaceWindow();
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    EXPECT_NE(video->surfaceWindow(), nullptr);
    EXPECT_NE(video->surfaceWindow(), first);
    EXPECT_FALSE(IsWindow(first));
}

TEST_F(VideoWindow, ShowSurfaceTogglesVisibilityAndIgnoresAMissingSurface) {
    video->showSurface(true);  // no surface yet: nothing to do, nothing to crash
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    video->showSurface(true);
    EXPECT_TRUE(visible(video->surfaceWindow()));
    video->showSurface(false);
    EXPECT_FALSE(visible(video->surfaceWindow()));
}

TEST_F(VideoWindow, IdleFrameShowsTheLogoCentredOnBlack) {
    const PaintResult painted = paintAndCount(false);
    EXPECT_GT(painted.nonBlackInLogo, 100);
    EXPECT_EQ(painted.nonBlackOutside, 0);
}

TEST_F(VideoWindow, SurfacePaintIsBlackOnly) {
    const PaintResult painted = paintAndCount(true);
    EXPECT_EQ(painted.nonBlackInLogo, 0);
    EXPECT_EQ(painted.nonBlackOutside, 0);
}

struct PaintCase {
    const char* name;
    int state;
    bool surfaceShown;
    bool logoExpected;
};

void PrintTo(const PaintCase& c, std::ostream* os) {
    *os << c.name;
}

class VideoWindowPaint : public VideoWindow, public testing::WithParamInterface<PaintCase> {};

TEST_P(VideoWindowPaint, LogoOnlyWhileNoPictureIsOnScreen) {
    const PaintCase& c = GetParam();
    auto player = installControllerWithPlayer();
    player->state = c.state;
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    video->showSurface(c.surfaceShown);
    const PaintResult painted = paintAndCount(false);
    EXPECT_EQ(painted.nonBlackInLogo > 0, c.logoExpected);
    EXPECT_EQ(painted.nonBlackOutside, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, VideoWindowPaint,
                         testing::Values(PaintCase{"PlayingWithSurface", StatePlaying, true, false},
                                         PaintCase{"PausedWithSurface", StatePaused, true, false},
                                         PaintCase{"PlayingSurfaceHidden", StatePlaying, false, true},
                                         PaintCase{"StoppedWithSurface", StateStopped, true, true},
                                         PaintCase{"EndedWithSurface", StateEnded, true, true}),
                         [](const testing::TestParamInfo<PaintCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(VideoWindow, DoubleClickTogglesFullScreenThroughTheMainWindow) {
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    struct {
        HWND target;
        BOOL fullScreen;
        int command;
    } const cases[] = {
        {video->frameWindow(), FALSE, ID_FULLSCREEN},
        {video->frameWindow(), TRUE, ID_LEAVE_FULLSCREEN},
        {video->surfaceWindow(), FALSE, ID_FULLSCREEN},
        {video->surfaceWindow(), TRUE, ID_LEAVE_FULLSCREEN},
    };
    for (const auto& c : cases) {
        appState().fullScreen = c.fullScreen;
        SendMessageW(c.target, WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(takePostedCommand(mainWindow), c.command);
        EXPECT_EQ(takePostedCommand(mainWindow), -1) << "one command per double-click";
    }
}

TEST_F(VideoWindow, FrameColoursItsLinkLightGrey) {
    MemoryDC dc;
    SetTextColor(dc.get(), RGB(1, 2, 3));
    const LRESULT brush =
        SendMessageW(video->frameWindow(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                     reinterpret_cast<LPARAM>(video->linkWindow()));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetTextColor(dc.get()), RGB(192, 192, 192));
}

// The menu this thread showed when the timer below fired, if any.
HMENU g_shownMenu = nullptr;

// Notes the menu on the screen, then ends the menu loop as a user pressing Escape would.
void CALLBACK endMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const HWND shown = FindWindowW(L"#32768", nullptr);
    if (shown != nullptr && IsWindowVisible(shown) &&
        GetWindowThreadProcessId(shown, nullptr) == GetCurrentThreadId()) {
        g_shownMenu = reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0));
    }
    EndMenu();
}

TEST_F(VideoWindow, DismissedMenuPostsNothingAndIsDestroyed) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CONTEXTMENU));
    ASSERT_NE(menu, nullptr);
    const HMENU popup = GetSubMenu(menu, 0);
    ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
    g_shownMenu = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &endMenuSoon);
    video->trackContextMenu(menu);
    KillTimer(nullptr, timer);  // when the menu never ran its loop
    EXPECT_EQ(g_shownMenu, popup) << "the context menu was not on the screen";
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(takePostedCommand(mainWindow), -1);
}

TEST_F(VideoWindow, DestroyWindowsForgetsEveryWindowAndMayRunTwice) {
    ASSERT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
    HWND frame = video->frameWindow();
    HWND surface = video->surfaceWindow();
    HWND link = video->linkWindow();
    video->destroyWindows();
    EXPECT_EQ(video->frameWindow(), nullptr);
    EXPECT_EQ(video->surfaceWindow(), nullptr);
    EXPECT_EQ(video->linkWindow(), nullptr);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(surface));
    EXPECT_FALSE(IsWindow(link));
    video->destroyWindows();
    video->showSurface(true);
    video->layout();
    video->checkCursorIdle();
}

TEST_F(VideoWindow, ControllerWithoutPlayerIsHandled) {
    appState().controller =
        std::make_unique<PlayLogic>([](int) -> std::unique_ptr<MediaPlayer> { return nullptr; });
    EXPECT_GT(paintAndCount(false).nonBlackInLogo, 0);
    video->checkCursorIdle();
    EXPECT_TRUE(video->open(PlayerVlc, GetModuleHandleW(nullptr)));
}

}  // namespace
