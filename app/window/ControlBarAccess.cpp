#include "app/window/ControlBarAccess.h"

#include "app/AppState.h"
#include "ui/PlayBar.h"

namespace controlbar {

namespace {

PlayBar* bar() {
    return appState().controlBar;
}

}  // namespace

bool create(HINSTANCE instance, HWND parent) {
    PlayBar* made = PlayBar::instance();
    appState().controlBar = made;
    if (made == nullptr) {
        return false;
    }
    // The bar reaches the controller and the main window only through these, read when it needs them.
    made->setLinks(appWindowLinks());
    return made->create(instance, parent) && made->initControls();
}

void destroy() {
    if (PlayBar* current = bar()) {
        current->destroyWindows();
        appState().controlBar = nullptr;
        PlayBar::destroyInstance();
    }
}

HWND window() {
    PlayBar* current = bar();
    return current != nullptr ? current->window() : nullptr;
}

int height() {
    PlayBar* current = bar();
    return current != nullptr ? current->height() : 0;
}

void autoHideTick() {
    if (PlayBar* current = bar()) {
        current->autoHideTick();
    }
}

void armAutoHide() {
    if (PlayBar* current = bar()) {
        POINT cursor{};
        GetCursorPos(&cursor);
        current->setLastActivity(GetTickCount(), cursor);
    }
}

void disarmAutoHide() {
    if (PlayBar* current = bar()) {
        current->setLastActivity(0, POINT{});
    }
}

void setDpi(UINT dpi) {
    if (PlayBar* current = bar()) {
        current->setDpi(dpi);
    }
}

}  // namespace controlbar
