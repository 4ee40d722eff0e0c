#include "app/AppState.h"
#include "app/desktop/Desktop.h"
#include "app/desktop/DesktopRules.h"
#include "app/window/MainWindow.h"
#include "playback/PlayLogic.h"

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
