#include "app/MainWindow.h"

#include <shellapi.h>

std::wstring takeFirstDroppedFile(HDROP drop) {
    wchar_t path[MAX_PATH] = L"";
    if (drop == nullptr) {
        return path;
    }
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        DragQueryFileW(drop, 0, path, MAX_PATH);
    }
    DragFinish(drop);
    return path;
}

// Only the first file of a drop is opened; unlike the command line, no readability test comes first.
void onDropFiles(HDROP drop) {
    std::wstring path = takeFirstDroppedFile(drop);
    if (!path.empty()) {
        openMediaFile(path);
    }
}
