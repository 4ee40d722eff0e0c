#include "ui/PlayWndMenu.h"

#include "playback/PlayLogic.h"
#include "resource.h"

namespace {

void grey(HMENU popup, UINT command) {
    EnableMenuItem(popup, command, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
}

}  // namespace

ContextMenuInputs currentContextMenuInputs(const WindowLinks& links) {
    ContextMenuInputs inputs;
    inputs.fullScreen = links.isFullScreen();
    inputs.alwaysOnTop = (GetWindowLongPtrW(links.currentMainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const PlayLogic* controller = links.currentController();
    if (controller == nullptr) {
        return inputs;
    }
    inputs.playlistCount = controller->playlist().count();
    inputs.canStep = controller->playlist().canStep();
    if (MediaPlayer* player = controller->player()) {
        inputs.hasPlayer = true;
        inputs.isPlaying = player->isPlaying();
        inputs.playerState = controller->state();
    }
    return inputs;
}

HMENU prepareContextMenu(HMENU menu, const ContextMenuInputs& inputs) {
    HMENU popup = GetSubMenu(menu, 0);
    if (popup == nullptr) {
        return nullptr;
    }
    DeleteMenu(popup, inputs.fullScreen ? ID_FULLSCREEN : ID_LEAVE_FULLSCREEN, MF_BYCOMMAND);
    CheckMenuItem(popup, ID_ALWAYS_ON_TOP, MF_BYCOMMAND | (inputs.alwaysOnTop ? MF_CHECKED : MF_UNCHECKED));
    if (inputs.hasPlayer && inputs.isPlaying) {
        grey(popup, ID_PLAY);
    } else {
        grey(popup, ID_PAUSE);
        if (inputs.playerState != StatePaused) {
            grey(popup, ID_STOP);
        }
        if (inputs.playlistCount == 0) {
            grey(popup, ID_PLAY);
        }
    }
    if (!inputs.canStep) {
        grey(popup, ID_PREVIOUS);
        grey(popup, ID_NEXT);
    }
    return popup;
}
