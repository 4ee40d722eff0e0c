#include "app/desktop/Desktop.h"

#include "app/AppState.h"
#include "app/desktop/DesktopRules.h"
#include "app/desktop/ExecutionState.h"
#include "app/desktop/TaskbarButton.h"
#include "playback/PlayLogic.h"
#include "resources/resource.h"
#include "ui/PlayBar.h"

namespace {

UINT& taskbarButtonCreatedMessage() {
    static UINT message = 0;
    return message;
}

int playerState() {
    const PlayLogic* controller = appState().controller.get();
    return controller != nullptr ? controller->state() : StateNothing;
}

// The bar's button as it is: shown and enabled, and its tooltip (which is also its window text).
ThumbButton barButton(HWND bar, int id) {
    ThumbButton button;
    HWND control = bar != nullptr ? GetDlgItem(bar, id) : nullptr;
    if (control == nullptr) {
        return button;
    }
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    button.enabled = (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
    wchar_t text[ARRAYSIZE(THUMBBUTTON{}.szTip)] = L"";
    GetWindowTextW(control, text, ARRAYSIZE(text));
    button.tip = text;
    return button;
}

// The thumbnail toolbar mirrors the bar: enabled exactly when the bar's buttons are.
ThumbButtons thumbButtons() {
    const PlayBar* bar = appState().controlBar;
    HWND window = bar != nullptr ? bar->window() : nullptr;
    ThumbButtons buttons;
    buttons.previous = barButton(window, IDC_BTN_PREV);
    buttons.next = barButton(window, IDC_BTN_NEXT);
    HWND pause = window != nullptr ? GetDlgItem(window, IDC_BTN_PAUSE) : nullptr;
    buttons.pause = pause != nullptr && (GetWindowLongPtrW(pause, GWL_STYLE) & WS_VISIBLE) != 0;
    buttons.playOrPause = barButton(window, buttons.pause ? IDC_BTN_PAUSE : IDC_BTN_PLAY);
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
    executionState().require(desktoprules::executionStateFor(state, video));
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

void detachFromDesktop() {
    executionState().release();
    taskbarButton().release();
}
