#include "app/window/MainWindow.h"

#include <commdlg.h>

#include "app/AppState.h"
#include "app/MediaPlayerApp.h"
#include "playback/PlayLogic.h"
#include "ui/SystemLibrary.h"

namespace {

constexpr wchar_t kLoadFailedText[] = L"Could not load the file";
constexpr wchar_t kOpenDialogTitle[] = L"Select File";
constexpr DWORD kPathCapacity = MAX_PATH;

// Stops what plays and loads the path; the playlist follows the file's folder only once it plays.
bool loadAndPlay(PlayLogic& controller, const std::wstring& path) {
    controller.stop();
    if (!controller.playlist().isSupported(path) || !controller.open(path)) {
        return false;
    }
    controller.play();
    controller.rebuildPlaylist(path);
    return true;
}

const wchar_t* fileFilter() {
    const AppState& state = appState();
    return state.app ? state.app->fileFilter() : identity::fileFilter();
}

}  // namespace

bool openMediaFile(const std::wstring& path) {
    AppState& state = appState();
    if (state.controller && loadAndPlay(*state.controller, path)) {
        return true;
    }
    MessageBoxW(state.mainWindow, kLoadFailedText, productName(), MB_OK | MB_ICONERROR);
    return false;
}

void chooseFile() {
    AppState& state = appState();
    wchar_t path[kPathCapacity] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = state.mainWindow;
    dialog.hInstance = state.instance;
    dialog.lpstrFilter = fileFilter();
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrTitle = kOpenDialogTitle;
    // The dialogs' library is loaded when the dialog is first asked for, not at start-up.
    const auto openDialog = systemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (openDialog != nullptr && openDialog(&dialog)) {
        openMediaFile(path);
    }
}
