#pragma once

#include <windows.h>

#include <string>

// The main window: the frame around the video window and the control bar. Every user command ends up
// in its window procedure as WM_COMMAND.

constexpr wchar_t kMainWindowClass[] = L"Player_WndClass";
constexpr wchar_t kInitialTitle[] = L"Media Player";
constexpr UINT_PTR kTimerId = 100;
constexpr UINT kTimerPeriodMs = 260;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WindowLayout.cpp: places the video window and the control bar (nothing while layout is disabled).
void layoutWindows();
// FullScreen.cpp: full screen covers the monitor that holds the window.
void enterFullScreen();
void leaveFullScreen();
// The whole rectangle of the monitor nearest to the area (virtual-screen coordinates).
RECT monitorRectNear(const RECT& area);
// DisplayScaleChange.cpp: the window's big and small icons, each at its size for the DPI.
void setWindowIcons(HWND window, UINT dpi);
// WM_DPICHANGED: the window, its icon, the video window and the bar take the new DPI; once laid out, the
// window takes the rectangle the system suggests, or in full screen the whole monitor there.
void onDpiChanged(HWND window, UINT dpi, const RECT& suggested);
// Takes the window's placement while windowed and laid out; a failed read marks it invalid.
void recordPlacement();
// Title.cpp: the title from the player's state, on every timer tick.
void updateTitle();
// OpenFile.cpp: loads and plays the file; on failure tells the user and answers false.
bool openMediaFile(const std::wstring& path);
// The open dialog; a confirmed choice is opened.
void chooseFile();
// What the open dialog asks for: its title, the file types, the folder it opens on (empty: the system's
// choice) and the dialog's OFN_ flags.
struct FileQuestion {
    const wchar_t* title;
    const wchar_t* filter;
    std::wstring folder;
    DWORD flags;
};
// The system's open dialog for one file: its full name, as long as the dialog gives it; empty when the
// user cancelled.
std::wstring askForFile(const FileQuestion& question);
// FileDrop.cpp: opens the first file of a drop (the others are ignored); releases the drop.
void onDropFiles(HDROP drop);
// Lets the window take dropped files (what DragAcceptFiles does, without loading the shell's library).
void acceptDroppedFiles(HWND window);
// The first path of a drop (empty when there is none); the drop is released.
std::wstring takeFirstDroppedFile(HDROP drop);
// AboutBox.cpp
void showAboutBox();
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// GoToTime.cpp: the Go to Time dialog while a file plays or is paused; a time it takes is jumped to.
void showGoToTime();
// CloseRequest.cpp: asks the advertisement library, then closes unless it cancelled.
void onCloseRequest();
// CloseRequest.cpp: the session ends (log off, shut down) and the process will be ended without its
// message loop returning: the placement and the film's place are saved now, as a close would save them.
void onSessionEnd(bool ending);
// MainCommands.cpp: carries out a command; false for an identifier the window does not handle.
bool runCommand(UINT id);
// The product name: from the application object when there is one.
const wchar_t* productName();
