#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/desktop/Desktop.h"
#include "app/window/PlayerWindows.h"
#include "app/commands/WatchCommands.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"

namespace {

void toggleFullScreen() {
    if (appState().fullScreen) {
        leaveFullScreen();
    } else {
        enterFullScreen();
    }
    playerWindows().updateButtons();
}

void leaveFullScreenCommand() {
    leaveFullScreen();
    playerWindows().updateButtons();
}

void requestClose() {
    PostMessageW(appState().mainWindow, WM_CLOSE, 0, 0);
}

// Space both starts and pauses.
void playOrPause(PlayLogic& controller) {
    if (controller.isPlaying()) {
        controller.pause();
    } else {
        controller.play();
    }
}

void stopIfPlaying(PlayLogic& controller) {
    if (controller.isPlaying()) {
        controller.stop();
    }
}

struct PlaybackCommand {
    UINT id;
    void (*run)(PlayLogic& controller);
};

const PlaybackCommand kPlaybackCommands[] = {
    {ID_PLAY, playOrPause},
    {ID_PAUSE, [](PlayLogic& c) { c.pause(); }},
    {ID_STOP, [](PlayLogic& c) { c.stop(); }},
    {ID_CLOSE, stopIfPlaying},
    {ID_MUTE, [](PlayLogic& c) { c.toggleMute(); }},
    {ID_MOVE_FORWARD, [](PlayLogic& c) { c.seek(+1); }},
    {ID_MOVE_BACKWARD, [](PlayLogic& c) { c.seek(-1); }},
    {ID_MOVE_FORWARD_MINUTE, [](PlayLogic& c) { c.seek(+1, watching::kMinuteStepMs); }},
    {ID_MOVE_BACKWARD_MINUTE, [](PlayLogic& c) { c.seek(-1, watching::kMinuteStepMs); }},
    {ID_RESUME, [](PlayLogic& c) { c.resume(); }},
    {ID_PREVIOUS, [](PlayLogic& c) { c.skip(-1); }},
    {ID_NEXT, [](PlayLogic& c) { c.skip(+1); }},
    {ID_VOLUME_UP, [](PlayLogic& c) { c.changeVolume(+1); }},
    {ID_VOLUME_DOWN, [](PlayLogic& c) { c.changeVolume(-1); }},
};

// False for an identifier that is not a playback command. Without a controller (shut-down has begun)
// the command is taken and does nothing.
bool runPlaybackCommand(UINT id) {
    for (const PlaybackCommand& command : kPlaybackCommands) {
        if (command.id == id) {
            if (PlayLogic* controller = appState().controller.get()) {
                command.run(*controller);
            }
            return true;
        }
    }
    return false;
}

}  // namespace

bool runCommand(UINT id) {
    switch (id) {
        case ID_HELP_ABOUT:
            showAboutBox();
            return true;
        case ID_FILE_OPEN:
            chooseFile();
            return true;
        case ID_FILE_EXIT:
            requestClose();
            return true;
        case ID_FULLSCREEN:
            toggleFullScreen();
            return true;
        case ID_LEAVE_FULLSCREEN:
            leaveFullScreenCommand();
            return true;
        case ID_ALWAYS_ON_TOP:
            toggleAlwaysOnTop();
            return true;
        case ID_GO_TO_TIME:
            showGoToTime();
            return true;
        default:
            return runPlaybackCommand(id) || runWatchCommand(id);
    }
}
