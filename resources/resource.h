#pragma once
// Resource and command identifiers shared by the resource script and the code.

// Dialogs.
#define IDD_ABOUTBOX 103
#define IDD_PLAYBAR 134
#define IDD_VIDEO_FRAME 169
#define IDD_VIDEO_SURFACE 170
#define IDC_ABOUT_TEXT 1000
#define IDC_ABOUT_ICON 107
// Go to Time: the field the time is typed in, and the line that says what it takes.
#define IDD_GO_TO_TIME 180
#define IDC_GO_TO_TIME_FIELD 1020
#define IDC_GO_TO_TIME_HINT 1021

// Menus and accelerators.
#define IDM_TRAY 4
#define IDR_MAINMENU 109
#define IDR_ACCELERATORS 109
#define IDR_CONTEXTMENU 131

// Pictures.
#define IDB_LOGO 142

// Control-bar controls.
#define IDC_BTN_OPEN 1003
#define IDC_BTN_PLAY 1004
#define IDC_BTN_PAUSE 1005
#define IDC_BTN_PREV 1006
#define IDC_BTN_MUTE 1007
#define IDC_BTN_NEXT 1008
#define IDC_TIME_SLIDER 1009
#define IDC_VOLUME_SLIDER 1010
#define IDC_BTN_STOP 1011
#define IDC_BTN_FULLSCREEN 1012
#define IDC_BTN_LEAVE_FULLSCREEN 1013
#define IDC_TOLD_STATUS 1014

// Commands (WM_COMMAND identifiers of the main window).
#define ID_HELP_ABOUT 104
#define ID_FILE_OPEN 32771
#define ID_FILE_EXIT 32774
#define ID_FULLSCREEN 32778
#define ID_LEAVE_FULLSCREEN 32780
#define ID_PLAY 32784
#define ID_PAUSE 32785
#define ID_STOP 32786
#define ID_CLOSE 32790
#define ID_MUTE 32806
#define ID_MOVE_FORWARD 32810
#define ID_PREVIOUS 32815
#define ID_NEXT 32816
#define ID_MOVE_BACKWARD 32817
#define ID_VOLUME_UP 32820
#define ID_VOLUME_DOWN 32821
// The window kept above the other windows (T, and the context menu).
#define ID_ALWAYS_ON_TOP 32900
// Further in a film: a minute back or on (Ctrl+Left, Ctrl+Right), the place where the viewer stopped
// (R, and the context menu's first item while one is offered), and a typed time (Ctrl+G).
#define ID_MOVE_BACKWARD_MINUTE 32850
#define ID_MOVE_FORWARD_MINUTE 32851
#define ID_RESUME 32852
#define ID_GO_TO_TIME 32853

// Watching a film: the Audio, Subtitles and Speed submenus of the context menu and their keys.
#define ID_AUDIO_NEXT 32830      // A
#define ID_SUBTITLES_NEXT 32831  // S
#define ID_SPEED_FASTER 32832    // ]
#define ID_SPEED_SLOWER 32833    // [
#define ID_SUBTITLES_OFF 32834
#define ID_LOAD_SUBTITLE_FILE 32835
// The Speed menu's steps, slowest first, as watching::kSpeeds has them; Normal is also Backspace.
#define ID_SPEED_050 32840
#define ID_SPEED_075 32841
#define ID_SPEED_NORMAL 32842
#define ID_SPEED_125 32843
#define ID_SPEED_150 32844
#define ID_SPEED_200 32845
#define ID_SPEED_FIRST ID_SPEED_050
#define ID_SPEED_LAST ID_SPEED_200
// One item per track of the file that plays, in the order of the player's list; the item's data is the
// track's own id. Above every other command (ui/PlayWndMenu.cpp checks the ranges apart).
#define ID_AUDIO_TRACK_FIRST 33000
#define ID_AUDIO_TRACK_LAST 33999
#define ID_SUBTITLE_TRACK_FIRST 34000
#define ID_SUBTITLE_TRACK_LAST 34999
// Chapters (Ctrl+Page Down, Ctrl+Page Up and the Chapters submenu, one item per chapter by its place) and
// the subtitle and sound delays (G, H, J, K; the submenus show a delay that isn't 0 in an item of its own).
#define ID_CHAPTER_NEXT 32836       // Ctrl+Page Down
#define ID_CHAPTER_PREVIOUS 32837   // Ctrl+Page Up
#define ID_SUBTITLES_EARLIER 32838  // G
#define ID_SUBTITLES_LATER 32839    // H
#define ID_AUDIO_EARLIER 32846      // J
#define ID_AUDIO_LATER 32847        // K
#define ID_AUDIO_DELAY_SHOWN 32848
#define ID_SUBTITLE_DELAY_SHOWN 32849
#define ID_CHAPTER_FIRST 32940
#define ID_CHAPTER_LAST 32999

// Private messages between two copies of the player.
#define WM_INSTANCE_PING (WM_APP + 503)
#define WM_OPEN_HANDED_OVER_FILE (WM_APP + 504)

// String table (present, unused).
#define IDS_APP_TITLE 110
