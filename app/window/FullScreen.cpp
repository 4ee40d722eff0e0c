#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/window/FullScreenStyle.h"

// Both switches keep the layout off until the window has its new frame and size, so that the size
// messages on the way don't lay out (or record) an intermediate state.

namespace {

// The monitor's whole rectangle; the primary screen's when the monitor can't be read.
RECT monitorRect(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
        return info.rcMonitor;
    }
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

RECT monitorRectNear(const RECT& area) {
    return monitorRect(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST));
}

void enterFullScreen() {
    AppState& state = appState();
    HWND window = state.mainWindow;
    if (state.fullScreen || window == nullptr) {
        return;
    }
    // The monitor that holds the window as the user sees it, before a maximised window is restored.
    const RECT screen = monitorRect(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    state.fullScreen = TRUE;
    state.layoutEnabled = FALSE;
    SetMenu(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowLongPtrW(window, GWL_STYLE, fullScreenStyle(GetWindowLongPtrW(window, GWL_STYLE)));
    // FRAMECHANGED: a window that already has the screen's size would otherwise keep its old frame.
    SetWindowPos(window, nullptr, screen.left, screen.top, screen.right - screen.left,
                 screen.bottom - screen.top, SWP_NOZORDER | SWP_FRAMECHANGED);
    state.layoutEnabled = TRUE;
    layoutWindows();
}

void leaveFullScreen() {
    AppState& state = appState();
    HWND window = state.mainWindow;
    if (!state.fullScreen || window == nullptr) {
        return;
    }
    state.fullScreen = FALSE;
    state.layoutEnabled = FALSE;
    SetWindowLongPtrW(window, GWL_STYLE, windowedStyle(GetWindowLongPtrW(window, GWL_STYLE)));
    // Without a recorded placement the window keeps the screen's size, and only the frame comes back.
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (state.placementValid) {
        SetWindowPlacement(window, &state.placement);
    }
    state.layoutEnabled = TRUE;
    layoutWindows();
}
