// The player among the other programs of the desktop, with its real windows and a fake player: the
// requests to keep the screen awake, the taskbar button (through a recording taskbar list, and the
// taskbar's message sent by the test), the media keys and the wheel arriving at any of the player's
// windows, and Always on Top.
#include <functional>
#include <memory>
#include <utility>

#include "AppTestSupport.h"
#include "RecordingTaskbarList.h"
#include "app/desktop/Desktop.h"
#include "app/desktop/ExecutionState.h"
#include "app/instance/HandOff.h"
#include "app/desktop/TaskbarButton.h"
#include "common/FakePlayer.h"
#include "common/MessagePump.h"
#include "common/TestRegistry.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"
#include "ui/PlayBar.h"
#include "ui/PlayWnd.h"
#include "ui/PlayWndMenu.h"

namespace {

using apptest::command;

constexpr EXECUTION_STATE kNothing = ES_CONTINUOUS;
constexpr EXECUTION_STATE kSystem = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
constexpr EXECUTION_STATE kDisplay = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;

// What the player asked of the system's power management, and on which threads.
struct Requests {
    std::vector<EXECUTION_STATE> made;
    std::set<DWORD> threads;
};
Requests& requests() {
    static Requests recorded;
    return recorded;
}
EXECUTION_STATE WINAPI recordRequest(EXECUTION_STATE flags) {
    requests().made.push_back(flags);
    requests().threads.insert(GetCurrentThreadId());
    return ES_CONTINUOUS;
}

// One step of a table: what the user or the library does, and what the player asks of the system then.
template <class Asked>
struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<Asked> expected;
};

// The player's main window and components, with a controller of fake players, the power requests
// recorded and a recording taskbar list for the taskbar's message.
class DesktopTest : public apptest::StartedPlayerTest {
protected:
    void SetUp() override {
        StartedPlayerTest::SetUp();
        executionState().useSetter(&recordRequest);
        executionState().release();
        requests() = Requests{};
        taskbarButton().useListMaker([this] {
            ++listsMade;
            list.AddRef();
            return static_cast<ITaskbarList3*>(&list);
        });
        startWithFakePlayers(log);
        window = appState().mainWindow;
    }
    void TearDown() override {
        StartedPlayerTest::TearDown();
        executionState().useSetter(nullptr);
        taskbarButton().useListMaker({});
    }

    // The library's report of a player event, as it reaches the window's thread.
    void event(int type) { appState().controller->onPlayerEvent(type); }
    // Opens the file as the open dialog does, and waits for its folder to be listed.
    void open(const std::wstring& path) {
        ASSERT_TRUE(openMediaFile(path));
        ASSERT_TRUE(pumpUntil([] { return !appState().controller->listingFolder(); }, 15000));
    }
    void taskbarAsks() { SendMessageW(window, RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0); }
    static HWND main() { return appState().mainWindow; }
    static HWND bar() { return appState().controlBar->window(); }
    static HWND frame() { return appState().videoWindow->frameWindow(); }
    static HWND surface() { return appState().videoWindow->surfaceWindow(); }
    static int volume() { return appState().controller->volume(); }

    HWND window = nullptr;
    std::shared_ptr<FakePlayerLog> log = std::make_shared<FakePlayerLog>();
    RecordingTaskbarList list;
    int listsMade = 0;
};

TEST_F(DesktopTest, ScreenIsKeptAwakeWhilePlayingAndOnlyTheSystemForSound) {
    const TempFolder folder;
    folder.addFiles({L"a.mpg", L"b.mpg", L"c.mp3"});
    const Step<EXECUTION_STATE> steps[] = {
        {"a video plays",
         [&] {
             open(folder.path() + L"a.mpg");
             event(EventPlaying);
         },
         {kDisplay}},
        {"its time moves", [&] { event(EventTimeChanged); }, {}},
        {"paused",
         [&] {
             command(ID_PLAY);
             event(EventPaused);
         },
         {kNothing}},
        {"resumed",
         [&] {
             command(ID_PLAY);
             event(EventPlaying);
         },
         {kDisplay}},
        // Out of sight, a video is heard only.
        {"minimised", [&] { ShowWindow(window, SW_MINIMIZE); }, {kSystem}},
        {"restored", [&] { ShowWindow(window, SW_RESTORE); }, {kDisplay}},
        {"stopped", [&] { command(ID_STOP); }, {kNothing}},
        {"the library's word of the stop", [&] { event(EventStopped); }, {}},
        {"a video whose picture is known only once it runs",
         [&] {
             log->video = false;
             open(folder.path() + L"b.mpg");
             event(EventPlaying);
             log->video = true;
             event(EventTimeChanged);
             event(EventTimeChanged);
         },
         {kSystem, kDisplay}},
        {"Next: a sound",
         [&] {
             log->video = false;
             command(ID_NEXT);
             event(EventPlaying);
         },
         {kNothing, kSystem}},
        {"the end of the folder's last file",
         [&] {
             log->state = StateEnded;
             SendMessageW(window, WM_TIMER, kTimerId, 0);
             event(EventStopped);
         },
         {kNothing}},
        {"played again",
         [&] {
             command(ID_PLAY);
             event(EventPlaying);
         },
         {kSystem}},
        {"closed while playing", [&] { destroyComponents(); }, {kNothing}},
    };
    for (const auto& step : steps) {
        requests().made.clear();
        step.act();
        EXPECT_EQ(requests().made, step.expected) << step.what;
    }
    EXPECT_EQ(appState().controller, nullptr);
    EXPECT_EQ(requests().threads, std::set<DWORD>{GetCurrentThreadId()});
}

TEST_F(DesktopTest, TaskbarButtonFollowsTheBarAndTheTimeOnceTheTaskbarAsks) {
    const TempFolder one, two;
    one.addFiles({L"alone.mpg"});
    two.addFiles({L"a.mpg", L"b.mpg"});
    open(one.path() + L"alone.mpg");
    event(EventPlaying);
    event(EventTimeChanged);
    command(ID_STOP);
    event(EventStopped);
    EXPECT_EQ(listsMade, 0) << "the taskbar list was made before the taskbar asked";

    HICON playIcon = nullptr;
    const Step<std::string> steps[] = {
        {"the taskbar asks", [&] { taskbarAsks(); }, {"HrInit", "add Prev off, Play, Next off"}},
        {"plays",
         [&] {
             playIcon = list.buttons.at(1).hIcon;
             command(ID_PLAY);
             event(EventPlaying);
         },
         {"update Prev off, Pause, Next off"}},
        {"its time is reported", [&] { event(EventTimeChanged); }, {"value 1000/60000", "state normal"}},
        {"and moves on",
         [&] {
             log->time = 2000;
             event(EventTimeChanged);
             event(EventTimeChanged);
         },
         {"value 2000/60000"}},
        {"paused",
         [&] {
             command(ID_PLAY);
             event(EventPaused);
         },
         {"update Prev off, Play, Next off", "state paused"}},
        // Play stays enabled after a stop, as on the bar: only the progress goes.
        {"stopped",
         [&] {
             command(ID_STOP);
             event(EventStopped);
         },
         {"state none"}},
        {"a file of a folder of two",
         [&] {
             open(two.path() + L"a.mpg");
             event(EventPlaying);
             event(EventTimeChanged);
         },
         {"update Prev, Pause, Next", "value 2000/60000", "state normal"}},
        // The toolbar's button sends the bar's command.
        {"Next from the thumbnail toolbar",
         [&] {
             SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_NEXT, THBN_CLICKED), 0);
             event(EventPlaying);
             event(EventTimeChanged);
         },
         {"state none", "value 2000/60000", "state normal"}},
        // The taskbar may ask again for the same button: the buttons are added once and updated since.
        {"the taskbar asks again",
         [&] { taskbarAsks(); },
         {"HrInit", "update Prev, Pause, Next", "value 2000/60000", "state normal"}},
        {"paused after that",
         [&] {
             command(ID_PLAY);
             event(EventPaused);
         },
         {"update Prev, Play, Next", "state paused"}},
        {"the taskbar restarts and asks again",
         [&] {
             list.restartTaskbar();
             command(ID_PLAY);
             event(EventPlaying);
             taskbarAsks();
         },
         {"update Prev, Pause, Next refused", "state normal", "HrInit", "update Prev, Pause, Next refused",
          "add Prev, Pause, Next", "value 2000/60000", "state normal"}},
        {"the length becomes unknown",
         [&] {
             log->length = 0;
             event(EventTimeChanged);
         },
         {"state none"}},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(list.takeCalls(), step.expected) << step.what;
    }

    // The buttons are the bar's commands, with the bar's pictures at the small-icon size.
    ASSERT_EQ(list.buttons.size(), 3u);
    const UINT commands[] = {ID_PREVIOUS, ID_PLAY, ID_NEXT};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(list.buttons[i].iId, commands[i]);
        EXPECT_EQ(apptest::iconWidth(list.buttons[i].hIcon), GetSystemMetrics(SM_CXSMICON)) << i;
    }
    EXPECT_NE(list.buttons[1].hIcon, playIcon) << "Pause shows Play's picture";

    destroyComponents();
    EXPECT_TRUE(list.takeCalls().empty());
    EXPECT_EQ(list.references, 1u) << "the taskbar list was not let go at close";
}

TEST_F(DesktopTest, MediaKeysReachTheMainWindowFromEachOfItsWindows) {
    const TempFolder folder;
    folder.addFiles({L"a.mpg", L"b.mpg"});
    open(folder.path() + L"a.mpg");
    struct Case {
        const char* what;
        HWND (*target)();
        int appCommand;
        int state;            // the player's afterwards
        const wchar_t* file;  // the current file afterwards
    };
    const Case cases[] = {
        {"play/pause pauses", bar, APPCOMMAND_MEDIA_PLAY_PAUSE, StatePaused, L"a.mpg"},
        {"play/pause plays", surface, APPCOMMAND_MEDIA_PLAY_PAUSE, StatePlaying, L"a.mpg"},
        {"play plays on", frame, APPCOMMAND_MEDIA_PLAY, StatePlaying, L"a.mpg"},
        {"pause pauses", main, APPCOMMAND_MEDIA_PAUSE, StatePaused, L"a.mpg"},
        {"pause does not resume", bar, APPCOMMAND_MEDIA_PAUSE, StatePaused, L"a.mpg"},
        {"play resumes", bar, APPCOMMAND_MEDIA_PLAY, StatePlaying, L"a.mpg"},
        {"next track", frame, APPCOMMAND_MEDIA_NEXTTRACK, StatePlaying, L"b.mpg"},
        {"previous track", main, APPCOMMAND_MEDIA_PREVIOUSTRACK, StatePlaying, L"a.mpg"},
        {"stop", surface, APPCOMMAND_MEDIA_STOP, StateStopped, L"a.mpg"},
        // The volume keys stay the system's: the player's volume doesn't move.
        {"volume down", main, APPCOMMAND_VOLUME_DOWN, StateStopped, L"a.mpg"},
        {"volume up", bar, APPCOMMAND_VOLUME_UP, StateStopped, L"a.mpg"},
    };
    for (const Case& c : cases) {
        const HWND target = c.target();
        ASSERT_NE(target, nullptr) << c.what;
        const LRESULT result = SendMessageW(target, WM_APPCOMMAND, reinterpret_cast<WPARAM>(target),
                                            MAKELPARAM(0, c.appCommand));
        EXPECT_EQ(log->state, c.state) << c.what;
        EXPECT_EQ(appState().controller->displayName(), c.file) << c.what;
        EXPECT_EQ(volume(), 100) << c.what;
        if (target == window && c.appCommand != APPCOMMAND_VOLUME_DOWN) {
            EXPECT_EQ(result, TRUE) << c.what << ": handled, not left to the system";
        }
    }
}

TEST_F(DesktopTest, WheelOverTheVideoOrTheBarStepsTheVolumeAsTheArrowKeysDo) {
    const TempFolder folder;
    folder.addFiles({L"a.mpg"});
    open(folder.path() + L"a.mpg");
    struct Case {
        HWND (*target)();
        int delta;
        int volume;  // afterwards, in the controller and on the bar
    };
    const Case cases[] = {
        {frame, -WHEEL_DELTA, 90},     {bar, -40, 90},          {surface, -40, 90}, {bar, -40, 80},
        {frame, 3 * WHEEL_DELTA, 100}, {bar, WHEEL_DELTA, 100},
    };
    for (const Case& c : cases) {
        const HWND target = c.target();
        ASSERT_NE(target, nullptr);
        SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(c.delta))), 0);
        EXPECT_EQ(volume(), c.volume) << "after " << c.delta;
        EXPECT_EQ(appState().controlBar->shownVolume(), c.volume) << "after " << c.delta;
        EXPECT_EQ(log->volume, c.volume) << "after " << c.delta;
    }
    // A notch up while muted is Volume Up's: sound again at 10 %.
    command(ID_MUTE);
    SendMessageW(frame(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_FALSE(appState().controller->muted());
    EXPECT_EQ(volume(), 10);
}

// The shell's additions to the recent documents, made on the adding thread: as slow as its first call
// under Wine, or held until the test lets them go. Read once the close has waited for them.
std::vector<std::wstring> g_recentAdded;
HANDLE g_recentHeld = nullptr;
void addAsTheShellDoes(const wchar_t* path) {
    if (g_recentHeld != nullptr) {
        WaitForSingleObject(g_recentHeld, INFINITE);
    } else {
        Sleep(300);
    }
    g_recentAdded.push_back(path);
}

// The close waits for the last shortcut, but for a second at most: a shell that hangs doesn't hold it.
TEST_F(DesktopTest, CloseWaitsForTheLastRecentDocumentBoundedly) {
    useRecentDocumentAdder(&addAsTheShellDoes);
    addToRecentDocuments(L"C:\\v\\last.mpg");
    destroyComponents();
    EXPECT_EQ(g_recentAdded, std::vector<std::wstring>{L"C:\\v\\last.mpg"});
    g_recentHeld = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    addToRecentDocuments(L"C:\\v\\hung.mpg");
    destroyComponents();  // returns while the addition still waits
    SetEvent(g_recentHeld);
    finishRecentDocuments(INFINITE);
    CloseHandle(std::exchange(g_recentHeld, nullptr));
    useRecentDocumentAdder(nullptr);
    EXPECT_EQ(g_recentAdded.size(), 2u);
}

// Always on Top is watched on the main window without its bar: under Wine 8 a window that owns a pop-up
// (the bar's tooltip) never becomes topmost, whatever it asks (measured; Windows raises owned pop-ups
// with their owner).
class AlwaysOnTop : public apptest::ControlledWindowTest {
protected:
    void TearDown() override {
        ControlledWindowTest::TearDown();
        testregistry::removeKey(testregistry::kHandOffKey);
    }
    bool topmost() const { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
};

TEST_F(AlwaysOnTop, HoldsThroughFullScreenUntilSwitchedOff) {
    layOut();
    EXPECT_FALSE(topmost());
    const struct {
        UINT command;
        bool fullScreen, topmost;  // topmost: and checked in the menu
    } steps[] = {
        {ID_ALWAYS_ON_TOP, false, true},
        {ID_FULLSCREEN, true, true},
        {ID_LEAVE_FULLSCREEN, false, true},
        {ID_ALWAYS_ON_TOP, false, false},
        // Full screen alone never puts the window on top.
        {ID_FULLSCREEN, true, false},
        {ID_FULLSCREEN, false, false},
    };
    for (const auto& step : steps) {
        command(step.command);
        EXPECT_EQ(appState().fullScreen != FALSE, step.fullScreen) << step.command;
        EXPECT_EQ(topmost(), step.topmost) << step.command;
        EXPECT_EQ(currentContextMenuInputs(appWindowLinks()).alwaysOnTop, step.topmost) << step.command;
    }
}

// A file handed over by a new start brings the window to the front through the topmost band and back;
// a window the user keeps on top stays there.
TEST_F(AlwaysOnTop, StaysOnWhenAnotherStartHandsAFileOver) {
    const TempFolder folder;
    folder.addFiles({L"a.mpg"});
    command(ID_ALWAYS_ON_TOP);
    ASSERT_TRUE(topmost());
    ASSERT_TRUE(publishMainWindow(productName(), window));
    ASSERT_TRUE(handOffToRunningInstance(productName(), folder.path() + L"a.mpg"));
    ASSERT_TRUE(pumpUntil([&] { return log->state == StatePlaying; }, 5000));
    EXPECT_TRUE(topmost());
}

}  // namespace
