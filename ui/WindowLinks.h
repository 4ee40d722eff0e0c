#pragma once

#include <windows.h>

#include <functional>

class PlayLogic;

// What the shell's windows read of the rest of the player, set once at start-up: the controller (may be
// null), the main window their commands go to, whether that window is in full screen, and its DPI. Each
// is asked when it is needed, so links set before the objects exist stay right afterwards.
struct WindowLinks {
    std::function<PlayLogic*()> controller;
    std::function<HWND()> mainWindow;
    std::function<bool()> fullScreen;
    std::function<UINT()> dpi;

    PlayLogic* currentController() const { return controller ? controller() : nullptr; }
    HWND currentMainWindow() const { return mainWindow ? mainWindow() : nullptr; }
    bool isFullScreen() const { return fullScreen && fullScreen(); }
    // 96 (100 %) when nothing tells otherwise.
    UINT currentDpi() const {
        const UINT value = dpi ? dpi() : 0;
        return value != 0 ? value : 96;
    }
};
