#include <memory>

#include "AppTestSupport.h"
#include "common/FakePlayer.h"
#include "common/MessagePump.h"
#include "common/TempFolder.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"

namespace {

using apptest::command;

class CommandsTest : public apptest::ControlledWindowTest {
protected:
    void SetUp() override {
        ControlledWindowTest::SetUp();
        log->time = 0;
    }
    void openPlaying() {
        ASSERT_TRUE(openMediaFile(L"C:\\videos\\a.mpg"));
        ASSERT_NE(controller().player(), nullptr);
        ASSERT_EQ(log->state, StatePlaying);
    }
    void drop(const std::vector<std::wstring>& paths) {
        SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(apptest::makeDrop(paths)), 0);
    }
};

TEST_F(CommandsTest, OpenedFilePlaysAndNamesTheTitle) {
    openPlaying();
    EXPECT_EQ(log->opened, std::vector<std::wstring>{L"C:\\videos\\a.mpg"});
    EXPECT_EQ(controller().currentPath(), L"C:\\videos\\a.mpg");
    SendMessageW(window, WM_TIMER, 100, 0);
    EXPECT_EQ(apptest::windowText(window), L"Velmora Player - a.mpg");
    command(ID_STOP);
    SendMessageW(window, WM_TIMER, 100, 0);
    EXPECT_EQ(apptest::windowText(window), L"Velmora Player");
}

// The words the player's event window got from the threads that list folders (the fake players post
// none): each listing posts one when it is done, moot or not.
int g_listingWords = 0;
LRESULT CALLBACK countListingWords(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        message->hwnd == FindWindowExW(HWND_MESSAGE, nullptr, L"VelmoraPlayerEvents", nullptr)) {
        ++g_listingWords;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The folder is listed off the window's thread: the file plays at once, the whole folder follows, and a
// listing that a later open made moot never replaces the newer list, whichever of the two ends last.
TEST_F(CommandsTest, OpenedFilesFolderBecomesThePlaylistOffTheWindowThread) {
    const TempFolder first, second;
    first.addFiles({L"a.mpg", L"b.mpg", L"c.mpg", L"notes.txt"});
    second.addFiles({L"x.mpg", L"y.mpg"});
    g_listingWords = 0;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, countListingWords, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    ASSERT_TRUE(openMediaFile(first.path() + L"b.mpg"));
    // Nothing has been pumped: the listing's word can't have been taken in yet, however fast it was.
    EXPECT_EQ(controller().playlist().count(), 1) << "the window waited for the folder";
    ASSERT_TRUE(openMediaFile(second.path() + L"y.mpg"));
    // A bound, not a pause: on a loaded machine a fresh prefix has taken over 5 s to list two folders,
    // and once over 15 s.
    const bool bothDone = pumpUntil([&] { return g_listingWords == 2; }, 60000);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(bothDone) << g_listingWords << " of the two listings' words came";
    EXPECT_FALSE(controller().listingFolder());
    ASSERT_EQ(controller().playlist().count(), 2);
    EXPECT_EQ(controller().playlist().pathAt(controller().playlist().currentIndex()),
              second.path() + L"y.mpg");
    EXPECT_TRUE(controller().playlist().canStep());
}

TEST_F(CommandsTest, SpaceStartsAndPausesAndPauseNeverResumes) {
    openPlaying();
    command(ID_PLAY);
    EXPECT_EQ(log->state, StatePaused);
    command(ID_PAUSE);
    EXPECT_EQ(log->state, StatePaused);
    command(ID_PLAY);
    EXPECT_EQ(log->state, StatePlaying);
    command(ID_PAUSE);
    EXPECT_EQ(log->state, StatePaused);
}

TEST_F(CommandsTest, CloseStopsOnlyWhilePlaying) {
    openPlaying();
    command(ID_PAUSE);
    command(ID_CLOSE);
    EXPECT_EQ(log->state, StatePaused);
    command(ID_PLAY);
    command(ID_CLOSE);
    EXPECT_EQ(log->state, StateStopped);
}

TEST_F(CommandsTest, VolumeStepsUnmuteFromSilence) {
    openPlaying();
    command(ID_VOLUME_DOWN);
    EXPECT_EQ(controller().volume(), 90);
    EXPECT_EQ(log->volume, 90);
    command(ID_MUTE);
    EXPECT_TRUE(controller().muted());
    EXPECT_TRUE(log->mute);
    command(ID_VOLUME_UP);
    EXPECT_FALSE(controller().muted());
    EXPECT_EQ(controller().volume(), 10);
    EXPECT_FALSE(log->mute);
    command(ID_VOLUME_DOWN);
    command(ID_VOLUME_DOWN);
    EXPECT_EQ(controller().volume(), 0);
}

TEST_F(CommandsTest, ArrowsSeekFiveSeconds) {
    openPlaying();
    log->time = 20000;
    command(ID_MOVE_FORWARD);
    EXPECT_EQ(log->time, 25000);
    command(ID_MOVE_BACKWARD);
    command(ID_MOVE_BACKWARD);
    EXPECT_EQ(log->time, 15000);
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
    EXPECT_EQ(log->state, StateStopped);
    EXPECT_EQ(controller().currentPath(), L"C:\\videos\\a.mpg");
}

TEST_F(CommandsTest, FileThePlayerCannotLoadTellsTheUser) {
    log->unloadable.insert(L"C:\\videos\\broken.mpg");
    apptest::DialogAnswerer answer(IDOK, apptest::kMessageBoxTextId);
    EXPECT_FALSE(openMediaFile(L"C:\\videos\\broken.mpg"));
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ(answer.text(), L"Could not load the file");
    EXPECT_TRUE(controller().currentPath().empty());
}

TEST_F(CommandsTest, DroppingThreeFilesOpensOnlyTheFirst) {
    drop({L"C:\\v\\first.mpg", L"C:\\v\\second.mpg", L"C:\\v\\third.mpg"});
    ASSERT_NE(controller().player(), nullptr);
    EXPECT_EQ(log->opened, std::vector<std::wstring>{L"C:\\v\\first.mpg"});
    EXPECT_EQ(log->state, StatePlaying);
}

// The items of the Subtitles, Speed and Chapters submenus that are commands (the track items are chosen
// by the menu itself; the keys are driven end to end).
TEST_F(CommandsTest, MenuItemsChooseSubtitlesSpeedAndChapters) {
    struct Case {
        UINT id;
        std::vector<int> audio, subtitles;
        std::vector<float> rates;
        std::int64_t time = 23000;  // where the file is after it: a chapter's start
    };
    const Case cases[] = {
        {ID_AUDIO_TRACK_FIRST + 1, {}, {}, {}},  // no command
        {ID_SUBTITLES_OFF, {}, {kNoTrack}, {}},
        {ID_SPEED_050, {}, {}, {0.5f}},
        {ID_SPEED_200, {}, {}, {2.0f}},
        {ID_CHAPTER_FIRST + 2, {}, {}, {}, 40000},
        {ID_CHAPTER_LAST, {}, {}, {}},  // no such chapter
    };
    log->audioTracks = kFilmAudio;
    log->subtitleTracks = kFilmSubtitles;
    log->chapters = kFilmChapters;
    openPlaying();
    for (const Case& c : cases) {
        controller().chooseSpeed(1.0f);
        log->forget();
        log->time = 23000;
        command(c.id);
        EXPECT_EQ(log->audioChoices, c.audio) << c.id;
        EXPECT_EQ(log->subtitleChoices, c.subtitles) << c.id;
        EXPECT_EQ(log->ratesSet, c.rates) << c.id;
        EXPECT_EQ(log->time, c.time) << c.id;
    }
}

// A key of the volume, like the wheel, goes through the controller's volume step, which tells the viewer.
TEST_F(CommandsTest, VolumeKeysTellTheViewer) {
    openPlaying();
    command(ID_VOLUME_DOWN);
    command(ID_MUTE);
    command(ID_MUTE);
    EXPECT_EQ(log->textsShown, (std::vector<std::pair<std::wstring, int>>{
                                   {L"Volume 90 %", 2000}, {L"Muted", 2000}, {L"Sound on", 2000}}));
}

// Load Subtitle File... opens on the video's folder with the subtitle files' types; the chosen file is
// added to the video.
TEST_F(CommandsTest, LoadSubtitleFileOpensOnTheVideosFolder) {
    const TempFolder folder;
    const std::wstring video = folder.addFile(L"film.mkv");
    const std::wstring subtitles = folder.addFile(L"extra.srt");
    ASSERT_TRUE(openMediaFile(video));
    std::vector<std::wstring> types;
    apptest::DialogAnswerer answer(IDOK, 0, [&](HWND dialog) {
        const HWND filter = GetDlgItem(dialog, 0x470);
        for (int i = 0; i < static_cast<int>(SendMessageW(filter, CB_GETCOUNT, 0, 0)); ++i) {
            wchar_t text[64] = L"";
            SendMessageW(filter, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            types.push_back(text);
        }
        // A name alone: the dialog finds it in the folder it opened on.
        SetDlgItemTextW(dialog, 0x47C, L"extra.srt");
    });
    command(ID_LOAD_SUBTITLE_FILE);
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ(answer.caption(), L"Load Subtitle File");
    EXPECT_EQ(types, (std::vector<std::wstring>{L"Subtitle Files", L"All Files (*.*)"}));
    EXPECT_EQ(log->subtitleFiles, std::vector<std::wstring>{subtitles});
    EXPECT_EQ(log->textsShown.back().first, L"Subtitles: extra.srt");
}

// A subtitle file dropped on a video that plays or is paused is added to it, without a message; with
// nothing playing, or onto a sound file, it is any file that isn't media.
TEST_F(CommandsTest, DroppedSubtitleFileGoesToTheVideo) {
    openPlaying();
    command(ID_PAUSE);
    drop({L"C:\\v\\extra.SRT"});
    EXPECT_EQ(log->subtitleFiles, std::vector<std::wstring>{L"C:\\v\\extra.SRT"});
    EXPECT_EQ(log->state, StatePaused);
    EXPECT_EQ(controller().currentPath(), L"C:\\videos\\a.mpg");

    for (const bool video : {false, true}) {
        log->video = video;
        command(video ? ID_STOP : ID_PLAY);
        apptest::DialogAnswerer answer(IDOK, apptest::kMessageBoxTextId);
        drop({L"C:\\v\\b.srt"});
        ASSERT_TRUE(answer.answered()) << video;
        EXPECT_EQ(answer.text(), L"Could not load the file");
        EXPECT_EQ(log->subtitleFiles.size(), 1u);
    }
}

TEST_F(CommandsTest, PlaybackCommandsWithoutControllerDoNothing) {
    appState().controller.reset();
    for (UINT id : {ID_PLAY,
                    ID_PAUSE,
                    ID_STOP,
                    ID_CLOSE,
                    ID_MUTE,
                    ID_MOVE_FORWARD,
                    ID_MOVE_BACKWARD,
                    ID_PREVIOUS,
                    ID_NEXT,
                    ID_VOLUME_UP,
                    ID_VOLUME_DOWN,
                    ID_AUDIO_NEXT,
                    ID_SUBTITLES_NEXT,
                    ID_SUBTITLES_OFF,
                    ID_SPEED_FASTER,
                    ID_SPEED_SLOWER,
                    ID_SPEED_NORMAL,
                    ID_LOAD_SUBTITLE_FILE,
                    ID_SPEED_200,
                    ID_CHAPTER_NEXT,
                    ID_CHAPTER_PREVIOUS,
                    ID_CHAPTER_FIRST,
                    ID_SUBTITLES_EARLIER,
                    ID_SUBTITLES_LATER,
                    ID_AUDIO_EARLIER,
                    ID_AUDIO_LATER}) {
        command(id);
        EXPECT_TRUE(runCommand(id)) << id << " is left to the default procedure";
    }
    EXPECT_FALSE(appState().controller);
    SendMessageW(window, WM_TIMER, 100, 0);
    EXPECT_EQ(apptest::windowText(window), L"Velmora Player");
}

}  // namespace
