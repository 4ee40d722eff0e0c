#include "app/window/MainWindow.h"

#include <utility>

#include "app/AppState.h"
#include "app/window/ControlBarAccess.h"
#include "ui/GdiGuards.h"
#include "ui/PlayWnd.h"
#include "ui/SystemDpi.h"

namespace {

// The window's two icons, destroyed when new ones replace them.
IconHandle& windowIcon(WPARAM which) {
    static IconHandle bigIcon;
    static IconHandle smallIcon;
    return which == ICON_BIG ? bigIcon : smallIcon;
}

// Gives the window the icon at the size of the metric (SM_CXICON, SM_CXSMICON) at dpi, as its big or small
// icon.
void setWindowIcon(HWND window, WPARAM which, int metric, UINT dpi) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    IconHandle icon = loadIconForDpi(instance, L"IDI_PLAYER", metric, dpi);
    if (!icon) {
        return;
    }
    SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.get()));
    windowIcon(which) = std::move(icon);
}

}  // namespace

void setWindowIcons(HWND window, UINT dpi) {
    // 32 and 16 pixels at 96 DPI: player.ico holds the sizes of every scale of both.
    setWindowIcon(window, ICON_BIG, SM_CXICON, dpi);
    setWindowIcon(window, ICON_SMALL, SM_CXSMICON, dpi);
}

void onDpiChanged(HWND window, UINT dpi, const RECT& suggested) {
    AppState& state = appState();
    if (dpi == 0) {
        return;
    }
    state.dpi = dpi;
    setWindowIcons(window, dpi);
    if (state.videoWindow != nullptr) {
        state.videoWindow->setDpi(dpi);
    }
    controlbar::setDpi(dpi);
    // Before the first layout the change comes from start-up applying the saved placement on a monitor
    // of another scale: that rectangle, in the pixels it was saved in, stands.
    if (!state.layoutEnabled) {
        return;
    }
    const RECT area = state.fullScreen ? monitorRectNear(suggested) : suggested;
    SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The size may be the same, with another bar height and other minimums.
    layoutWindows();
}
