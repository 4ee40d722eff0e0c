#include <memory>

#include "AppTestSupport.h"
#include "common/MessagePump.h"
#include "common/TempFolder.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"

namespace {

using apptest::FakePlayer;

// The main window with a controller whose player the test holds on to.
class CommandsTest : public apptest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        appState().controller = std::make_unique<PlayLogic>([this](int type) -> std::unique_ptr<MediaPlayer> {
            if (type != PlayerVlc) {
                return nullptr;
            }
            auto made = std::make_unique<FakePlayer>();
            made->opens = nextOpens;
            player = made.get();
            return made;
        });
    }

    PlayLogic& controller() { return *appState().controller; }
    LRESULT command(UINT id) { return SendMessageW(window, WM_COMMAND, id, 0); }
    void openPlaying() {
        ASSERT_TRUE(openMediaFile(L"C:\\videos\\a.mpg"));
        ASSERT_NE(player, nullptr);
        ASSERT_EQ(player->state, StatePlaying);
    }

    FakePlayer* player = nullptr;
    bool nextOpens = true;
};

TEST_F(CommandsTest, OpenedFilePlaysAndNamesTheTitle) {
    openPlaying();
    EXPECT_EQ(player->lastOpened, L"C:\\videos\\a.mpg");
    EXPECT_EQ(controller().currentPath(), L"C:\\videos\\a.mpg");
    SendMessageW(window, WM_TIMER, 100, 0);
    EXPECT_EQ(apptest::windowText(window), L"Velmora Player - a.mpg");
    command(ID_STOP);
    SendMessageW(window, WM_TIMER, 100, 0);
    EXPECT_EQ(apptest::windowText(window), L"Velmora Player");
}

// The folder is listed off the window's thread: the file plays at once, the whole folder follows, and a
// listing that a later open made moot never replaces the newer list.
TEST_F(CommandsTest, OpenedFilesFolderBecomesThePlaylistOffTheWindowThread) {
    const TempFolder first, second;
    for (const wchar_t* name : {L"a.mpg", L"b.mpg", L"c.mpg", L"notes.txt"}) {
        first.addFile(name);
    }
    second.addFile(L"x.mpg");
    second.addFile(L"y.mpg");
    ASSERT_TRUE(openMediaFile(first.path() + L"b.mpg"));
    EXPECT_EQ(controller().playlist().count(), 1) << "the window waited for the folder";
    ASSERT_TRUE(openMediaFile(second.path() + L"y.mpg"));
    ASSERT_TRUE(pumpUntil([&] { return !controller().listingFolder(); }, 5000));
    pumpUntil([] { return false; }, 200);  // the first listing's late word changes nothing
    ASSERT_EQ(controller().playlist().count(), 2);
    EXPECT_EQ(controller().playlist().pathAt(controller().playlist().currentIndex()),
              second.path() + L"y.mpg");
    EXPECT_TRUE(controller().playlist().canStep());
}

TEST_F(CommandsTest, SpaceStartsAndPausesAndPauseNeverResumes) {
    openPlaying();
    EXPECT_EQ(command(ID_PLAY), 0);
    EXPECT_EQ(player->state, StatePaused);
    command(ID_PAUSE);
    EXPECT_EQ(player->state, StatePaused);
    command(ID_PLAY);
    EXPECT_EQ(player->state, StatePlaying);
    command(ID_PAUSE);
    EXPECT_EQ(player->state, StatePaused);
}

TEST_F(CommandsTest, CloseStopsOnlyWhilePlaying) {
    openPlaying();
    command(ID_PAUSE);
    command(ID_CLOSE);
    EXPECT_EQ(player->state, StatePaused);
    command(ID_PLAY);
    command(ID_CLOSE);
    EXPECT_EQ(player->state, StateStopped);
}

TEST_F(CommandsTest, VolumeStepsUnmuteFromSilence) {
    openPlaying();
    command(ID_VOLUME_DOWN);
    EXPECT_EQ(controller().volume(), 90);
    EXPECT_EQ(player->volume, 90);
    command(ID_MUTE);
    EXPECT_TRUE(controller().muted());
    EXPECT_TRUE(player->mute);
    command(ID_VOLUME_UP);
    EXPECT_FALSE(controller().muted());
    EXPECT_EQ(controller().volume(), 10);
    EXPECT_FALSE(player->mute);
    command(ID_VOLUME_DOWN);
    command(ID_VOLUME_DOWN);
    EXPECT_EQ(controller().volume(), 0);
}

TEST_F(CommandsTest, ArrowsSeekFiveSeconds) {
    openPlaying();
    player->time = 20000;
    command(ID_MOVE_FORWARD);
    EXPECT_EQ(player->time, 25000);
    command(ID_MOVE_BACKWARD);
    command(ID_MOVE_BACKWARD);
    EXPECT_EQ(player->time, 15000);
}

TEST_F(CommandsTest, ExitAsksTheWindowToClose) {
    command(ID_FILE_EXIT);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
}

TEST_F(CommandsTest, UnsupportedFileTellsTheUserAndKeepsThePreviousFile) {
    openPlaying();
    apptest::DialogAnswerer answer(IDOK, apptest::kMessageBoxTextId);
    EXPECT_FALSE(openMediaFile(L"C:\\videos\\notes.txt"));
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ(answer.caption(), L"Velmora Player");
    EXPECT_EQ(answer.text(), L"Could not load the file");
    EXPECT_EQ(answer.owner(), window);
    // Playback was stopped first; the file that played stays the current one.
    EXPECT_EQ(player->state, StateStopped);
    EXPECT_EQ(controller().currentPath(), L"C:\\videos\\a.mpg");
}

TEST_F(CommandsTest, FileThePlayerCannotLoadTellsTheUser) {
    nextOpens = false;
    apptest::DialogAnswerer answer(IDOK, apptest::kMessageBoxTextId);
    EXPECT_FALSE(openMediaFile(L"C:\\videos\\broken.mpg"));
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ(answer.text(), L"Could not load the file");
    EXPECT_TRUE(controller().currentPath().empty());
}

TEST_F(CommandsTest, DroppingThreeFilesOpensOnlyTheFirst) {
    HDROP drop = apptest::makeDrop({L"C:\\v\\first.mpg", L"C:\\v\\second.mpg", L"C:\\v\\third.mpg"});
    EXPECT_EQ(SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0), 0);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->lastOpened, L"C:\\v\\first.mpg");
    EXPECT_EQ(player->state, StatePlaying);
}

TEST_F(CommandsTest, PlaybackCommandsWithoutControllerDoNothing) {
    appState().controller.reset();
    for (UINT id : {ID_PLAY, ID_PAUSE, ID_STOP, ID_CLOSE, ID_MUTE, ID_MOVE_FORWARD, ID_MOVE_BACKWARD,
                    ID_PREVIOUS, ID_NEXT, ID_VOLUME_UP, ID_VOLUME_DOWN}) {
        EXPECT_EQ(command(id), 0) << id;
    }
    SendMessageW(window, WM_TIMER, 100, 0);
    EXPECT_EQ(apptest::windowText(window), L"Velmora Player");
}

}  // namespace
