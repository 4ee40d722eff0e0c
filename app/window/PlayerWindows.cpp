#include "app/window/PlayerWindows.h"

#include "app/AppState.h"
#include "app/window/ControlBarAccess.h"
#include "app/desktop/Desktop.h"
#include "playback/PlayLogic.h"
#include "ui/PlayBar.h"
#include "ui/PlayWnd.h"
#include "ui/ToldText.h"

PlayerWindows& playerWindows() {
    static PlayerWindows windows;
    return windows;
}

bool PlayerWindows::create() {
    AppState& state = appState();
    PlayWnd* video = PlayWnd::instance();
    state.videoWindow = video;
    if (video == nullptr) {
        return false;
    }
    // The video window reaches the controller and the main window only through these.
    video->setLinks(appWindowLinks());
    if (!video->create(state.instance, state.mainWindow)) {
        return false;
    }
    return controlbar::create(state.instance, state.mainWindow);
}

void PlayerWindows::destroy() {
    AppState& state = appState();
    if (state.videoWindow != nullptr) {
        state.videoWindow->destroyWindows();
        state.videoWindow = nullptr;
        PlayWnd::destroyInstance();
    }
    controlbar::destroy();
}

OutputWindow PlayerWindows::ownerWindow() {
    return appState().mainWindow;
}

bool PlayerWindows::prepareSurface(PlayerType playerType) {
    PlayWnd* video = appState().videoWindow;
    return video == nullptr || video->open(playerType, appState().instance);
}

OutputWindow PlayerWindows::surfaceWindow() {
    PlayWnd* video = appState().videoWindow;
    return video ? video->surfaceWindow() : nullptr;
}

void PlayerWindows::showSurface(bool show) {
    if (PlayWnd* video = appState().videoWindow) {
        video->showSurface(show);
    }
}

bool PlayerWindows::surfaceHidden() {
    HWND surface = surfaceWindow();
    return surface != nullptr && (GetWindowLongW(surface, GWL_STYLE) & WS_VISIBLE) == 0;
}

void PlayerWindows::updateButtons() {
    if (PlayBar* bar = appState().controlBar) {
        bar->updateButtons();
    }
    followPlaybackOnDesktop();
}

void PlayerWindows::refreshTime() {
    if (PlayBar* bar = appState().controlBar) {
        bar->refreshTime();
    }
    followTimeOnDesktop();
}

void PlayerWindows::refreshVolume() {
    if (PlayBar* bar = appState().controlBar) {
        bar->refreshVolume();
    }
}

void PlayerWindows::showPosition(std::int64_t positionMs) {
    if (PlayBar* bar = appState().controlBar) {
        bar->showPosition(positionMs);
    }
}

void PlayerWindows::tell(const Change& change) {
    const std::wstring words = told::words(change);
    const int showMs = told::showMs(change);
    PlayLogic* controller = appState().controller.get();
    const bool picture = controller != nullptr && controller->canShowOnPicture();
    switch (told::placeFor(change, picture)) {
        case told::Place::Picture:
            controller->showOnPicture(words, showMs);
            break;
        case told::Place::Bar:
            if (PlayBar* bar = appState().controlBar) {
                bar->showFeedback(words, showMs);
            }
            break;
        case told::Place::Nowhere:
            break;
    }
    // Wherever the words show (or when the bar shows them already), screen readers are told them too.
    if (PlayBar* bar = appState().controlBar) {
        bar->announce(words);
    }
}

void PlayerWindows::resetBarAfterStop() {
    if (PlayBar* bar = appState().controlBar) {
        bar->resetAfterStop();
    }
}

void PlayerWindows::playbackStarted() {
    if (appState().fullScreen) {
        controlbar::armAutoHide();
    }
}

void PlayerWindows::fileChosen(const std::wstring& path) {
    addToRecentDocuments(path);
}
