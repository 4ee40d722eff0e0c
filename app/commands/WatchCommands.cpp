#include "app/commands/WatchCommands.h"

#include <commdlg.h>

#include "app/AppState.h"
#include "app/MediaPlayerApp.h"
#include "app/window/MainWindow.h"
#include "playback/MediaFormats.h"
#include "playback/PathRules.h"
#include "playback/PlayLogic.h"

void chooseSubtitleFile() {
    AppState& state = appState();
    if (!state.controller || !state.controller->can(FeatureSubtitleFiles)) {
        return;
    }
    const std::wstring folder = folderOf(state.controller->currentPath());
    const std::wstring path = askForFile({L"Load Subtitle File", identity::subtitleFilter(), folder,
                                          OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR});
    // The video may have ended while the dialog was open: then there is nothing to add the file to.
    if (!path.empty() && state.controller) {
        state.controller->loadSubtitleFile(path);
    }
}

bool takeDroppedSubtitleFile(const std::wstring& path) {
    PlayLogic* controller = appState().controller.get();
    if (controller == nullptr || !mediaformats::isSubtitlePath(path) || !controller->showsVideo() ||
        !controller->can(FeatureSubtitleFiles)) {
        return false;
    }
    controller->loadSubtitleFile(path);
    return true;
}
