#include <gtest/gtest.h>

#include <ostream>
#include <windows.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/MainWindowFixture.h"
#include "resource.h"
#include "ui/PlayWndMenu.h"

namespace {

// The context menu resource, destroyed at the end of the test.
testwin::Owned<HMENU, DestroyMenu> loadContextMenu() {
    return testwin::Owned<HMENU, DestroyMenu>(
        LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CONTEXTMENU)));
}

bool present(HMENU popup, UINT command) {
    return GetMenuState(popup, command, MF_BYCOMMAND) != UINT(-1);
}

bool greyed(HMENU popup, UINT command) {
    const UINT state = GetMenuState(popup, command, MF_BYCOMMAND);
    return state != UINT(-1) && (state & MF_GRAYED) != 0 && (state & MF_DISABLED) != 0;
}

bool enabled(HMENU popup, UINT command) {
    const UINT state = GetMenuState(popup, command, MF_BYCOMMAND);
    return state != UINT(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

struct MenuCase {
    const char* name;
    ContextMenuInputs inputs;
    bool play, pause, stop, previous, next;  // true: enabled
};

void PrintTo(const MenuCase& c, std::ostream* os) {
    *os << c.name;
}

ContextMenuInputs inputs(bool hasPlayer, bool isPlaying, int state, int count, bool canStep) {
    ContextMenuInputs in;
    in.hasPlayer = hasPlayer;
    in.isPlaying = isPlaying;
    in.playerState = state;
    in.playlistCount = count;
    in.canStep = canStep;
    return in;
}

class ContextMenuStates : public testing::TestWithParam<MenuCase> {};

TEST_P(ContextMenuStates, EnablesTheCommandsThatApply) {
    const MenuCase& c = GetParam();
    const auto loaded = loadContextMenu();
    ASSERT_NE(loaded.get(), nullptr);
    HMENU popup = prepareContextMenu(loaded.get(), c.inputs);
    ASSERT_EQ(popup, GetSubMenu(loaded.get(), 0));

    EXPECT_EQ(enabled(popup, ID_PLAY), c.play);
    EXPECT_EQ(greyed(popup, ID_PLAY), !c.play);
    EXPECT_EQ(enabled(popup, ID_PAUSE), c.pause);
    EXPECT_EQ(greyed(popup, ID_PAUSE), !c.pause);
    EXPECT_EQ(enabled(popup, ID_STOP), c.stop);
    EXPECT_EQ(greyed(popup, ID_STOP), !c.stop);
    EXPECT_EQ(enabled(popup, ID_PREVIOUS), c.previous);
    EXPECT_EQ(enabled(popup, ID_NEXT), c.next);
    EXPECT_TRUE(enabled(popup, ID_FILE_OPEN));
    EXPECT_TRUE(enabled(popup, ID_FILE_EXIT));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContextMenuStates,
    testing::Values(
        MenuCase{"NothingLoaded", inputs(false, false, 0, 0, false), false, false, false, false, false},
        MenuCase{"Playing", inputs(true, true, StatePlaying, 3, true), false, true, true, true, true},
        MenuCase{"Paused", inputs(true, false, StatePaused, 3, true), true, false, true, true, true},
        MenuCase{"Ended", inputs(true, false, StateEnded, 3, true), true, false, false, true, true},
        MenuCase{"StoppedWithOneFile", inputs(true, false, StateStopped, 1, false), true, false, false, false,
                 false},
        // A playlist that lost its current entry can't step even with several files.
        MenuCase{"NoCurrentEntry", inputs(true, false, StateStopped, 2, false), true, false, false, false,
                 false},
        MenuCase{"PlayerGoneButListKept", inputs(false, false, 0, 2, true), true, false, false, true, true}),
    [](const testing::TestParamInfo<MenuCase>& info) { return std::string(info.param.name); });

// Full screen offers only the switch that applies; Always on Top is checked while the window stays on top,
// in full screen too.
TEST(ContextMenuFullScreen, OffersOnlyTheSwitchThatAppliesAndChecksAlwaysOnTop) {
    for (const bool fullScreen : {false, true}) {
        for (const bool onTop : {false, true}) {
            SCOPED_TRACE(testing::Message() << "full screen " << fullScreen << ", on top " << onTop);
            const auto loaded = loadContextMenu();
            ASSERT_NE(loaded.get(), nullptr);
            ContextMenuInputs in;
            in.fullScreen = fullScreen;
            in.alwaysOnTop = onTop;
            HMENU popup = prepareContextMenu(loaded.get(), in);
            ASSERT_NE(popup, nullptr);
            EXPECT_EQ(present(popup, ID_FULLSCREEN), !fullScreen);
            EXPECT_EQ(present(popup, ID_LEAVE_FULLSCREEN), fullScreen);
            EXPECT_EQ(GetMenuItemCount(popup), 18);
            EXPECT_TRUE(enabled(popup, ID_ALWAYS_ON_TOP));
            EXPECT_EQ((GetMenuState(popup, ID_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0, onTop);
        }
    }
}

TEST(ContextMenuFullScreen, MenuWithoutPopupGivesNull) {
    HMENU empty = CreateMenu();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(prepareContextMenu(empty, ContextMenuInputs{}), nullptr);
    DestroyMenu(empty);
}

// A submenu as the user sees it: its items' texts joined by "|", a separator as "-", a radio-checked item
// after "*", a greyed one after "~"; "greyed" for a greyed submenu item in the pop-up.
std::wstring shown(HMENU popup, int position) {
    if ((GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0) {
        return L"greyed";
    }
    HMENU menu = GetSubMenu(popup, position);
    std::wstring text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t name[80] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = name;
        info.cch = 80;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        text += i > 0 ? L"|" : L"";
        if ((info.fType & MFT_SEPARATOR) != 0) {
            text += L"-";
            continue;
        }
        text += (info.fType & MFT_RADIOCHECK) != 0 && (info.fState & MFS_CHECKED) != 0 ? L"*" : L"";
        text += (info.fState & MFS_GRAYED) != 0 ? L"~" : L"";
        text += name;
    }
    return text;
}

const std::vector<MediaTrack> kNone;
const std::vector<MediaChapter> kNoChapters;

// The Audio, Subtitles, Speed and Chapters submenus (places 9 to 12 of the pop-up) list what the file that
// plays has, with the current choice checked, and a delay that isn't 0 greyed at the end; greyed with
// nothing playing or paused and where the player can't.
TEST(ContextSubmenus, OfferTheTracksSpeedsAndChaptersThePlayerHas) {
    struct Case {
        const char* name;
        unsigned features;
        std::vector<MediaTrack> audio, subtitles;
        int audioTrack, subtitleTrack;
        float speed;
        const wchar_t *audioItems, *subtitleItems, *speedItems;
        std::vector<MediaChapter> chapters = {};
        int chapter = -1;
        std::int64_t subtitleDelay = 0, audioDelay = 0;
        const wchar_t* chapterItems = L"greyed";
    };
    const wchar_t* const speeds15 = L"0.5\u00D7|0.75\u00D7|Normal\tBackspace|1.25\u00D7|*1.5\u00D7|2\u00D7";
    const wchar_t* const speeds1 = L"0.5\u00D7|0.75\u00D7|*Normal\tBackspace|1.25\u00D7|1.5\u00D7|2\u00D7";
    const Case cases[] = {
        {"nothing playing", 0, kNone, kNone, kNoTrack, kNoTrack, 1.0f, L"greyed", L"greyed", L"greyed"},
        {"film", kAllFeatures, kFilmAudio, kFilmSubtitles, 2, 4, 1.5f,
         L"Low tone - [English]|*Track 2 - [French]",
         L"Off|Track 1 - [English]|*Signs && songs - [German]|-|Load Subtitle File...", speeds15},
        {"subtitles off", kAllFeatures, kFilmAudio, kFilmSubtitles, 1, kNoTrack, 1.0f,
         L"*Low tone - [English]|Track 2 - [French]",
         L"*Off|Track 1 - [English]|Signs && songs - [German]|-|Load Subtitle File...", speeds1},
        // Before the library knows the tracks (or a sound file): nothing to choose in Audio.
        {"no tracks known", kAllFeatures, kNone, kNone, kNoTrack, kNoTrack, 1.0f, L"greyed",
         L"*Off|-|Load Subtitle File...", speeds1},
        {"older library", 0, kFilmAudio, kFilmSubtitles, 1, 3, 1.0f, L"greyed", L"greyed", L"greyed"},
        {"no subtitle files", kAllFeatures & ~FeatureSubtitleFiles, kNone, kNone, kNoTrack, kNoTrack, 1.0f,
         L"greyed", L"*Off|-|~Load Subtitle File...", speeds1},
        {"subtitle files only", FeatureSubtitleFiles, kNone, kFilmSubtitles, kNoTrack, 3, 1.0f, L"greyed",
         L"~Off|-|Load Subtitle File...", L"greyed"},
        {"speed between steps", FeatureRate, kNone, kNone, kNoTrack, kNoTrack, 1.1f, L"greyed", L"greyed",
         L"0.5\u00D7|0.75\u00D7|Normal\tBackspace|1.25\u00D7|1.5\u00D7|2\u00D7"},
        {"chapters and delays", kAllFeatures, kFilmAudio, kFilmSubtitles, 1, 3, 1.0f,
         L"*Low tone - [English]|Track 2 - [French]|-|~Audio delay: -100 ms",
         L"Off|*Track 1 - [English]|Signs && songs - [German]|-|Load Subtitle File...|-|~Subtitle delay: "
         L"+300 ms",
         speeds1, kFilmChapters, 1, 300, -100,
         L"Opening - 00:00:00|*Chapter 2 - 00:00:20|The Storm - 00:00:40"},
        {"no chapters in the file", kAllFeatures, kNone, kNone, kNoTrack, kNoTrack, 1.0f, L"greyed",
         L"*Off|-|Load Subtitle File...", speeds1, kNoChapters, 0},
        {"a library without chapters and delays", FeatureAudioTracks | FeatureSubtitleTracks, kFilmAudio,
         kFilmSubtitles, 1, kNoTrack, 1.0f, L"*Low tone - [English]|Track 2 - [French]",
         L"*Off|Track 1 - [English]|Signs && songs - [German]|-|~Load Subtitle File...", L"greyed",
         kFilmChapters, 0, 300, -100, L"greyed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto loaded = loadContextMenu();
        ASSERT_NE(loaded.get(), nullptr);
        ContextMenuInputs in = inputs(true, true, StatePlaying, 1, false);
        in.features = c.features;
        in.audioTracks = c.audio;
        in.audioTrack = c.audioTrack;
        in.subtitleTracks = c.subtitles;
        in.subtitleTrack = c.subtitleTrack;
        in.speed = c.speed;
        in.chapters = c.chapters;
        in.chapter = c.chapter;
        in.subtitleDelay = c.subtitleDelay;
        in.audioDelay = c.audioDelay;
        HMENU popup = prepareContextMenu(loaded.get(), in);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(shown(popup, 9), c.audioItems);
        EXPECT_EQ(shown(popup, 10), c.subtitleItems);
        EXPECT_EQ(shown(popup, 11), c.speedItems);
        EXPECT_EQ(shown(popup, 12), c.chapterItems);
        if (!c.audio.empty() && c.features == kAllFeatures) {
            // A track's item says which place of the list it stands for.
            EXPECT_EQ(GetMenuItemID(GetSubMenu(popup, 9), 1), UINT(ID_AUDIO_TRACK_FIRST + 1));
            EXPECT_EQ(GetMenuItemID(GetSubMenu(popup, 10), 2), UINT(ID_SUBTITLE_TRACK_FIRST + 1));
        }
        if (!c.chapters.empty() && c.features == kAllFeatures) {
            EXPECT_EQ(GetMenuItemID(GetSubMenu(popup, 12), 2), UINT(ID_CHAPTER_FIRST + 2));
        }
    }
    // A file of many tracks lists every one.
    std::vector<MediaTrack> many;
    for (int id = 1; id <= 64; ++id) {
        many.push_back({id, L"Track " + std::to_wstring(id)});
    }
    const auto loaded = loadContextMenu();
    ContextMenuInputs in = inputs(true, true, StatePlaying, 1, false);
    in.features = kAllFeatures;
    in.audioTracks = in.subtitleTracks = many;
    HMENU popup = prepareContextMenu(loaded.get(), in);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(popup, 9)), 64);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(popup, 10)), 64 + 3);
}

// A chapter chosen by its place after another file opened (the menu stays open while the next
// file of the folder starts) does nothing; other items still do.
TEST(ContextSubmenus, AnItemOfTheFileAppliesOnlyToTheFileItWasMadeFor) {
    ContextMenuInputs shownFor;
    shownFor.path = L"C:\\v\\a.mkv";
    const struct {
        UINT command;
        const wchar_t* fileNow;
        bool applies;
    } cases[] = {
        {ID_CHAPTER_FIRST + 1, L"C:\\v\\a.mkv", true},
        {ID_CHAPTER_FIRST + 1, L"C:\\v\\b.mkv", false},
        {ID_CHAPTER_LAST, L"C:\\v\\b.mkv", false},
        {ID_SPEED_200, L"C:\\v\\b.mkv", true},
        {ID_NEXT, L"C:\\v\\b.mkv", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menuChoiceApplies(c.command, shownFor, c.fileNow), c.applies) << c.command;
    }
}

// While a place is offered, "Resume from 00:03:44" comes first, apart from the rest; it and Go to Time...
// need a file that plays or is paused.
TEST(ContextMenuFurther, OffersTheResumePlaceFirstAndGoToTimeWhileAFilePlays) {
    const std::tuple<int, std::int64_t, const wchar_t*> cases[] = {
        {StatePaused, 3723000, L"Resume from 01:02:03\tR"},
        {StateStopped, -1, L"Open\tCtrl+O"},
        {StateStopped, 224000, L"Resume from 00:03:44\tR"},
    };
    for (const auto& [state, offer, first] : cases) {
        const auto loaded = loadContextMenu();
        ContextMenuInputs in = inputs(true, state == StatePlaying, state, 1, false);
        in.resumeOffer = offer;
        HMENU popup = prepareContextMenu(loaded.get(), in);
        wchar_t text[80] = L"";
        GetMenuStringW(popup, 0, text, 80, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), first);
        EXPECT_EQ(GetMenuItemID(popup, 0), offer >= 0 ? UINT(ID_RESUME) : UINT(ID_FILE_OPEN));
        EXPECT_EQ(enabled(popup, ID_GO_TO_TIME), state != StateStopped) << state;
        EXPECT_EQ(greyed(popup, ID_RESUME), offer >= 0 && state == StateStopped);
    }
}

using ContextMenuInputsFromState = MainWindowFixture;

TEST_F(ContextMenuInputsFromState, NoControllerMeansNothingLoaded) {
    appState().fullScreen = TRUE;
    const ContextMenuInputs in = currentContextMenuInputs(appWindowLinks());
    EXPECT_FALSE(in.hasPlayer);
    EXPECT_FALSE(in.isPlaying);
    EXPECT_EQ(in.playlistCount, 0);
    EXPECT_FALSE(in.canStep);
    EXPECT_TRUE(in.fullScreen);
}

// The tracks and the player's features count only while a file plays or is paused; the speed is the
// controller's, which stays from one file to the next.
TEST_F(ContextMenuInputsFromState, ReadsTracksWhilePlayingOrPaused) {
    auto player = installControllerWithPlayer();
    player->audioTracks = kFilmAudio;
    player->subtitleTracks = kFilmSubtitles;
    player->subtitleTrack = 4;
    player->chapters = kFilmChapters;
    player->time = 41000;
    for (const int state : {StatePaused, StateStopped}) {
        player->state = state;
        player->subtitleDelay = 300;
        player->audioDelay = -100;
        const ContextMenuInputs in = currentContextMenuInputs(appWindowLinks());
        const bool paused = state == StatePaused;
        EXPECT_EQ(in.features, paused ? player->features : 0u);
        EXPECT_EQ(in.audioTracks.size(), paused ? 2u : 0u);
        EXPECT_EQ(in.subtitleTracks.size(), paused ? 2u : 0u);
        EXPECT_EQ(in.subtitleTrack, paused ? 4 : kNoTrack);
        EXPECT_EQ(in.chapters.size(), paused ? 3u : 0u);
        EXPECT_EQ(in.chapter, paused ? 2 : -1);
        EXPECT_EQ(in.subtitleDelay, paused ? 300 : 0);
        EXPECT_EQ(in.audioDelay, paused ? -100 : 0);
    }
    player->state = StatePlaying;
    appState().controller->chooseSpeed(1.5f);
    player->state = StateStopped;
    EXPECT_EQ(currentContextMenuInputs(appWindowLinks()).speed, 1.5f);
}

// A click on a track item chooses the track of the id the item carries, unless the folder moved on to
// another file while the menu was open.
TEST_F(ContextMenuInputsFromState, TrackItemChoosesItsTrackWhileItsFilePlays) {
    auto player = installControllerWithPlayer();
    player->audioTracks = kFilmAudio;
    player->subtitleTracks = kFilmSubtitles;
    player->state = StatePlaying;
    appState().controller->setCurrentFile(L"C:\\v\\a.mkv");
    const ContextMenuInputs shown = currentContextMenuInputs(appWindowLinks());
    const auto loaded = loadContextMenu();
    HMENU popup = prepareContextMenu(loaded.get(), shown);
    struct Case {
        UINT command;
        const wchar_t* playing;  // when the item is clicked
        std::vector<int> audio, subtitles;
    };
    const Case cases[] = {
        {ID_AUDIO_TRACK_FIRST + 1, L"C:\\v\\a.mkv", {2}, {}},
        {ID_SUBTITLE_TRACK_FIRST, L"C:\\v\\a.mkv", {}, {3}},
        {ID_AUDIO_TRACK_FIRST + 1, L"C:\\v\\b.mkv", {}, {}},
    };
    for (const Case& c : cases) {
        appState().controller->setCurrentFile(c.playing);
        player->forget();
        TrackItem item;
        ASSERT_TRUE(trackItemOf(popup, c.command, item)) << c.command;
        chooseTrackItem(appState().controller.get(), shown.path, item);
        EXPECT_EQ(player->audioChoices, c.audio) << c.command;
        EXPECT_EQ(player->subtitleChoices, c.subtitles) << c.command;
    }
    TrackItem none;
    EXPECT_FALSE(trackItemOf(popup, ID_SPEED_NORMAL, none));
}

TEST_F(ContextMenuInputsFromState, ReadsThePlayerOfTheController) {
    auto player = installControllerWithPlayer();
    player->state = StatePaused;
    ContextMenuInputs in = currentContextMenuInputs(appWindowLinks());
    EXPECT_TRUE(in.hasPlayer);
    EXPECT_FALSE(in.isPlaying);
    EXPECT_EQ(in.playerState, StatePaused);
    EXPECT_FALSE(in.fullScreen);

    player->state = StatePlaying;
    in = currentContextMenuInputs(appWindowLinks());
    EXPECT_TRUE(in.isPlaying);
    EXPECT_EQ(in.playerState, StatePlaying);
}

TEST_F(ContextMenuInputsFromState, ReadsAlwaysOnTopFromTheMainWindow) {
    EXPECT_FALSE(currentContextMenuInputs(appWindowLinks()).alwaysOnTop);
    SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(currentContextMenuInputs(appWindowLinks()).alwaysOnTop);
    SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(currentContextMenuInputs(appWindowLinks()).alwaysOnTop);
}

}  // namespace
