#include <gtest/gtest.h>

#include <ostream>
#include <windows.h>

#include <memory>
#include <string>
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

TEST(ContextMenuFullScreen, OffersOnlyTheSwitchThatApplies) {
    for (const bool fullScreen : {false, true}) {
        const auto loaded = loadContextMenu();
        ASSERT_NE(loaded.get(), nullptr);
        ContextMenuInputs in;
        in.fullScreen = fullScreen;
        HMENU popup = prepareContextMenu(loaded.get(), in);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(present(popup, ID_FULLSCREEN), !fullScreen) << "fullScreen " << fullScreen;
        EXPECT_EQ(present(popup, ID_LEAVE_FULLSCREEN), fullScreen) << "fullScreen " << fullScreen;
        EXPECT_EQ(GetMenuItemCount(popup), 15);
    }
}

TEST(ContextMenuFullScreen, MenuWithoutPopupGivesNull) {
    HMENU empty = CreateMenu();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(prepareContextMenu(empty, ContextMenuInputs{}), nullptr);
    DestroyMenu(empty);
}

// One item of a menu as the user sees it: its text ("-" for a separator), its command, and whether it
// is greyed and radio-checked.
struct Item {
    std::wstring text;
    UINT command;
    bool greyed;
    bool checked;

    bool operator==(const Item& other) const {
        return text == other.text && command == other.command && greyed == other.greyed &&
               checked == other.checked;
    }
};

void PrintTo(const Item& item, std::ostream* os) {
    *os << testing::PrintToString(item.text) << " " << item.command << (item.greyed ? " greyed" : "")
        << (item.checked ? " checked" : "");
}

std::vector<Item> itemsOf(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[80] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 80;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        const bool radio = (info.fType & MFT_RADIOCHECK) != 0 && (info.fState & MFS_CHECKED) != 0;
        if (separator) {
            items.push_back({L"-", 0, false, false});
        } else {
            items.push_back({text, info.wID, (info.fState & MFS_GRAYED) != 0, radio});
        }
    }
    return items;
}

// The three submenus, by their place in the pop-up of a window (not full screen).
constexpr int kAudio = 8, kSubtitles = 9, kSpeed = 10;

bool submenuGreyed(HMENU popup, int position) {
    return (GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
}

constexpr unsigned kAll =
    FeatureAudioTracks | FeatureSubtitleTracks | FeatureSubtitleFiles | FeatureRate | FeatureOnScreenText;

struct SubmenuCase {
    const char* name;
    unsigned features;
    std::vector<MediaTrack> audio;
    int audioTrack;
    std::vector<MediaTrack> subtitles;
    int subtitleTrack;
    float speed;
    bool audioGreyed, subtitlesGreyed, speedGreyed;
    std::vector<Item> audioItems, subtitleItems;
    int speedChecked;  // the place of the checked speed; -1 for none
};

void PrintTo(const SubmenuCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<MediaTrack> kFilmAudio = {{1, L"Low tone - [English]"}, {2, L"Track 2 - [French]"}};
const std::vector<MediaTrack> kFilmSubtitles = {{3, L"Track 1 - [English]"},
                                                {4, L"Signs & songs - [German]"}};
const Item kSeparator{L"-", 0, false, false};
const Item kLoad{L"Load Subtitle File...", ID_LOAD_SUBTITLE_FILE, false, false};

class ContextSubmenus : public testing::TestWithParam<SubmenuCase> {};

// The Audio, Subtitles and Speed submenus list what the file that plays has, with the current choice
// checked; they are greyed with nothing playing or paused and where the player can't do it.
TEST_P(ContextSubmenus, OfferTheTracksAndSpeedsThePlayerHas) {
    const SubmenuCase& c = GetParam();
    const auto loaded = loadContextMenu();
    ASSERT_NE(loaded.get(), nullptr);
    ContextMenuInputs in = inputs(true, true, StatePlaying, 1, false);
    in.features = c.features;
    in.audioTracks = c.audio;
    in.audioTrack = c.audioTrack;
    in.subtitleTracks = c.subtitles;
    in.subtitleTrack = c.subtitleTrack;
    in.speed = c.speed;
    HMENU popup = prepareContextMenu(loaded.get(), in);
    ASSERT_NE(popup, nullptr);

    EXPECT_EQ(submenuGreyed(popup, kAudio), c.audioGreyed);
    EXPECT_EQ(submenuGreyed(popup, kSubtitles), c.subtitlesGreyed);
    EXPECT_EQ(submenuGreyed(popup, kSpeed), c.speedGreyed);
    if (!c.audioGreyed) {
        EXPECT_EQ(itemsOf(GetSubMenu(popup, kAudio)), c.audioItems);
    }
    if (!c.subtitlesGreyed) {
        EXPECT_EQ(itemsOf(GetSubMenu(popup, kSubtitles)), c.subtitleItems);
    }
    const std::vector<Item> speeds = itemsOf(GetSubMenu(popup, kSpeed));
    ASSERT_EQ(speeds.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(speeds[static_cast<size_t>(i)].checked, i == c.speedChecked) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContextSubmenus,
    testing::Values(
        SubmenuCase{"NothingPlaying", 0, {}, kNoTrack, {}, kNoTrack, 1.0f, true, true, true, {}, {}, -1},
        SubmenuCase{"Film",
                    kAll,
                    kFilmAudio,
                    2,
                    kFilmSubtitles,
                    4,
                    1.5f,
                    false,
                    false,
                    false,
                    {{L"Low tone - [English]", ID_AUDIO_TRACK_FIRST, false, false},
                     {L"Track 2 - [French]", ID_AUDIO_TRACK_FIRST + 1, false, true}},
                    {{L"Off", ID_SUBTITLES_OFF, false, false},
                     {L"Track 1 - [English]", ID_SUBTITLE_TRACK_FIRST, false, false},
                     {L"Signs && songs - [German]", ID_SUBTITLE_TRACK_FIRST + 1, false, true},
                     kSeparator,
                     kLoad},
                    4},
        SubmenuCase{"SubtitlesOff",
                    kAll,
                    kFilmAudio,
                    1,
                    kFilmSubtitles,
                    kNoTrack,
                    1.0f,
                    false,
                    false,
                    false,
                    {{L"Low tone - [English]", ID_AUDIO_TRACK_FIRST, false, true},
                     {L"Track 2 - [French]", ID_AUDIO_TRACK_FIRST + 1, false, false}},
                    {{L"Off", ID_SUBTITLES_OFF, false, true},
                     {L"Track 1 - [English]", ID_SUBTITLE_TRACK_FIRST, false, false},
                     {L"Signs && songs - [German]", ID_SUBTITLE_TRACK_FIRST + 1, false, false},
                     kSeparator,
                     kLoad},
                    2},
        // Before the library knows the tracks (a clip of one track, an audio file): no Audio to choose.
        SubmenuCase{"NoTracksKnown",
                    kAll,
                    {},
                    kNoTrack,
                    {},
                    kNoTrack,
                    0.5f,
                    true,
                    false,
                    false,
                    {},
                    {{L"Off", ID_SUBTITLES_OFF, false, true}, kSeparator, kLoad},
                    0},
        SubmenuCase{"OlderLibrary", 0, kFilmAudio, 1, kFilmSubtitles, 3, 1.0f, true, true, true, {}, {}, -1},
        SubmenuCase{"NoSubtitleFiles",
                    kAll & ~FeatureSubtitleFiles,
                    {},
                    kNoTrack,
                    {},
                    kNoTrack,
                    2.0f,
                    true,
                    false,
                    false,
                    {},
                    {{L"Off", ID_SUBTITLES_OFF, false, true},
                     kSeparator,
                     {L"Load Subtitle File...", ID_LOAD_SUBTITLE_FILE, true, false}},
                    5},
        SubmenuCase{"SubtitleFilesOnly",
                    FeatureSubtitleFiles,
                    {},
                    kNoTrack,
                    kFilmSubtitles,
                    3,
                    1.0f,
                    true,
                    false,
                    true,
                    {},
                    {{L"Off", ID_SUBTITLES_OFF, true, false}, kSeparator, kLoad},
                    -1},
        SubmenuCase{"SpeedBetweenSteps",
                    FeatureRate,
                    {},
                    kNoTrack,
                    {},
                    kNoTrack,
                    1.1f,
                    true,
                    true,
                    false,
                    {},
                    {},
                    -1}),
    [](const testing::TestParamInfo<SubmenuCase>& info) { return std::string(info.param.name); });

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
    player->audioTrack = 2;
    player->subtitleTracks = kFilmSubtitles;
    player->subtitleTrack = kNoTrack;
    for (const int state : {StatePlaying, StatePaused, StateStopped}) {
        player->state = state;
        const ContextMenuInputs in = currentContextMenuInputs(appWindowLinks());
        const bool playing = state != StateStopped;
        EXPECT_EQ(in.features, playing ? player->features : 0u) << state;
        EXPECT_EQ(in.audioTracks, playing ? kFilmAudio : std::vector<MediaTrack>()) << state;
        EXPECT_EQ(in.audioTrack, playing ? 2 : kNoTrack) << state;
        EXPECT_EQ(in.subtitleTracks, playing ? kFilmSubtitles : std::vector<MediaTrack>()) << state;
        EXPECT_EQ(in.subtitleTrack, kNoTrack) << state;
    }
    player->state = StatePlaying;
    appState().controller->chooseSpeed(1.5f);
    player->state = StateStopped;
    EXPECT_EQ(currentContextMenuInputs(appWindowLinks()).speed, 1.5f);
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

}  // namespace
