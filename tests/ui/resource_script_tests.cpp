// The resource script: dialog templates, menus and the accelerator table.
#include "common/TestWindows.h"
#include "common/WindowRects.h"
#include "resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

INT_PTR CALLBACK passiveDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// A modeless dialog from a template, destroyed at the end of the test.
testwin::Owned<HWND, DestroyWindow> templateDialog(int id, HWND parent) {
    return testwin::Owned<HWND, DestroyWindow>(
        CreateDialogParamW(module(), MAKEINTRESOURCEW(id), parent, passiveDialogProc, 0));
}

using testwin::TestWindow;
using testwin::windowText;

LONG_PTR styleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

TEST(AboutDialog, HasTheVersionLineTheIconAndTheDefaultButton) {
    const auto about = templateDialog(IDD_ABOUTBOX, nullptr);
    ASSERT_NE(about.get(), nullptr);
    EXPECT_EQ(windowText(about.get()), L"About");
    EXPECT_TRUE(styleOf(about.get()) & WS_CAPTION);

    HWND version = GetDlgItem(about.get(), IDC_ABOUT_TEXT);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(windowText(version), L"Orlenza Player, Version 1.0");
    EXPECT_TRUE(styleOf(version) & SS_NOPREFIX);

    HWND ok = GetDlgItem(about.get(), IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(windowText(ok), L"OK");
    EXPECT_EQ(styleOf(ok) & BS_TYPEMASK, BS_DEFPUSHBUTTON);

    // The icon control shows the program's own icon.
    bool iconShown = false;
    for (HWND child = GetWindow(about.get(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((styleOf(child) & SS_TYPEMASK) == SS_ICON) {
            iconShown = SendMessageW(child, STM_GETICON, 0, 0) != 0;
        }
    }
    EXPECT_TRUE(iconShown);
}

struct BarControl {
    int id;
    const wchar_t* caption;
    RECT units;  // x, y, width, height in dialog units, as the template has them
    bool button;
};

TEST(ControlBarTemplate, HasEveryControlWhereTheLayoutExpectsIt) {
    const BarControl controls[] = {
        {IDC_BTN_OPEN, L"O", {0, 1, 22, 14}, true},
        {IDC_BTN_PLAY, L"P", {22, 1, 22, 14}, true},
        {IDC_BTN_PAUSE, L"U", {43, 1, 22, 14}, true},
        {IDC_BTN_STOP, L"S", {110, 1, 22, 14}, true},
        {IDC_BTN_PREV, L"B", {65, 1, 22, 14}, true},
        {IDC_BTN_NEXT, L"F", {88, 1, 22, 14}, true},
        {IDC_BTN_MUTE, L"M", {342, 1, 22, 14}, true},
        {IDC_BTN_FULLSCREEN, L"S1", {365, 1, 22, 14}, true},
        {IDC_BTN_LEAVE_FULLSCREEN, L"S2", {389, 1, 22, 14}, true},
        {IDC_TIME_SLIDER, L"", {145, 2, 126, 14}, false},
        {IDC_VOLUME_SLIDER, L"", {273, 2, 68, 14}, false},
        {IDC_TOLD_STATUS, L"", {145, 0, 126, 2}, false},
    };
    const TestWindow host(WS_POPUP);
    const auto bar = templateDialog(IDD_PLAYBAR, host.get());
    ASSERT_NE(bar.get(), nullptr);
    EXPECT_TRUE(styleOf(bar.get()) & WS_CHILD);
    EXPECT_FALSE(styleOf(bar.get()) & WS_CAPTION);
    RECT size{0, 0, 422, 18};
    MapDialogRect(bar.get(), &size);
    EXPECT_EQ(testwin::clientSize(bar.get()), (SIZE{size.right, size.bottom}));

    for (const BarControl& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(bar.get(), c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(windowText(control), c.caption);
        if (c.button) {
            EXPECT_EQ(styleOf(control) & BS_TYPEMASK, BS_OWNERDRAW);
            EXPECT_TRUE(styleOf(control) & WS_VISIBLE);
        } else {
            EXPECT_FALSE(styleOf(control) & WS_VISIBLE);
        }
        // The dialog manager converts position and size separately, so the size is mapped on its own.
        RECT expected = c.units;
        MapDialogRect(bar.get(), &expected);
        EXPECT_EQ(testwin::rectInParent(control),
                  testwin::xywh(expected.left, expected.top, expected.right, expected.bottom));
    }
}

TEST(VideoTemplates, AreHiddenChildDialogsWithoutControls) {
    const TestWindow host(WS_POPUP);
    for (int id : {IDD_VIDEO_FRAME, IDD_VIDEO_SURFACE}) {
        SCOPED_TRACE(id);
        const auto dialog = templateDialog(id, host.get());
        ASSERT_NE(dialog.get(), nullptr);
        EXPECT_TRUE(styleOf(dialog.get()) & WS_CHILD);
        EXPECT_FALSE(styleOf(dialog.get()) & WS_VISIBLE);
        EXPECT_FALSE(styleOf(dialog.get()) & WS_CAPTION);
        EXPECT_EQ(GetWindow(dialog.get(), GW_CHILD), nullptr);
    }
}

struct MenuEntry {
    UINT id;  // 0 for a separator, kSubmenu for a submenu
    const wchar_t* text;
};
constexpr UINT kSubmenu = UINT(-1);  // what GetMenuItemID answers for a submenu

// Checks a pop-up's items in order; separators have id 0 and no text.
void expectMenu(HMENU menu, const std::vector<MenuEntry>& expected) {
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const UINT position = static_cast<UINT>(i);
        if (expected[i].id == 0) {
            EXPECT_TRUE(GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR);
            continue;
        }
        EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(i)), expected[i].id);
        EXPECT_EQ(GetSubMenu(menu, static_cast<int>(i)) != nullptr, expected[i].id == kSubmenu);
        wchar_t text[64] = {};
        GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, expected[i].text);
    }
}

std::wstring topLevelText(HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

TEST(Menus, ContextMenuHasPopupAndControlInOrder) {
    HMENU menu = LoadMenuW(module(), MAKEINTRESOURCEW(IDR_CONTEXTMENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(topLevelText(menu, 0), L"Popup");
    EXPECT_EQ(topLevelText(menu, 1), L"Control");
    expectMenu(GetSubMenu(menu, 0), {{ID_FILE_OPEN, L"Open\tCtrl+O"},
                                     {0, nullptr},
                                     {ID_PLAY, L"Play"},
                                     {ID_PAUSE, L"Pause\tSpace"},
                                     {ID_STOP, L"Stop"},
                                     {ID_PREVIOUS, L"Previous\tPageUp"},
                                     {ID_NEXT, L"Next\tPageDown"},
                                     {ID_GO_TO_TIME, L"Go to Time...\tCtrl+G"},
                                     {0, nullptr},
                                     {kSubmenu, L"&Audio\tA"},
                                     {kSubmenu, L"&Subtitles\tS"},
                                     {kSubmenu, L"S&peed\t[ ]"},
                                     {kSubmenu, L"&Chapters"},
                                     {0, nullptr},
                                     {ID_FULLSCREEN, L"Full Screen\tF"},
                                     {ID_LEAVE_FULLSCREEN, L"Leave Full Screen\tESC"},
                                     {ID_ALWAYS_ON_TOP, L"Always on Top\tT"},
                                     {0, nullptr},
                                     {ID_FILE_EXIT, L"E&xit"}});
    HMENU popup = GetSubMenu(menu, 0);
    // Audio holds the place of the tracks, which the menu gets when it opens.
    expectMenu(GetSubMenu(popup, 9), {{ID_AUDIO_TRACK_FIRST, L"(none)"}});
    expectMenu(GetSubMenu(popup, 10),
               {{ID_SUBTITLES_OFF, L"Off"}, {0, nullptr}, {ID_LOAD_SUBTITLE_FILE, L"Load Subtitle File..."}});
    expectMenu(GetSubMenu(popup, 11), {{ID_SPEED_050, L"0.5\u00D7"},
                                       {ID_SPEED_075, L"0.75\u00D7"},
                                       {ID_SPEED_NORMAL, L"Normal\tBackspace"},
                                       {ID_SPEED_125, L"1.25\u00D7"},
                                       {ID_SPEED_150, L"1.5\u00D7"},
                                       {ID_SPEED_200, L"2\u00D7"}});
    expectMenu(GetSubMenu(popup, 12), {{ID_CHAPTER_FIRST, L"(none)"}});
    expectMenu(GetSubMenu(menu, 1), {{ID_MUTE, L"Mute"},
                                     {ID_MOVE_BACKWARD, L"Move Backward"},
                                     {ID_MOVE_FORWARD, L"Move Forward"},
                                     {ID_MOVE_BACKWARD_MINUTE, L"Move Backward a Minute"},
                                     {ID_MOVE_FORWARD_MINUTE, L"Move Forward a Minute"},
                                     {ID_VOLUME_UP, L"Volume Up"},
                                     {ID_VOLUME_DOWN, L"Volume Down"}});
    DestroyMenu(menu);
}

TEST(Menus, MainAndTrayMenus) {
    HMENU main = LoadMenuW(module(), MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(GetMenuItemCount(main), 2);
    EXPECT_EQ(topLevelText(main, 0), L"&File");
    EXPECT_EQ(topLevelText(main, 1), L"&Help");
    expectMenu(GetSubMenu(main, 0),
               {{ID_FILE_OPEN, L"Open"}, {ID_CLOSE, L"Close"}, {ID_FILE_EXIT, L"E&xit"}});
    expectMenu(GetSubMenu(main, 1), {{ID_HELP_ABOUT, L"&About..."}});
    DestroyMenu(main);

    HMENU tray = LoadMenuW(module(), MAKEINTRESOURCEW(IDM_TRAY));
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(topLevelText(tray, 0), L"Tray");
    expectMenu(GetSubMenu(tray, 0), {{ID_FILE_EXIT, L"Exit"}});
    DestroyMenu(tray);
}

// The manifest declares per-monitor DPI awareness (version 2, then version 1, then system-wide on
// systems that know only the older setting), so that no system stretches the player's bitmap.
TEST(Manifest, DeclaresPerMonitorDpiAwarenessWithFallbacks) {
    HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module(), found)));
    ASSERT_NE(bytes, nullptr);
    const std::string manifest(bytes, SizeofResource(module(), found));
    EXPECT_NE(manifest.find("SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(manifest.find("SMI/2005/WindowsSettings\">true/pm</dpiAware>"), std::string::npos);
}

TEST(Accelerators, TableHasTwentyNineKeysInOrder) {
    const BYTE key = FVIRTKEY | FNOINVERT;
    const ACCEL expected[] = {
        {key, 'F', ID_FULLSCREEN},
        {key | FCONTROL, 'O', ID_FILE_OPEN},
        {key, VK_LEFT, ID_MOVE_BACKWARD},
        {key, VK_RIGHT, ID_MOVE_FORWARD},
        {key, 'M', ID_MUTE},
        {key, VK_NEXT, ID_NEXT},
        {key, VK_SPACE, ID_PLAY},
        {key, VK_PRIOR, ID_PREVIOUS},
        {key, VK_DOWN, ID_VOLUME_DOWN},
        {key, VK_UP, ID_VOLUME_UP},
        {FALT | FNOINVERT, '/', ID_HELP_ABOUT},  // characters, not virtual keys
        {FALT | FNOINVERT, '?', ID_HELP_ABOUT},
        {key, 'A', ID_AUDIO_NEXT},
        {key, 'S', ID_SUBTITLES_NEXT},
        {FNOINVERT, ']', ID_SPEED_FASTER},  // characters: wherever the layout has them
        {FNOINVERT, '[', ID_SPEED_SLOWER},
        {key, VK_BACK, ID_SPEED_NORMAL},
        {key, VK_ESCAPE, ID_LEAVE_FULLSCREEN},
        {key, 'T', ID_ALWAYS_ON_TOP},
        {key | FCONTROL, VK_NEXT, ID_CHAPTER_NEXT},
        {key | FCONTROL, VK_PRIOR, ID_CHAPTER_PREVIOUS},
        {key, 'G', ID_SUBTITLES_EARLIER},
        {key, 'H', ID_SUBTITLES_LATER},
        {key, 'J', ID_AUDIO_EARLIER},
        {key, 'K', ID_AUDIO_LATER},
        {key | FCONTROL, VK_LEFT, ID_MOVE_BACKWARD_MINUTE},
        {key | FCONTROL, VK_RIGHT, ID_MOVE_FORWARD_MINUTE},
        {key, 'R', ID_RESUME},
        {key | FCONTROL, 'G', ID_GO_TO_TIME},
    };
    HACCEL table = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    const int count = static_cast<int>(std::size(expected));
    ASSERT_EQ(CopyAcceleratorTableW(table, nullptr, 0), count);
    ACCEL actual[std::size(expected)] = {};
    ASSERT_EQ(CopyAcceleratorTableW(table, actual, count), count);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].fVirt & 0x7F, expected[i].fVirt);
        EXPECT_EQ(actual[i].key, expected[i].key);
        EXPECT_EQ(actual[i].cmd, expected[i].cmd);
    }
    DestroyAcceleratorTable(table);
}

}  // namespace
