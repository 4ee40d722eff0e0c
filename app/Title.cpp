#include "app/MainWindow.h"

#include <cwchar>

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
    // Setting a title repaints the caption even when the text is the same, and the tick asks four times
    // a second: the window gets a title only when its text changes.
    wchar_t shown[kTitleCapacity] = L"";
    GetWindowTextW(state.mainWindow, shown, static_cast<int>(kTitleCapacity));
    if (std::wcscmp(shown, title) != 0) {
        SetWindowTextW(state.mainWindow, title);
    }
}
