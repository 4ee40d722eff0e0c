#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/ControlBarAccess.h"
#include "ui/DisplayScale.h"
#include "ui/PlayWnd.h"

namespace {

// Owns the window's icon, destroyed when a new one replaces it.
class IconHandle {
public:
    IconHandle() = default;
    ~IconHandle() { reset(); }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;

    void reset(HICON icon = nullptr) {
        if (icon_ != nullptr && icon_ != icon) {
            DestroyIcon(icon_);
        }
        icon_ = icon;
    }

private:
    HICON icon_ = nullptr;
};

IconHandle& windowIcon() {
    static IconHandle icon;
    return icon;
}

}  // namespace

void setWindowIcons(HWND window, UINT dpi) {
    // The icon's standard size at the DPI (32 pixels at 96), serving as big and small icon alike; not a
    // shared icon, whose cached size would not follow the DPI.
    const int size = systemMetricForDpi(SM_CXICON, dpi);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    HICON icon = static_cast<HICON>(LoadImageW(instance, L"IDI_PLAYER", IMAGE_ICON, size, size, 0));
    if (icon == nullptr) {
        return;
    }
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    windowIcon().reset(icon);
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
