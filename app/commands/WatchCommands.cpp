#include "app/commands/WatchCommands.h"

#include <commdlg.h>

#include "app/AppState.h"
#include "app/MediaPlayerApp.h"
#include "playback/MediaFormats.h"
#include "playback/PathRules.h"
#include "playback/PlayLogic.h"
#include "playback/WatchRules.h"
#include "resources/resource.h"
#include "ui/SystemLibrary.h"

namespace {

constexpr wchar_t kSubtitleDialogTitle[] = L"Load Subtitle File";

// The commands that are one call of the controller.
struct WatchCommand {
    UINT id;
    void (*run)(PlayLogic& controller);
};

const WatchCommand kWatchCommands[] = {
    {ID_AUDIO_NEXT, [](PlayLogic& c) { c.nextAudioTrack(); }},
    {ID_SUBTITLES_NEXT, [](PlayLogic& c) { c.nextSubtitles(); }},
    {ID_SUBTITLES_OFF, [](PlayLogic& c) { c.chooseSubtitles(-1); }},
    {ID_SPEED_FASTER, [](PlayLogic& c) { c.stepSpeed(+1); }},
    {ID_SPEED_SLOWER, [](PlayLogic& c) { c.stepSpeed(-1); }},
    {ID_CHAPTER_NEXT, [](PlayLogic& c) { c.stepChapter(+1); }},
    {ID_CHAPTER_PREVIOUS, [](PlayLogic& c) { c.stepChapter(-1); }},
    {ID_SUBTITLES_EARLIER, [](PlayLogic& c) { c.stepSubtitleDelay(-1); }},
    {ID_SUBTITLES_LATER, [](PlayLogic& c) { c.stepSubtitleDelay(+1); }},
    {ID_AUDIO_EARLIER, [](PlayLogic& c) { c.stepAudioDelay(-1); }},
    {ID_AUDIO_LATER, [](PlayLogic& c) { c.stepAudioDelay(+1); }},
};

bool inRange(UINT id, UINT first, UINT last) {
    return id >= first && id <= last;
}

}  // namespace

bool runWatchCommand(UINT id) {
    PlayLogic* controller = appState().controller.get();
    for (const WatchCommand& command : kWatchCommands) {
        if (command.id == id) {
            if (controller != nullptr) {
                command.run(*controller);
            }
            return true;
        }
    }
    if (id == ID_LOAD_SUBTITLE_FILE) {
        chooseSubtitleFile();
        return true;
    }
    if (!inRange(id, ID_SPEED_FIRST, ID_SPEED_LAST) &&
        !inRange(id, ID_AUDIO_TRACK_FIRST, ID_AUDIO_TRACK_LAST) &&
        !inRange(id, ID_SUBTITLE_TRACK_FIRST, ID_SUBTITLE_TRACK_LAST) &&
        !inRange(id, ID_CHAPTER_FIRST, ID_CHAPTER_LAST)) {
        return false;
    }
    if (controller == nullptr) {
        return true;
    }
    if (inRange(id, ID_SPEED_FIRST, ID_SPEED_LAST)) {
        controller->chooseSpeed(watching::kSpeeds[id - ID_SPEED_FIRST]);
    } else if (inRange(id, ID_AUDIO_TRACK_FIRST, ID_AUDIO_TRACK_LAST)) {
        controller->chooseAudioTrack(static_cast<int>(id - ID_AUDIO_TRACK_FIRST));
    } else if (inRange(id, ID_CHAPTER_FIRST, ID_CHAPTER_LAST)) {
        controller->chooseChapter(static_cast<int>(id - ID_CHAPTER_FIRST));
    } else {
        controller->chooseSubtitles(static_cast<int>(id - ID_SUBTITLE_TRACK_FIRST));
    }
    return true;
}

void chooseSubtitleFile() {
    AppState& state = appState();
    if (!state.controller || !state.controller->can(FeatureSubtitleFiles)) {
        return;
    }
    const std::wstring folder = folderOf(state.controller->currentPath());
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = state.mainWindow;
    dialog.hInstance = state.instance;
    dialog.lpstrFilter = identity::subtitleFilter();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = kSubtitleDialogTitle;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const auto openDialog = systemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    // The video may have ended while the dialog was open: then there is nothing to add the file to.
    if (openDialog != nullptr && openDialog(&dialog) && state.controller) {
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
