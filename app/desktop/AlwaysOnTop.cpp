#include "app/AppState.h"
#include "app/desktop/Desktop.h"

// The window's own topmost style is the setting: the context menu reads its check from it, full screen
// keeps it (its switches never change the window's place in the Z order), and nothing of it is stored.
void toggleAlwaysOnTop() {
    HWND window = appState().mainWindow;
    if (window == nullptr) {
        return;
    }
    const bool onTop = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(window, onTop ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
