#include "AppTestSupport.h"
#include "common/DibCanvas.h"
#include "resources/resource.h"

namespace {

using apptest::clientSize;
using apptest::MainWindowTest;
using apptest::windowRect;

void setClientTo(HWND window, int width, int height) {
    RECT frame = windowRect(window);
    SIZE client = clientSize(window);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + width - client.cx,
                 frame.bottom - frame.top + height - client.cy, SWP_NOMOVE | SWP_NOZORDER);
}

TEST_F(MainWindowTest, NoLayoutBeforeItIsEnabled) {
    const RECT before = windowRect(window);
    layoutWindows();
    EXPECT_EQ(testwin::sizeOf(windowRect(window)), testwin::sizeOf(before));
    EXPECT_TRUE(appState().firstLayoutPending);
}

TEST_F(MainWindowTest, FirstLayoutGivesTheStandardSizeCentredOnTheWorkArea) {
    layOut();
    EXPECT_EQ(clientSize(window), (SIZE{672, 420}));  // no bar yet: height 0
    EXPECT_TRUE(testwin::centredOnWorkArea(window)) << testing::PrintToString(windowRect(window));
    EXPECT_FALSE(appState().firstLayoutPending);
}

TEST_F(MainWindowTest, FirstLayoutKeepsASavedPlacement) {
    SetWindowPos(window, nullptr, 40, 50, 700, 500, SWP_NOZORDER);
    appState().placementValid = TRUE;
    layOut();
    const RECT frame = windowRect(window);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 50);
    EXPECT_EQ(frame.right - frame.left, 700);
    EXPECT_FALSE(appState().firstLayoutPending);
}

TEST_F(MainWindowTest, OnlyTheFirstLayoutResizes) {
    layOut();
    setClientTo(window, 800, 600);
    layoutWindows();
    EXPECT_EQ(clientSize(window), (SIZE{800, 600}));
}

TEST_F(MainWindowTest, ResizingBelowTheMinimumGrowsBack) {
    layOut();
    const RECT before = windowRect(window);
    // WM_SIZE lays out again, which grows the window back at once.
    setClientTo(window, 200, 100);
    EXPECT_EQ(clientSize(window), (SIZE{480, 300}));
    EXPECT_EQ(windowRect(window).left, before.left);
    EXPECT_EQ(windowRect(window).top, before.top);

    setClientTo(window, 600, 200);
    EXPECT_EQ(clientSize(window), (SIZE{600, 300}));
}

TEST_F(MainWindowTest, PlacementIsRecordedOnlyWhenWindowedAndLaidOut) {
    recordPlacement();
    EXPECT_FALSE(appState().placementValid);

    appState().layoutEnabled = TRUE;
    appState().firstLayoutPending = false;
    SetWindowPos(window, nullptr, 30, 40, 640, 480, SWP_NOZORDER);  // WM_MOVE and WM_SIZE record it
    EXPECT_TRUE(appState().placementValid);
    EXPECT_EQ(appState().placement.rcNormalPosition.left, 30);
    EXPECT_EQ(appState().placement.rcNormalPosition.top, 40);

    appState().fullScreen = TRUE;
    SetWindowPos(window, nullptr, 10, 10, 640, 480, SWP_NOZORDER);
    EXPECT_EQ(appState().placement.rcNormalPosition.left, 30);
}

TEST_F(MainWindowTest, MinimisedWindowStillRecordsItsPlacement) {
    layOut();
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(appState().placementValid);
    EXPECT_EQ(appState().placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    ShowWindow(window, SW_RESTORE);
    EXPECT_EQ(clientSize(window).cx, 672);
}

TEST_F(MainWindowTest, FullScreenDropsTheFrameAndCoversTheScreen) {
    layOut();
    enterFullScreen();

    EXPECT_TRUE(appState().fullScreen);
    EXPECT_TRUE(appState().layoutEnabled);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(windowRect(window), (RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    // Without a frame the client area is the whole screen.
    EXPECT_EQ(clientSize(window).cx, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(MainWindowTest, LeavingFullScreenRestoresTheRecordedPlacement) {
    layOut();
    SetWindowPos(window, nullptr, 60, 70, 720, 540, SWP_NOZORDER);
    RECT windowed = windowRect(window);
    LONG_PTR windowedStyle = GetWindowLongPtrW(window, GWL_STYLE);

    enterFullScreen();
    enterFullScreen();  // a second switch changes nothing
    leaveFullScreen();

    EXPECT_FALSE(appState().fullScreen);
    EXPECT_TRUE(appState().layoutEnabled);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE), windowedStyle);
    EXPECT_EQ(windowRect(window), windowed);
}

TEST_F(MainWindowTest, LeavingFullScreenWithoutPlacementKeepsScreenSizeWithFrame) {
    appState().layoutEnabled = TRUE;
    appState().firstLayoutPending = false;
    enterFullScreen();
    ASSERT_FALSE(appState().placementValid);
    leaveFullScreen();

    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), WS_CAPTION | WS_THICKFRAME);
    EXPECT_EQ(testwin::sizeOf(windowRect(window)).cx, GetSystemMetrics(SM_CXSCREEN));
    // The caption is back: the client area is smaller than the window.
    EXPECT_LT(clientSize(window).cy, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(MainWindowTest, FullScreenCommandTogglesAndEscapeOnlyLeaves) {
    layOut();
    SendMessageW(window, WM_COMMAND, ID_LEAVE_FULLSCREEN, 0);
    EXPECT_FALSE(appState().fullScreen);
    SendMessageW(window, WM_COMMAND, ID_FULLSCREEN, 0);
    EXPECT_TRUE(appState().fullScreen);
    SendMessageW(window, WM_COMMAND, ID_FULLSCREEN, 0);
    EXPECT_FALSE(appState().fullScreen);
    SendMessageW(window, WM_COMMAND, ID_FULLSCREEN, 0);
    SendMessageW(window, WM_COMMAND, ID_LEAVE_FULLSCREEN, 0);
    EXPECT_FALSE(appState().fullScreen);
}

int g_titlesSet = 0;

LRESULT CALLBACK countTitles(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_SETTEXT) {
        ++g_titlesSet;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The tick sets the title only when its text changes: setting it repaints the caption every time.
TEST_F(MainWindowTest, TimerTickSetsTheProductNameWithNothingLoadedOnce) {
    EXPECT_EQ(apptest::windowText(window), L"Media Player");
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, countTitles, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    g_titlesSet = 0;
    SendMessageW(window, WM_TIMER, 100, 0);
    EXPECT_EQ(apptest::windowText(window), L"Velmora Player");
    SendMessageW(window, WM_TIMER, 100, 0);
    SendMessageW(window, WM_TIMER, 100, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_titlesSet, 1);
}

// Each icon in the size the system gives it at the window's scale: 32 and 16 pixels at 100 %.
TEST_F(MainWindowTest, CreationSetsBothIconsAtTheirSizes) {
    EXPECT_EQ(apptest::iconWidth(window, ICON_BIG), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(apptest::iconWidth(window, ICON_SMALL), GetSystemMetrics(SM_CXSMICON));
}

TEST_F(MainWindowTest, EraseFillsTheClientAreaBlack) {
    layOut();
    DibCanvas canvas(16, 16, 0xFFFFFF);
    ASSERT_TRUE(canvas.ready());
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    GdiFlush();
    EXPECT_EQ(canvas.rgb(8, 8), 0u);
}

TEST_F(MainWindowTest, UnknownCommandGoesToTheDefaultProcedure) {
    EXPECT_FALSE(runCommand(12345)) << "taken as a command of the window";
    EXPECT_TRUE(runCommand(ID_FULLSCREEN));
    EXPECT_TRUE(runCommand(ID_LEAVE_FULLSCREEN));
    SendMessageW(window, WM_COMMAND, 12345, 0);
    EXPECT_TRUE(IsWindow(window));
    // The window stays windowed and untouched by the unknown id.
    EXPECT_FALSE(appState().fullScreen);
}

TEST(FileDrop, EmptyDropGivesNoPath) {
    EXPECT_EQ(takeFirstDroppedFile(apptest::makeDrop({})), L"");
    EXPECT_EQ(takeFirstDroppedFile(nullptr), L"");
}

TEST(FileDrop, OverlongPathIsCutAndTerminated) {
    std::wstring longPath = L"C:\\" + std::wstring(400, L'a') + L".mpg";
    std::wstring taken = takeFirstDroppedFile(apptest::makeDrop({longPath}));
    EXPECT_LT(taken.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(taken, longPath.substr(0, taken.size()));
}

TEST_F(MainWindowTest, AboutBoxShowsTheVersionLineAndClosesWithCancel) {
    apptest::DialogAnswerer answer(IDCANCEL, IDC_ABOUT_TEXT);
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), window,
                                     aboutDialogProc, 0);
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ(answer.caption(), L"About");
    EXPECT_EQ(answer.text(), L"Velmora Player, Version 1.0");
    EXPECT_EQ(answer.owner(), window);
}

TEST_F(MainWindowTest, AboutCommandRunsTheBoxModallyUntilOk) {
    apptest::DialogAnswerer answer(IDOK, IDC_ABOUT_TEXT);
    SendMessageW(window, WM_COMMAND, ID_HELP_ABOUT, 0);
    // Answered while the command ran, and gone when it returned.
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ(answer.text(), L"Velmora Player, Version 1.0");
    EXPECT_FALSE(IsWindow(answer.dialog()));
}

// What the about box shows: its client area, the OK button, the text's font and the icon.
struct AboutLook {
    SIZE client, button;
    LONG fontHeight;
    int iconWidth;
};

AboutLook lookOf(HWND dialog) {
    return AboutLook{clientSize(dialog), clientSize(GetDlgItem(dialog, IDOK)),
                     apptest::fontHeightOf(GetDlgItem(dialog, IDC_ABOUT_TEXT)),
                     apptest::iconWidth(reinterpret_cast<HICON>(
                         SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_GETICON, 0, 0)))};
}

// The about box takes the main window's scale, whatever scale the system made it at, and a change of scale
// while it is up: at 150 % everything of it is half as large again as at 100 %.
TEST_F(MainWindowTest, AboutBoxTakesTheScaleOfTheWindow) {
    AboutLook at96{}, at144{}, backAt96{};
    auto showAbout = [&](std::function<void(HWND)> inspect) {
        apptest::DialogAnswerer answer(IDOK, IDC_ABOUT_TEXT, std::move(inspect));
        SendMessageW(window, WM_COMMAND, ID_HELP_ABOUT, 0);
        EXPECT_TRUE(answer.answered());
    };
    showAbout([&](HWND dialog) { at96 = lookOf(dialog); });
    RECT suggested = windowRect(window);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    showAbout([&](HWND dialog) {
        at144 = lookOf(dialog);
        RECT place = windowRect(dialog);
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&place));
        backAt96 = lookOf(dialog);
    });
    EXPECT_EQ(at96.iconWidth, 32);
    EXPECT_EQ(at144.iconWidth, 48);
    EXPECT_NEAR(at144.client.cx, at96.client.cx * 3 / 2, 1);
    EXPECT_NEAR(at144.client.cy, at96.client.cy * 3 / 2, 1);
    EXPECT_NEAR(at144.button.cx, at96.button.cx * 3 / 2, 1);
    EXPECT_NEAR(at144.button.cy, at96.button.cy * 3 / 2, 1);
    EXPECT_NEAR(at144.fontHeight, at96.fontHeight * 3 / 2, 1);
    EXPECT_EQ(backAt96.iconWidth, 32);
    EXPECT_NEAR(backAt96.client.cx, at96.client.cx, 1);
    EXPECT_NEAR(backAt96.button.cy, at96.button.cy, 1);
    EXPECT_EQ(backAt96.fontHeight, at96.fontHeight);
}

TEST(AboutDialogProc, HandlesOnlyOkAndCancelCommands) {
    HWND stray = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    // A dialog without control 1000 still initialises.
    EXPECT_EQ(aboutDialogProc(stray, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(aboutDialogProc(stray, WM_COMMAND, 1234, 0), FALSE);
    EXPECT_EQ(aboutDialogProc(stray, WM_PAINT, 0, 0), FALSE);
    DestroyWindow(stray);
}

}  // namespace
