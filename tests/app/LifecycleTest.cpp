#include <algorithm>
#include <fstream>
#include <sstream>

#include "AppTestSupport.h"
#include "app/ControlBarAccess.h"
#include "app/MediaPlayerApp.h"
#include "app/Placement.h"
#include "app/WindowLayoutMath.h"
#include "common/TestRegistry.h"
#include "playback/PlayLogic.h"
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
    EXPECT_EQ(client.cy, 420);
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

struct StoredCase {
    const char* what;
    DWORD type;
    DWORD size;  // 0: no value at all, and no key either
    bool loaded;
};

class StoredPlacement : public LifecycleTest, public ::testing::WithParamInterface<StoredCase> {};

// The value as this and other versions of the player leave it in the registry of the test prefix.
TEST_P(StoredPlacement, OnlyAWholeRecordPlacesTheWindowAndExitStoresThisRun) {
    const StoredCase& c = GetParam();
    WINDOWPLACEMENT saved{sizeof(WINDOWPLACEMENT), 0, SW_SHOWNORMAL, {-1, -1}, {-1, -1},
                          {100, 120, 900, 700}};
    std::vector<BYTE> bytes(c.size);
    std::memcpy(bytes.data(), &saved, std::min<size_t>(c.size, sizeof(saved)));
    testregistry::removeKey(testregistry::kPlacementKey);
    if (c.size != 0) {
        ASSERT_TRUE(
            testregistry::write(testregistry::kPlacementKey, L"MAIN_WP", c.type, bytes.data(), c.size));
    }

    EXPECT_EQ(loadPlacement(), c.loaded);
    EXPECT_TRUE(testregistry::keyExists(testregistry::kPlacementKey));
    ASSERT_TRUE(createMainWindow(instance, SW_SHOWNORMAL));
    const RECT frame = apptest::windowRect(appState().mainWindow);
    if (c.loaded) {
        EXPECT_TRUE(EqualRect(&frame, &saved.rcNormalPosition));
    } else {
        const SIZE first = layoutmath::firstClientSize(controlbar::height());
        EXPECT_EQ(clientSize(appState().mainWindow).cx, first.cx);
        EXPECT_EQ(clientSize(appState().mainWindow).cy, first.cy);
    }
    SendMessageW(appState().mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(savePlacement());

    const testregistry::Value stored = testregistry::read(testregistry::kPlacementKey, L"MAIN_WP");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(stored.bytes.size(), sizeof(WINDOWPLACEMENT));
    WINDOWPLACEMENT written{};
    std::memcpy(&written, stored.bytes.data(), sizeof(written));
    EXPECT_TRUE(EqualRect(&written.rcNormalPosition, &frame));
}

INSTANTIATE_TEST_SUITE_P(Values, StoredPlacement,
                         ::testing::Values(StoredCase{"whole", REG_BINARY, 44, true},
                                           StoredCase{"short", REG_BINARY, 40, false},
                                           StoredCase{"long", REG_BINARY, 48, false},
                                           StoredCase{"number", REG_DWORD, 4, false},
                                           StoredCase{"missingKey", REG_BINARY, 0, false}),
                         [](const auto& info) { return std::string(info.param.what); });

struct MinimisedCase {
    const char* what;
    int startShow;
    bool maximised;  // before it was minimised and closed
    UINT savedShow;
};

class MinimisedWindow : public LifecycleTest, public ::testing::WithParamInterface<MinimisedCase> {};

// A start minimised from the first moment gets its first layout when restored; a close from the
// taskbar while minimised keeps the state the window had before it was minimised.
TEST_P(MinimisedWindow, FirstLayoutWaitsForRestoreAndCloseSavesTheStateBeforeMinimising) {
    const MinimisedCase& c = GetParam();
    ASSERT_TRUE(createMainWindow(instance, c.startShow));
    HWND window = appState().mainWindow;
    ShowWindow(window, SW_RESTORE);
    const SIZE first = layoutmath::firstClientSize(controlbar::height());
    EXPECT_EQ(clientSize(window).cx, first.cx);
    EXPECT_EQ(clientSize(window).cy, first.cy);
    const RECT normal = apptest::windowRect(window);
    if (c.maximised) {
        ShowWindow(window, SW_MAXIMIZE);
    }
    ShowWindow(window, SW_MINIMIZE);
    SendMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(window));
    EXPECT_TRUE(appState().placementValid);
    EXPECT_EQ(appState().placement.showCmd, c.savedShow);
    EXPECT_TRUE(EqualRect(&appState().placement.rcNormalPosition, &normal));
}

INSTANTIATE_TEST_SUITE_P(Starts, MinimisedWindow,
                         ::testing::Values(MinimisedCase{"minimisedStart", SW_SHOWMINNOACTIVE, false, 1},
                                           MinimisedCase{"restored", SW_SHOWNORMAL, false, 1},
                                           MinimisedCase{"maximised", SW_SHOWNORMAL, true, 3}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
