#pragma once

#include <windows.h>

#include <functional>

class PlayLogic;

// What the shell's windows read of the rest of the player, set once at start-up: the controller (may be
// null), the main window their commands go to, whether that window is in full screen, its DPI, and the
// clock the video window times the pointer's rest by (the system's tick count unless a test gives
// another). Each is asked when it is needed, so links set before the objects exist stay right afterwards.
struct WindowLinks {
    std::function<PlayLogic*()> controller;
    std::function<HWND()> mainWindow;
    std::function<bool()> fullScreen;
    std::function<UINT()> dpi;
    std::function<DWORD()> tickCount;

    PlayLogic* currentController() const { return controller ? controller() : nullptr; }
    HWND currentMainWindow() const { return mainWindow ? mainWindow() : nullptr; }
    bool isFullScreen() const { return fullScreen && fullScreen(); }
    DWORD currentTick() const { return tickCount ? tickCount() : GetTickCount(); }
    // 96 (100 %) when nothing tells otherwise.
    UINT currentDpi() const {
        const UINT value = dpi ? dpi() : 0;
        return value != 0 ? value : 96;
    }
};
