#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/FullScreenStyle.h"

// Both switches keep the layout off until the window has its new frame and size, so that the size
// messages on the way don't lay out (or record) an intermediate state.

void enterFullScreen() {
    AppState& state = appState();
    HWND window = state.mainWindow;
    if (state.fullScreen || window == nullptr) {
        return;
    }
    state.fullScreen = TRUE;
    state.layoutEnabled = FALSE;
    SetMenu(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowLongPtrW(window, GWL_STYLE, fullScreenStyle(GetWindowLongPtrW(window, GWL_STYLE)));
    // FRAMECHANGED: a window that already has the screen's size would otherwise keep its old frame.
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_FRAMECHANGED);
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
