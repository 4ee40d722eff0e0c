// What the desktop hands the player as commands of its main window (the keyboard's media keys, the
// mouse wheel), and Always on Top.
#include "app/AppState.h"
#include "app/desktop/Desktop.h"
#include "app/desktop/DesktopRules.h"
#include "app/window/MainWindow.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"

// The app command comes from the key's WM_KEYDOWN through the default procedure of the window that has
// the focus, and from there up to this window; the key itself is never acted on, so a press toggles once.
bool onAppCommand(int appCommand) {
    PlayLogic* controller = appState().controller.get();
    const desktoprules::AppCommandAction action =
        desktoprules::actionForAppCommand(appCommand, controller != nullptr && controller->isPlaying());
    if (action.handled && action.command != 0) {
        runCommand(action.command);
    }
    return action.handled;
}

// Every notch runs the command of the Up or Down key, so the wheel does exactly what they do.
void onMouseWheel(int delta) {
    static desktoprules::WheelNotches wheel;
    int notches = wheel.add(delta, static_cast<DWORD>(GetMessageTime()));
    for (; notches > 0; --notches) {
        runCommand(ID_VOLUME_UP);
    }
    for (; notches < 0; ++notches) {
        runCommand(ID_VOLUME_DOWN);
    }
}

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
