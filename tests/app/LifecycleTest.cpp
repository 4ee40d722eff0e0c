#include <fstream>
#include <sstream>

#include "AppTestSupport.h"
#include "app/MediaPlayerApp.h"
#include "app/window/Placement.h"
#include "common/FakePlayer.h"
#include "common/MessagePump.h"
#include "common/TempFolder.h"
#include "common/TestRegistry.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"
#include "ui/PlayBar.h"
#include "ui/PlayWnd.h"

namespace {

using apptest::clientSize;
using testwin::rectInParent;

using LifecycleTest = apptest::StartedPlayerTest;

// How often the main window changed its size or place while it was shown. The show itself only puts the
// window on the screen where and as large as it first appears.
int g_movesOnScreen = 0;
LRESULT CALLBACK countMovesOnScreen(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED && call->hwnd == appState().mainWindow &&
        IsWindowVisible(call->hwnd)) {
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags;
        const UINT still = SWP_NOSIZE | SWP_NOMOVE;
        g_movesOnScreen += (flags & SWP_SHOWWINDOW) == 0 && (flags & still) != still ? 1 : 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct ShownCase {
    const char* what;
    UINT saved;  // show command of the placement stored by the last run; 0: none stored
    int startShow;
    bool maximised;  // once shown, or once restored when the start asked for it minimised
};

class ShownWindow : public LifecycleTest, public ::testing::WithParamInterface<ShownCase> {};

// The window is shown at its first size and place, maximised at once when it was closed maximised: nothing
// of it moves on screen afterwards, and a maximised window still restores to the stored rectangle.
TEST_P(ShownWindow, StartsWithEveryComponentLaidOut) {
    const ShownCase& c = GetParam();
    const RECT stored{100, 120, 900, 700};
    if (c.saved != 0) {
        appState().placement = testregistry::placementOf(stored, c.saved);
        appState().placementValid = TRUE;
    }
    g_movesOnScreen = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, countMovesOnScreen, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const bool started = createMainWindow(instance, c.startShow);
    pumpPending();  // whatever the start left for the message loop
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(started);
    EXPECT_EQ(g_movesOnScreen, 0);
    const AppState& state = appState();
    HWND window = state.mainWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(IsIconic(window) != FALSE, c.startShow == SW_SHOWMINNOACTIVE);
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    EXPECT_EQ(IsZoomed(window) != FALSE, c.maximised);
    WINDOWPLACEMENT placed{};
    placed.length = sizeof(placed);
    ASSERT_TRUE(GetWindowPlacement(window, &placed));
    const SIZE client = clientSize(window);
    if (c.saved != 0) {
        EXPECT_EQ(placed.rcNormalPosition, stored);
    } else {
        EXPECT_EQ(client, (SIZE{672, 456}));  // the video's 420 and the bar's 36
    }
    EXPECT_EQ(state.instance, instance);
    EXPECT_EQ(apptest::windowText(window), L"Media Player");
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(state.controller);
    EXPECT_EQ(state.controller->volume(), 100);
    EXPECT_EQ(state.controller->player(), nullptr);
    EXPECT_NE(state.timerId, 0u);
    EXPECT_TRUE(state.layoutEnabled);

    ASSERT_NE(state.controlBar, nullptr);
    HWND bar = state.controlBar->window();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), window);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_NE(state.controlBar->tooltip(), nullptr);
    EXPECT_EQ(rectInParent(bar), (RECT{0, client.cy - 36, client.cx, client.cy}));
    ASSERT_NE(state.videoWindow, nullptr);
    HWND frame = state.videoWindow->frameWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(GetParent(frame), window);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(rectInParent(frame), (RECT{0, 0, client.cx, client.cy - 36}));
}

INSTANTIATE_TEST_SUITE_P(Shows, ShownWindow,
                         ::testing::Values(ShownCase{"firstStart", 0, SW_SHOWNORMAL, false},
                                           ShownCase{"savedMaximised", SW_SHOWMAXIMIZED, SW_SHOWNORMAL, true},
                                           ShownCase{"savedMaximisedStartedMinimised", SW_SHOWMAXIMIZED,
                                                     SW_SHOWMINNOACTIVE, true}),
                         [](const auto& info) { return std::string(info.param.what); });

// WM_DPICHANGED (the window moved to a monitor of another scale, or the scale changed): the window takes
// the suggested rectangle (grown to the minimum of the new scale), the bar its height and time font, the
// link its font and place, the icon its size; in full screen the window covers the monitor instead. The
// DPI comes from the message: the system's own answer for the window doesn't change in this test.
TEST_F(LifecycleTest, DpiChangeTakesTheSuggestedRectangleAndScalesEverything) {
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    const AppState& state = appState();
    HWND window = state.mainWindow;
    HWND link = state.videoWindow->linkWindow();
    const LONG linkFont96 = apptest::fontHeightOf(link);
    ASSERT_LT(linkFont96, 0);

    RECT suggested{40, 30, 40 + 1030, 30 + 740};
    // During start-up (the saved placement put the window on a monitor of another scale) the placement's
    // rectangle stands; only the scale changes.
    const RECT placed = apptest::windowRect(window);
    appState().layoutEnabled = FALSE;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(apptest::windowRect(window), placed);
    EXPECT_EQ(state.controlBar->height(), 54);
    appState().layoutEnabled = TRUE;

    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(state.dpi, 144u);
    EXPECT_EQ(apptest::windowRect(window), suggested);
    const SIZE client = clientSize(window);
    HWND bar = state.controlBar->window();
    EXPECT_EQ(state.controlBar->height(), 54);
    EXPECT_EQ(rectInParent(bar), (RECT{0, client.cy - 54, client.cx, client.cy}));
    EXPECT_EQ(rectInParent(state.videoWindow->frameWindow()).bottom, client.cy - 54);
    EXPECT_EQ(clientSize(GetDlgItem(bar, IDC_BTN_PLAY)), (SIZE{54, 48}));
    LOGFONTW timeFont{};
    ASSERT_NE(GetObjectW(state.controlBar->timeFont(), sizeof(timeFont), &timeFont), 0);
    EXPECT_EQ(timeFont.lfHeight, -17);
    EXPECT_NEAR(apptest::fontHeightOf(link), linkFont96 * 3 / 2, 1);
    const RECT linkRect = rectInParent(link);
    EXPECT_EQ(linkRect.top, 8);
    EXPECT_EQ(linkRect.right, client.cx - 8);
    EXPECT_EQ(apptest::iconWidth(window, ICON_BIG), 48);
    EXPECT_EQ(apptest::iconWidth(window, ICON_SMALL), 24);

    // Too small a suggestion grows to the minimum of the scale: 480 x 300 of video at 96 DPI.
    RECT small{40, 30, 440, 330};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&small));
    EXPECT_EQ(clientSize(window), (SIZE{720, 54 + 450}));

    enterFullScreen();
    RECT elsewhere{200, 100, 900, 600};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&elsewhere));
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_EQ(apptest::windowRect(window), screen);
    EXPECT_EQ(state.controlBar->height(), 45);
    EXPECT_EQ(rectInParent(bar).bottom, screen.bottom);
}

TEST_F(LifecycleTest, CancelledCloseLeavesEverythingRunning) {
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    HWND window = appState().mainWindow;
    const TempFolder folder;
    const std::wstring log = closeWithAds(folder, L"2");
    EXPECT_NE(GetFileAttributesW(log.c_str()), INVALID_FILE_ATTRIBUTES) << "the close never reached libads";
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(appState().mainWindow, window);
    EXPECT_TRUE(appState().controller);
    EXPECT_NE(appState().videoWindow, nullptr);
    MSG quit{};
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(LifecycleTest, AcceptedCloseTearsDownAndQuitsWithZero) {
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    HWND window = appState().mainWindow;
    appState().layoutEnabled = TRUE;
    SetWindowPos(window, nullptr, 50, 60, 700, 520, SWP_NOZORDER);
    const TempFolder folder;
    const std::wstring log = closeWithAds(folder, L"1");

    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(appState().mainWindow, nullptr);
    EXPECT_FALSE(appState().controller);
    EXPECT_EQ(appState().videoWindow, nullptr);
    EXPECT_EQ(appState().controlBar, nullptr);
    EXPECT_EQ(appState().timerId, 0u);
    // The placement taken just before the window went is kept for the registry.
    EXPECT_TRUE(appState().placementValid);
    EXPECT_EQ(appState().placement.rcNormalPosition.left, 50);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);

    std::stringstream text;
    text << std::ifstream(log.c_str()).rdbuf();
    EXPECT_EQ(text.str(), std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                              "\tVelmora Player\thttp://ads.corvanta.com/ads/velmoraplayer/ads.php\n");
}

TEST_F(LifecycleTest, DestroyComponentsReleasesThePlayerBeforeTheController) {
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    auto log = std::make_shared<FakePlayerLog>();
    // Whether the controller that receives the player's events was still there at the release.
    bool releasedWithController = false;
    log->onRelease = [&] { releasedWithController = appState().controller != nullptr; };
    appState().controller = std::make_unique<PlayLogic>(fakeFactory(log), &playerWindows());
    ASSERT_TRUE(appState().controller->createMediaPlayer(PlayerVlc));

    destroyComponents();

    EXPECT_EQ(log->releases, 1);
    // Released by the teardown itself, not by the controller's destructor on its way out.
    EXPECT_TRUE(releasedWithController);
    EXPECT_FALSE(appState().controller);
    EXPECT_EQ(appState().videoWindow, nullptr);
    // The single video window object is gone too: the next one is a fresh object without windows.
    PlayWnd* fresh = PlayWnd::instance();
    EXPECT_EQ(fresh->frameWindow(), nullptr);
    PlayWnd::destroyInstance();
    // A second teardown finds nothing left to do.
    destroyComponents();
    EXPECT_EQ(log->releases, 1);
}

// A stop switches the full-screen bar's auto-hide off; every start of playback in full screen (Space after
// a stop, a resume, the next file) switches it on again, its 5 s of rest counted from then. Windowed, it
// stays off.
TEST_F(LifecycleTest, FullScreenBarRestsAgainFromEveryStartOfPlayback) {
    startWithFakePlayers(std::make_shared<FakePlayerLog>());
    ASSERT_TRUE(openMediaFile(L"C:\\videos\\a.mpg"));
    PlayBar& bar = *appState().controlBar;
    using apptest::command;
    command(ID_FULLSCREEN);
    ASSERT_TRUE(appState().fullScreen);
    for (UINT halt : {ID_STOP, ID_PAUSE}) {
        command(halt);
        EXPECT_EQ(bar.lastActivity() == 0, halt == ID_STOP) << "only a stop switches the auto-hide off";
        if (halt == ID_PAUSE) {
            bar.setLastActivity(GetTickCount() - 60000, POINT{});  // a pause a minute long
        }
        const DWORD before = GetTickCount();
        command(ID_PLAY);
        EXPECT_NE(bar.lastActivity(), 0u) << "after " << halt;
        EXPECT_LE(bar.lastActivity() - before, GetTickCount() - before) << "after " << halt;
    }
    command(ID_LEAVE_FULLSCREEN);
    command(ID_STOP);
    command(ID_PLAY);
    EXPECT_EQ(bar.lastActivity(), 0u);
}

LRESULT CALLBACK refuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_NCCREATE ? FALSE : DefWindowProcW(window, message, wParam, lParam);
}

// Without the window that carries the player's events the player would never hear of them: start-up
// fails as for any other window it needs.
TEST_F(LifecycleTest, StartUpFailsWhenThePlayerEventsCannotReachTheWindowThread) {
    UnregisterClassW(L"VelmoraPlayerEvents", instance);
    WNDCLASSEXW refusing{};
    refusing.cbSize = sizeof(refusing);
    refusing.lpfnWndProc = refuseCreation;
    refusing.hInstance = instance;
    refusing.lpszClassName = L"VelmoraPlayerEvents";
    ASSERT_NE(RegisterClassExW(&refusing), 0);
    const bool started = createMainWindow(instance, SW_SHOWNORMAL);
    destroyComponents();
    UnregisterClassW(L"VelmoraPlayerEvents", instance);
    EXPECT_FALSE(started);
}

TEST_F(LifecycleTest, ShutdownDeletesTheApplicationObject) {
    shutdownApp();
    EXPECT_FALSE(appState().app);
}

// Without a placement of this run, or a whole one read at start, the stored value stays as it is.
TEST_F(LifecycleTest, AnInvalidPlacementIsNeverSaved) {
    const std::vector<BYTE> stored = {1, 2, 3};
    ASSERT_TRUE(testregistry::write(testregistry::kPlacementValue, REG_BINARY, stored.data(),
                                    static_cast<DWORD>(stored.size())));
    ASSERT_FALSE(loadPlacement());
    appState().placement.length = sizeof(WINDOWPLACEMENT);  // a record of the right size, but not valid
    EXPECT_FALSE(savePlacement());
    EXPECT_EQ(testregistry::read(testregistry::kPlacementValue).bytes, stored);
}

struct StoredCase {
    const char* what;
    DWORD type;
    DWORD size;  // 0: no value, and no key either
    UINT show;
    bool loaded;
};

class StoredPlacement : public LifecycleTest, public ::testing::WithParamInterface<StoredCase> {};

// The value as this or another version of the player left it in the registry of the test prefix.
TEST_P(StoredPlacement, OnlyAWholeRecordPlacesTheWindowAndExitStoresThisRun) {
    const StoredCase& c = GetParam();
    const WINDOWPLACEMENT saved = testregistry::placementOf({100, 120, 900, 700}, c.show);
    std::vector<BYTE> bytes(c.size);
    std::memcpy(bytes.data(), &saved, std::min<size_t>(c.size, sizeof(saved)));
    testregistry::removeKey(testregistry::kPlacementKey);
    if (c.size != 0) {
        testregistry::write(testregistry::kPlacementValue, c.type, bytes.data(), c.size);
    }
    EXPECT_EQ(loadPlacement(), c.loaded);
    EXPECT_TRUE(testregistry::keyExists(testregistry::kPlacementKey));
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    HWND window = appState().mainWindow;
    EXPECT_EQ(IsZoomed(window) != FALSE, c.loaded && c.show == SW_SHOWMAXIMIZED);
    WINDOWPLACEMENT now{};
    now.length = sizeof(now);
    GetWindowPlacement(window, &now);
    if (c.loaded) {
        EXPECT_EQ(now.rcNormalPosition, saved.rcNormalPosition);
    } else {
        EXPECT_EQ(clientSize(window).cx, 672);
    }
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(savePlacement());
    const testregistry::Value stored = testregistry::read(testregistry::kPlacementValue);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(stored.bytes.size(), sizeof(WINDOWPLACEMENT));
    EXPECT_EQ(std::memcmp(stored.bytes.data(), &appState().placement, sizeof(WINDOWPLACEMENT)), 0);
    EXPECT_EQ(appState().placement.rcNormalPosition, now.rcNormalPosition);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredPlacement,
                         ::testing::Values(StoredCase{"whole", REG_BINARY, 44, SW_SHOWNORMAL, true},
                                           StoredCase{"maximised", REG_BINARY, 44, SW_SHOWMAXIMIZED, true},
                                           StoredCase{"short", REG_BINARY, 40, SW_SHOWNORMAL, false},
                                           StoredCase{"long", REG_BINARY, 48, SW_SHOWNORMAL, false},
                                           StoredCase{"number", REG_DWORD, 4, SW_SHOWNORMAL, false},
                                           StoredCase{"missingKey", REG_BINARY, 0, SW_SHOWNORMAL, false}),
                         [](const auto& info) { return std::string(info.param.what); });

struct ClosedCase {
    const char* what;
    int startShow;
    bool maximise, fullScreen, minimise;  // what the user did before closing, in this order
    UINT savedShow;
    bool sessionEnds = false;  // the session ends instead: no close, and the process is ended afterwards
};

class ClosedWindow : public LifecycleTest, public ::testing::WithParamInterface<ClosedCase> {};

// A start minimised or maximised from the first moment restores to the first layout's size. The saved state
// is the one a window had before full screen or minimising, with the normal rectangle.
TEST_P(ClosedWindow, KeepsTheWindowedStateBeforeFullScreenOrMinimising) {
    const ClosedCase& c = GetParam();
    ASSERT_TRUE(createMainWindow(instance, c.startShow));
    HWND window = appState().mainWindow;
    ShowWindow(window, SW_RESTORE);
    EXPECT_EQ(clientSize(window), (SIZE{672, 456}));
    const RECT normal = apptest::windowRect(window);
    ShowWindow(window, c.maximise ? SW_MAXIMIZE : SW_SHOWNORMAL);
    if (c.fullScreen) {
        enterFullScreen();
    }
    ShowWindow(window, c.minimise ? SW_MINIMIZE : SW_SHOW);
    testregistry::removeKey(testregistry::kPlacementKey);
    if (c.sessionEnds) {
        SendMessageW(window, WM_ENDSESSION, TRUE, 0);
        ASSERT_TRUE(IsWindow(window));
        // Nothing runs after this: what the next start finds is what the registry holds now.
        ASSERT_TRUE(loadPlacement());
    } else {
        SendMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_FALSE(IsWindow(window));
    }
    EXPECT_EQ(appState().placement.showCmd, c.savedShow);
    EXPECT_EQ(appState().placement.rcNormalPosition, normal);
}

INSTANTIATE_TEST_SUITE_P(
    Closes, ClosedWindow,
    ::testing::Values(ClosedCase{"minimisedStart", SW_SHOWMINNOACTIVE, false, false, true, 1},
                      ClosedCase{"maximisedStart", SW_SHOWMAXIMIZED, false, false, false, 1},
                      ClosedCase{"minimised", SW_SHOWNORMAL, false, false, true, 1},
                      ClosedCase{"maximisedThenMinimised", SW_SHOWNORMAL, true, false, true, 3},
                      ClosedCase{"maximised", SW_SHOWNORMAL, true, false, false, 3},
                      ClosedCase{"fullScreen", SW_SHOWNORMAL, false, true, false, 1},
                      ClosedCase{"sessionEndsMaximisedThenMinimised", SW_SHOWNORMAL, true, false, true, 3,
                                 true},
                      ClosedCase{"sessionEndsInFullScreen", SW_SHOWNORMAL, false, true, false, 1, true}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
