#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/window/TitleText.h"
#include "playback/PlayLogic.h"

void updateTitle() {
    AppState& state = appState();
    if (state.mainWindow == nullptr) {
        return;
    }
    static const std::wstring noFile;
    const PlayLogic* controller = state.controller.get();
    wchar_t title[kTitleCapacity];
    composeTitle(productName(), controller ? controller->state() : StateNothing,
                 controller ? controller->displayName() : noFile, title, kTitleCapacity);
    // Setting a title repaints the caption even when the text is the same, and the tick asks four times
    // a second: the window gets a title only when its text changes. The text last set is kept rather
    // than read back from the window, which would cost every tick a message.
    if (state.shownTitle != title) {
        SetWindowTextW(state.mainWindow, title);
        state.shownTitle = title;
    }
}
