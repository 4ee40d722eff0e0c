#pragma once

#include <windows.h>

#include <ostream>

// Rectangles and sizes compare and print as values, so that a test checks one with EXPECT_EQ and a
// failure shows both as "left,top-right,bottom" or "width x height".
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const SIZE& a, const SIZE& b) {
    return a.cx == b.cx && a.cy == b.cy;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
}
inline void PrintTo(const SIZE& s, std::ostream* out) {
    *out << s.cx << " x " << s.cy;
}

// Where windows are, as the tests compare them: client coordinates, never frame sizes (a frame's size
// depends on the theme and the window manager). They work across processes too.
namespace testwin {

// The rectangle at x, y of the given width and height.
inline RECT xywh(int x, int y, int width, int height) {
    return RECT{x, y, x + width, y + height};
}

inline SIZE sizeOf(const RECT& r) {
    return SIZE{r.right - r.left, r.bottom - r.top};
}

inline POINT centreOf(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

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

// The client area in screen coordinates.
inline RECT clientRectOnScreen(HWND window) {
    RECT rect = clientRect(window);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline SIZE clientSize(HWND window) {
    return sizeOf(clientRect(window));
}

inline RECT workArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Whether the window is centred on the work area, to the pixel.
inline bool centredOnWorkArea(HWND window) {
    const RECT area = workArea(), frame = windowRect(window);
    const auto even = [](LONG a, LONG b) { return a - b <= 1 && b - a <= 1; };
    return even(frame.left - area.left, area.right - frame.right) &&
           even(frame.top - area.top, area.bottom - frame.bottom);
}

}  // namespace testwin
