#pragma once

#include <windows.h>

#include <string>

class ResumeStore;

// The player among the other programs of the desktop, beyond its own window: the keyboard's media keys,
// the screen kept awake while a file plays, the taskbar button's thumbnail toolbar and progress, the
// recent documents, the mouse wheel as a volume knob, and Always on Top. The main window's procedure, its
// commands and the playback view call in here.

// WM_CREATE: notes the taskbar's message, and lets it and the commands of the thumbnail toolbar through
// to the window when the player runs elevated.
void attachToDesktop(HWND window);
// The registered "TaskbarButtonCreated" message.
bool isTaskbarButtonCreated(UINT message);
// The taskbar made the window's button: its thumbnail toolbar and progress, as of now.
void onTaskbarButtonCreated(HWND window);
// After every player state change, once the bar's buttons have followed it: the request to keep the
// screen awake, the thumbnail toolbar and the progress.
void followPlaybackOnDesktop();
// With every refresh of the time display: the progress, and the screen once a video's picture is known.
void followTimeOnDesktop();
// The window minimised or restored: a video out of sight needs only the system awake.
void followWindowOnDesktop();
// At close: nothing held, the taskbar list let go, the last recent document written (a second at most).
void detachFromDesktop();

// DesktopCommands.cpp: WM_APPCOMMAND (the media keys); true when the player took the command.
bool onAppCommand(int appCommand);
// WM_MOUSEWHEEL over the video or the bar: each notch is Volume Up or Down.
void onMouseWheel(int delta);
// The main window above all others, or no longer.
void toggleAlwaysOnTop();
// RecentFiles.cpp: a file that opened goes into the system's recent documents (off this thread).
void addToRecentDocuments(const std::wstring& path);
// At close: waits until the last file's shortcut is written, no longer than boundMs.
void finishRecentDocuments(DWORD boundMs);
// Tests record the additions instead of making them; null puts the shell's call back.
using RecentDocumentAdder = void (*)(const wchar_t* path);
void useRecentDocumentAdder(RecentDocumentAdder adder);
// ResumePlaces.cpp: where the viewer left each file, kept in the registry from one run to the next.
ResumeStore& resumePlaces();
