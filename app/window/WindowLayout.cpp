#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/window/ControlBarAccess.h"
#include "app/window/WindowLayoutMath.h"
#include "ui/PlayWnd.h"
#include "ui/WindowLibrary.h"

namespace {

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

// Without a saved placement the window opens at its standard size in the middle of the work area.
void applyFirstLayout(HWND window, int reservedHeight) {
    AppState& state = appState();
    if (!state.firstLayoutPending) {
        return;
    }
    // Cleared before resizing: the resize lays the window out again from inside this call.
    state.firstLayoutPending = false;
    if (!state.placementValid) {
        SIZE first = layoutmath::firstClientSize(reservedHeight, state.dpi);
        setClientSize(window, first.cx, first.cy);
        centerWindow(window);
    }
}

SIZE enforceMinimumSize(HWND window, int reservedHeight) {
    SIZE client = clientSize(window);
    SIZE growth = layoutmath::growthToMinimum(client, reservedHeight, appState().dpi);
    if (growth.cx == 0 && growth.cy == 0) {
        return client;
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + growth.cx,
                 frame.bottom - frame.top + growth.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return clientSize(window);
}

void moveTo(HWND child, const RECT& area) {
    MoveWindow(child, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

HWND videoFrame() {
    PlayWnd* video = appState().videoWindow;
    return video != nullptr ? video->frameWindow() : nullptr;
}

}  // namespace

void layoutWindows() {
    AppState& state = appState();
    HWND window = state.mainWindow;
    // A minimised window has no size to lay out; a first layout stays pending until it is restored.
    if (!state.layoutEnabled || window == nullptr || IsIconic(window)) {
        return;
    }
    HWND bar = controlbar::window();
    // The bar's own style: IsWindowVisible also answers false while the main window itself is hidden.
    bool barWasVisible = bar != nullptr && (GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE) != 0;
    if (bar != nullptr) {
        ShowWindow(bar, SW_HIDE);
    }
    int barHeight = controlbar::height();
    int reserved = layoutmath::reservedBarHeight(barWasVisible, state.fullScreen != FALSE, barHeight);

    applyFirstLayout(window, reserved);
    SIZE client = enforceMinimumSize(window, reserved);

    HWND video = videoFrame();
    if (video != nullptr) {
        moveTo(video, layoutmath::videoArea(client, reserved));
    }
    if (bar != nullptr) {
        moveTo(bar, layoutmath::barArea(client, barHeight));
    }
    if (video != nullptr) {
        ShowWindow(video, SW_SHOW);
    }
    if (bar != nullptr && (barWasVisible || !state.fullScreen)) {
        ShowWindow(bar, SW_SHOW);
    }
    // In full screen the bar hides again once the mouse has rested; windowed, it always stays.
    if (state.fullScreen) {
        controlbar::armAutoHide();
    } else {
        controlbar::disarmAutoHide();
    }
}

void recordPlacement() {
    AppState& state = appState();
    // Until its first layout (put off while a window starts minimised) the window has no size of its own.
    if (state.fullScreen || !state.layoutEnabled || state.firstLayoutPending || state.mainWindow == nullptr) {
        return;
    }
    state.placement.length = sizeof(state.placement);
    state.placementValid = GetWindowPlacement(state.mainWindow, &state.placement);
}
