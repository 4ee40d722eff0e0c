#include "app/desktop/Desktop.h"

#include "app/AppState.h"
#include "app/desktop/DesktopRules.h"
#include "app/desktop/ExecutionState.h"
#include "app/desktop/TaskbarButton.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"
#include "ui/PlayBar.h"
#include "ui/PlayBarRules.h"

namespace {

UINT& taskbarButtonCreatedMessage() {
    static UINT message = 0;
    return message;
}

int playerState() {
    const PlayLogic* controller = appState().controller.get();
    return controller != nullptr ? controller->state() : StateNothing;
}

// The thumbnail toolbar mirrors the bar: its buttons, by the bar's rule and with the bar's tooltips.
ThumbButtons thumbButtons() {
    const PlayLogic* controller = appState().controller.get();
    const playbar::TransportButtons transport = playbar::transportButtonsFor(
        playerState(), controller != nullptr ? controller->playlist().count() : 0,
        controller != nullptr && controller->playlist().canStep());
    ThumbButtons buttons;
    buttons.previous = {transport.stepEnabled, PlayBar::tooltipOf(IDC_BTN_PREV)};
    buttons.playOrPause = {transport.playEnabled,
                           PlayBar::tooltipOf(transport.pause ? IDC_BTN_PAUSE : IDC_BTN_PLAY)};
    buttons.next = {transport.stepEnabled, PlayBar::tooltipOf(IDC_BTN_NEXT)};
    buttons.pause = transport.pause;
    return buttons;
}

// The position and length the time display shows.
desktoprules::TaskbarProgress progress() {
    const PlayBar* bar = appState().controlBar;
    return bar != nullptr ? desktoprules::taskbarProgressFor(playerState(), bar->position(), bar->length())
                          : desktoprules::TaskbarProgress{};
}

void keepAwakeAsNeeded() {
    PlayLogic* controller = appState().controller.get();
    const int state = playerState();
    // A video's picture may be known only after playback started; the time reports ask again.
    const bool video = state == StatePlaying && controller->player()->hasVideo();
    const HWND window = appState().mainWindow;
    executionState().require(
        desktoprules::executionStateFor(state, video, window != nullptr && IsIconic(window)));
}

}  // namespace

void attachToDesktop(HWND window) {
    UINT& message = taskbarButtonCreatedMessage();
    if (message == 0) {
        message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    }
    // An elevated process hears nothing from the taskbar (an ordinary process) unless it lets this through.
    ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
    ChangeWindowMessageFilterEx(window, WM_COMMAND, MSGFLT_ALLOW, nullptr);
}

bool isTaskbarButtonCreated(UINT message) {
    return message != 0 && message == taskbarButtonCreatedMessage();
}

void onTaskbarButtonCreated(HWND window) {
    taskbarButton().onButtonCreated(window, thumbButtons(), progress());
}

void followPlaybackOnDesktop() {
    keepAwakeAsNeeded();
    taskbarButton().show(thumbButtons());
    taskbarButton().show(progress());
}

void followTimeOnDesktop() {
    keepAwakeAsNeeded();
    taskbarButton().show(progress());
}

void followWindowOnDesktop() {
    keepAwakeAsNeeded();
}

void detachFromDesktop() {
    // The last file's shortcut is finished, unless the shell takes longer than a second.
    finishRecentDocuments(1000);
    executionState().release();
    taskbarButton().release();
}

void ExecutionState::require(EXECUTION_STATE flags) {
    if (flags == held_) {
        return;
    }
    held_ = flags;
    setter_(flags);
}

ExecutionState& executionState() {
    static ExecutionState state;
    return state;
}
