#include "app/window/MainWindow.h"

#include <commdlg.h>

#include "app/AppState.h"
#include "app/MediaPlayerApp.h"
#include "playback/PlayLogic.h"
#include "ui/SystemLibrary.h"

namespace {

constexpr wchar_t kLoadFailedText[] = L"Could not load the file";
constexpr wchar_t kOpenDialogTitle[] = L"Select File";
// The longest name the system's file functions take, so that the dialog never finds the buffer short.
constexpr DWORD kPathCapacity = 32768;

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

std::wstring askForFile(const FileQuestion& question) {
    AppState& state = appState();
    std::wstring path(kPathCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = state.mainWindow;
    dialog.hInstance = state.instance;
    dialog.lpstrFilter = question.filter;
    dialog.lpstrFile = &path[0];
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrInitialDir = question.folder.empty() ? nullptr : question.folder.c_str();
    dialog.lpstrTitle = question.title;
    dialog.Flags = question.flags;
    // The dialogs' library is loaded when the dialog is first asked for, not at start-up.
    const auto openDialog = systemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (openDialog == nullptr || !openDialog(&dialog)) {
        return {};
    }
    path.resize(path.find(L'\0'));
    return path;
}

void chooseFile() {
    const std::wstring path = askForFile({kOpenDialogTitle, fileFilter(), {}, 0});
    if (!path.empty()) {
        openMediaFile(path);
    }
}
