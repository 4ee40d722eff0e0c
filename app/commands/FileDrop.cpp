#include "app/window/MainWindow.h"

#include <shellapi.h>

#include "app/commands/WatchCommands.h"
#include "ui/SystemLibrary.h"

std::wstring takeFirstDroppedFile(HDROP drop) {
    wchar_t path[MAX_PATH] = L"";
    if (drop == nullptr) {
        return path;
    }
    // The shell's library is loaded on the first drop, not at start-up.
    const auto queryFile = systemFunction<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    const auto finish = systemFunction<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
    if (queryFile != nullptr && queryFile(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        queryFile(drop, 0, path, MAX_PATH);
    }
    if (finish != nullptr) {
        finish(drop);
    }
    return path;
}

// Only the first file of a drop is opened; unlike the command line, no readability test comes first. A
// subtitle file goes to the video that plays.
void onDropFiles(HDROP drop) {
    std::wstring path = takeFirstDroppedFile(drop);
    if (!path.empty() && !takeDroppedSubtitleFile(path)) {
        openMediaFile(path);
    }
}

void acceptDroppedFiles(HWND window) {
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}
