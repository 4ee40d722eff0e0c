#include <gtest/gtest.h>

#include <ostream>
#include <windows.h>

#include <memory>

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
        EXPECT_EQ(GetMenuItemCount(popup), 12);
    }
}

TEST(ContextMenuAlwaysOnTop, CheckedWhileTheWindowStaysOnTop) {
    for (const bool onTop : {false, true}) {
        for (const bool fullScreen : {false, true}) {
            const auto loaded = loadContextMenu();
            ASSERT_NE(loaded.get(), nullptr);
            ContextMenuInputs in;
            in.alwaysOnTop = onTop;
            in.fullScreen = fullScreen;
            HMENU popup = prepareContextMenu(loaded.get(), in);
            ASSERT_NE(popup, nullptr);
            EXPECT_TRUE(enabled(popup, ID_ALWAYS_ON_TOP));
            EXPECT_EQ((GetMenuState(popup, ID_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0, onTop)
                << "on top " << onTop << ", full screen " << fullScreen;
        }
    }
}

TEST(ContextMenuFullScreen, MenuWithoutPopupGivesNull) {
    HMENU empty = CreateMenu();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(prepareContextMenu(empty, ContextMenuInputs{}), nullptr);
    DestroyMenu(empty);
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
