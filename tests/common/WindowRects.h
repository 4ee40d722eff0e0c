#pragma once

#include <windows.h>

// Where windows are, as the tests compare them: client coordinates, never frame sizes (a frame's size
// depends on the theme and the window manager). They work across processes too.
namespace testwin {

// A child's rectangle in its parent's client coordinates; a top-level window's on the screen.
inline RECT rectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) {
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

inline RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

inline RECT clientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

inline SIZE clientSize(HWND window) {
    const RECT rect = clientRect(window);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace testwin
