#include "app/AppState.h"

#include "app/MediaPlayerApp.h"
#include "playback/PlayLogic.h"

AppState::AppState() = default;
AppState::~AppState() = default;
AppState::AppState(AppState&&) noexcept = default;
AppState& AppState::operator=(AppState&&) noexcept = default;

AppState& appState() {
    static AppState state;
    return state;
}

WindowLinks appWindowLinks() {
    return WindowLinks{[] { return appState().controller.get(); },
                       [] { return appState().mainWindow; },
                       [] { return appState().fullScreen != FALSE; },
                       [] { return appState().dpi; },
                       {}};
}

void resetAppState() {
    appState() = AppState{};
}
