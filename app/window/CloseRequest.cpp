#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/MediaPlayerApp.h"
#include "app/window/Placement.h"
#include "app/Startup.h"
#include "libads/libads.h"
#include "playback/PlayLogic.h"

namespace {

const wchar_t* adsUrl() {
    const AppState& state = appState();
    return state.app ? state.app->adsUrl() : identity::kAdsUrl;
}

// The placement as a close takes it: a window minimised from the taskbar comes back as it was before.
void takePlacementForClose() {
    recordPlacement();
    keepRestorable(appState().placement);
}

}  // namespace

void onCloseRequest() {
    AppState& state = appState();
    HWND window = state.mainWindow;
    if (window == nullptr) {
        return;
    }
    if (libads_show(window, productName(), adsUrl()) == kLibadsCancelClose) {
        return;
    }
    // The library may run messages while it shows itself; a close that finished meanwhile is done.
    if (state.mainWindow != window) {
        return;
    }
    takePlacementForClose();
    ShowWindow(window, SW_HIDE);
    if (state.controller) {
        state.controller->stop();
    }
    destroyComponents();
    state.mainWindow = nullptr;
    DestroyWindow(window);
}

void onSessionEnd(bool ending) {
    if (!ending || appState().mainWindow == nullptr) {
        return;
    }
    takePlacementForClose();
    savePlacement();
    // The process ends without a close: the film's place is kept as closing would keep it.
    if (appState().controller) {
        appState().controller->rememberPlace();
    }
}
