#pragma once

#include <windows.h>

#include <functional>

class PlayLogic;

// What the shell's windows read of the rest of the player, set once at start-up: the controller (may be
// null), the main window their commands go to, and whether that window is in full screen. Each is asked
// when it is needed, so links set before the objects exist stay right afterwards.
struct WindowLinks {
    std::function<PlayLogic*()> controller;
    std::function<HWND()> mainWindow;
    std::function<bool()> fullScreen;

    PlayLogic* currentController() const { return controller ? controller() : nullptr; }
    HWND currentMainWindow() const { return mainWindow ? mainWindow() : nullptr; }
    bool isFullScreen() const { return fullScreen && fullScreen(); }
};
