#include "playback/PlaybackView.h"

#include "app/AppState.h"
#include "ui/PlayBar.h"
#include "ui/PlayWnd.h"

namespace playbackview {

OutputWindow ownerWindow() {
    return appState().mainWindow;
}

bool prepareSurface(PlayerType playerType) {
    PlayWnd* video = appState().videoWindow;
    return video == nullptr || video->open(playerType, appState().instance);
}

OutputWindow surfaceWindow() {
    PlayWnd* video = appState().videoWindow;
    return video ? video->surfaceWindow() : nullptr;
}

void showSurface(bool show) {
    if (PlayWnd* video = appState().videoWindow) {
        video->showSurface(show);
    }
}

bool surfaceHidden() {
    HWND surface = surfaceWindow();
    return surface != nullptr && (GetWindowLongW(surface, GWL_STYLE) & WS_VISIBLE) == 0;
}

void updateButtons() {
    if (PlayBar* bar = appState().controlBar) {
        bar->updateButtons();
    }
}

void refreshTime() {
    if (PlayBar* bar = appState().controlBar) {
        bar->refreshTime();
    }
}

void refreshVolume() {
    if (PlayBar* bar = appState().controlBar) {
        bar->refreshVolume();
    }
}

void resetBarAfterStop() {
    if (PlayBar* bar = appState().controlBar) {
        bar->resetAfterStop();
    }
}

}  // namespace playbackview
