#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/desktop/Desktop.h"
#include "app/window/PlayerWindows.h"
#include "app/commands/WatchCommands.h"
#include "playback/PlayLogic.h"
#include "playback/WatchRules.h"
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

// The commands that are one call of the controller: playing, and watching a film (the Audio, Subtitles
// and Speed submenus and their keys; the track items are chosen by the menu itself, ui/PlayWndMenu.h).
struct ControllerCommand {
    UINT id;
    void (*run)(PlayLogic& controller);
};

const ControllerCommand kControllerCommands[] = {
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
    {ID_AUDIO_NEXT, [](PlayLogic& c) { c.nextAudioTrack(); }},
    {ID_SUBTITLES_NEXT, [](PlayLogic& c) { c.nextSubtitles(); }},
    {ID_SUBTITLES_OFF, [](PlayLogic& c) { c.chooseSubtitles(kNoTrack); }},
    {ID_SPEED_FASTER, [](PlayLogic& c) { c.stepSpeed(+1); }},
    {ID_SPEED_SLOWER, [](PlayLogic& c) { c.stepSpeed(-1); }},
    {ID_CHAPTER_NEXT, [](PlayLogic& c) { c.stepChapter(+1); }},
    {ID_CHAPTER_PREVIOUS, [](PlayLogic& c) { c.stepChapter(-1); }},
    {ID_SUBTITLES_EARLIER, [](PlayLogic& c) { c.stepSubtitleDelay(-1); }},
    {ID_SUBTITLES_LATER, [](PlayLogic& c) { c.stepSubtitleDelay(+1); }},
    {ID_AUDIO_EARLIER, [](PlayLogic& c) { c.stepAudioDelay(-1); }},
    {ID_AUDIO_LATER, [](PlayLogic& c) { c.stepAudioDelay(+1); }},
};

// False for an identifier that is none of them. Without a controller (shut-down has begun) the command
// is taken and does nothing.
bool runControllerCommand(UINT id) {
    PlayLogic* controller = appState().controller.get();
    for (const ControllerCommand& command : kControllerCommands) {
        if (command.id == id) {
            if (controller != nullptr) {
                command.run(*controller);
            }
            return true;
        }
    }
    // The Speed menu's steps, slowest first, as watching::kSpeeds has them, and the Chapters menu's
    // chapters by their place in the file's list.
    const bool speed = id >= ID_SPEED_FIRST && id <= ID_SPEED_LAST;
    if (!speed && (id < ID_CHAPTER_FIRST || id > ID_CHAPTER_LAST)) {
        return false;
    }
    if (controller != nullptr && speed) {
        controller->chooseSpeed(watching::kSpeeds[id - ID_SPEED_FIRST]);
    } else if (controller != nullptr) {
        controller->chooseChapter(static_cast<int>(id - ID_CHAPTER_FIRST));
    }
    return true;
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
        case ID_LOAD_SUBTITLE_FILE:
            chooseSubtitleFile();
            return true;
        case ID_GO_TO_TIME:
            showGoToTime();
            return true;
        default:
            return runControllerCommand(id);
    }
}
