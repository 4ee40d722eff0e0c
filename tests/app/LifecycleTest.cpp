#include <fstream>
#include <sstream>

#include "AppTestSupport.h"
#include "app/MediaPlayerApp.h"
#include "playback/PlayLogic.h"
#include "ui/PlayBar.h"
#include "ui/PlayWnd.h"

namespace {

using apptest::clientSize;

// The player's real start-up of the main window and its components, without the message loop.
class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        appState().app = std::make_unique<VelmoraPlayer>();
        instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(registerMainWindowClass(instance));
        SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", nullptr);
        SetEnvironmentVariableW(L"VELMORA_ADS_LOG", nullptr);
    }
    void TearDown() override {
        destroyComponents();
        if (appState().mainWindow != nullptr) {
            DestroyWindow(appState().mainWindow);
        }
        shutdownApp();
        resetAppState();
        apptest::drainQuitMessages();
        SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", nullptr);
        SetEnvironmentVariableW(L"VELMORA_ADS_LOG", nullptr);
    }

    HINSTANCE instance = nullptr;
};

TEST_F(LifecycleTest, MainWindowStartsWithEveryComponentLaidOut) {
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    const AppState& state = appState();
    HWND window = state.mainWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(state.instance, instance);
    EXPECT_EQ(apptest::windowText(window), L"Media Player");
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(state.controller);
    EXPECT_EQ(state.controller->volume(), 100);
    EXPECT_EQ(state.controller->player(), nullptr);
    EXPECT_NE(state.timerId, 0u);
    EXPECT_TRUE(state.layoutEnabled);

    SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, 672);
    EXPECT_EQ(client.cy, 456);  // the video's 420 and the bar's 36
    ASSERT_NE(state.controlBar, nullptr);
    HWND bar = state.controlBar->window();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), window);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_NE(state.controlBar->tooltip(), nullptr);
    RECT barRect{};
    GetWindowRect(bar, &barRect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&barRect), 2);
    EXPECT_EQ(barRect.top, 420);
    EXPECT_EQ(barRect.right, 672);
    EXPECT_EQ(barRect.bottom, 456);
    ASSERT_NE(state.videoWindow, nullptr);
    HWND frame = state.videoWindow->frameWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(GetParent(frame), window);
    EXPECT_TRUE(IsWindowVisible(frame));
    RECT video{};
    GetWindowRect(frame, &video);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&video), 2);
    EXPECT_EQ(video.left, 0);
    EXPECT_EQ(video.top, 0);
    EXPECT_EQ(video.right, 672);
    EXPECT_EQ(video.bottom, 420);
}

TEST_F(LifecycleTest, CancelledCloseLeavesEverythingRunning) {
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    HWND window = appState().mainWindow;
    SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", L"2");
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
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
    wchar_t folder[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring log = std::wstring(folder) + L"velmora-ads-log.txt";
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"VELMORA_ADS_LOG", log.c_str());
    SetEnvironmentVariableW(L"VELMORA_ADS_RESULT", L"1");
    appState().layoutEnabled = TRUE;
    SetWindowPos(window, nullptr, 50, 60, 700, 520, SWP_NOZORDER);

    SendMessageW(window, WM_CLOSE, 0, 0);

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

    std::ifstream in(log.c_str());
    std::stringstream text;
    text << in.rdbuf();
    std::string expected = std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                           "\tVelmora Player\thttp://ads.corvanta.com/ads/velmoraplayer/ads.php\n";
    EXPECT_EQ(text.str(), expected);
    in.close();
    DeleteFileW(log.c_str());
}

TEST_F(LifecycleTest, DestroyComponentsReleasesThePlayerBeforeTheController) {
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    int releases = 0;
    appState().controller = std::make_unique<PlayLogic>([&releases](int) -> std::unique_ptr<MediaPlayer> {
        auto player = std::make_unique<apptest::FakePlayer>();
        player->releaseCount = &releases;
        return player;
    });
    ASSERT_TRUE(appState().controller->createMediaPlayer(PlayerVlc));

    destroyComponents();

    EXPECT_EQ(releases, 1);
    EXPECT_FALSE(appState().controller);
    EXPECT_EQ(appState().videoWindow, nullptr);
    // The single video window object is gone too: the next one is a fresh object without windows.
    PlayWnd* fresh = PlayWnd::instance();
    EXPECT_EQ(fresh->frameWindow(), nullptr);
    PlayWnd::destroyInstance();
    // A second teardown finds nothing left to do.
    destroyComponents();
    EXPECT_EQ(releases, 1);
}

TEST_F(LifecycleTest, ShutdownDeletesTheApplicationObject) {
    shutdownApp();
    EXPECT_FALSE(appState().app);
}

}  // namespace
