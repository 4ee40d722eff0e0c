#include "playback/PlaybackView.h"

#include "app/AppState.h"
#include "ui/PlayWnd.h"

// The control bar is not part of the window yet: its calls have nothing to reach until it arrives.

namespace playbackview {

bool prepareSurface(int playerType) {
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

void updateButtons() {}
void refreshTime() {}
void refreshVolume() {}
void resetBarAfterStop() {}

}  // namespace playbackview
