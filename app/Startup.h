#pragma once

#include <windows.h>

// The player's life from process entry to exit. GDI+ must already be running (the entry point holds
// it for the whole run).

// Runs the player: start-up, the message loop, shut-down. Returns the exit code.
int runPlayer(HINSTANCE instance, const wchar_t* commandTail, int showCommand);

// Registers "Player_WndClass" unless this module already has it; false when registration fails.
bool registerMainWindowClass(HINSTANCE instance);
// The main window with every component, shown and laid out; false when any part can't be made.
bool createMainWindow(HINSTANCE instance, int showCommand);
// The video window and the control bar, as children of the main window.
bool createChildWindows();
// Tears down the timer, the video window, the control bar, the player and the controller.
void destroyComponents();
// The last clean-up after the message loop.
void shutdownApp();
// Fetches and dispatches until the quit message; keys go to the accelerator table first.
int runMessageLoop(HACCEL accelerators);
