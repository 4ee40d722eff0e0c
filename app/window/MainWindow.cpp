#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/window/ControlBarAccess.h"
#include "app/desktop/Desktop.h"
#include "app/instance/HandOff.h"
#include "app/MediaPlayerApp.h"
#include "playback/PlayLogic.h"
#include "ui/GdiGuards.h"
#include "ui/PlayWnd.h"
#include "ui/SystemDpi.h"

namespace {

// The window starts at the DPI of the monitor it is created on.
void onCreate(HWND window) {
    AppState& state = appState();
    state.dpi = windowDpi(window);
    setWindowIcons(window, state.dpi);
    attachToDesktop(window);
}

void fillBlack(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    BrushHandle black(CreateSolidBrush(RGB(0, 0, 0)));
    FillRect(dc, &client, black.get());
}

void paint(HWND window) {
    PaintDC paint(window);
    fillBlack(window, paint.get());
}

void onSize(WPARAM sizeType) {
    // A minimised window has no client area worth laying out, but its placement still counts.
    if (sizeType != SIZE_MINIMIZED) {
        layoutWindows();
    }
    recordPlacement();
    followWindowOnDesktop();
}

// Title first, so that it reflects the state the rest of the tick starts from.
void onTimerTick() {
    updateTitle();
    AppState& state = appState();
    if (state.videoWindow != nullptr) {
        state.videoWindow->checkCursorIdle();
    }
    if (state.controller) {
        state.controller->timerProc();
    }
    controlbar::autoHideTick();
}

}  // namespace

const wchar_t* productName() {
    const AppState& state = appState();
    return state.app ? state.app->productName() : identity::kProductName;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_MOVE:
            recordPlacement();
            return 0;
        case WM_SIZE:
            onSize(wParam);
            return 0;
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_ERASEBKGND:
            fillBlack(window, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_CLOSE:
            onCloseRequest();
            return 0;
        case WM_ENDSESSION:
            onSessionEnd(wParam != FALSE);
            return 0;
        case WM_COMMAND:
            if (runCommand(LOWORD(wParam))) {
                return 0;
            }
            break;
        case WM_TIMER:
            onTimerTick();
            return 0;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_APPCOMMAND:
            if (onAppCommand(GET_APPCOMMAND_LPARAM(lParam))) {
                return TRUE;
            }
            break;
        case WM_MOUSEWHEEL:
            onMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_DPICHANGED:
            // The DPI comes from the message: the window's own may still answer the old one.
            onDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case kInstancePingMessage:
            return kInstancePingMessage;
        case kOpenHandedOverFileMessage:
            receiveHandedOverFile();
            return 0;
        default:
            if (isTaskbarButtonCreated(message)) {
                onTaskbarButtonCreated(window);
                return 0;
            }
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
