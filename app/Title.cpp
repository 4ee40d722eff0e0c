#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/TitleText.h"
#include "playback/PlayLogic.h"

void updateTitle() {
    const AppState& state = appState();
    if (state.mainWindow == nullptr) {
        return;
    }
    int playerState = StateNothing;
    std::wstring displayName;
    if (state.controller) {
        if (MediaPlayer* player = state.controller->player()) {
            playerState = player->getState();
        }
        displayName = state.controller->displayName();
    }
    wchar_t title[kTitleCapacity];
    composeTitle(productName(), playerState, displayName, title, kTitleCapacity);
    SetWindowTextW(state.mainWindow, title);
}
