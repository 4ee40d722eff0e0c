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

void resetAppState() {
    appState() = AppState{};
}
