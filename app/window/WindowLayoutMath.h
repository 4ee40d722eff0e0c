#pragma once

#include <windows.h>

// The arithmetic of the main window's layout: the video area above, the control bar along the bottom.
// The sizes are those of a 96-DPI screen; the window's DPI scales them.
namespace layoutmath {

constexpr int kFirstClientWidth = 672;
constexpr int kFirstVideoHeight = 420;  // the first client height is this plus the bar's height
constexpr int kMinClientWidth = 480;
constexpr int kMinVideoHeight = 300;  // the client height is at least this plus the bar's height

// The bar height the layout reserves: none in full screen while the bar is hidden.
int reservedBarHeight(bool barVisible, bool fullScreen, int barHeight);
// The client size the window gets on its first layout when no placement was saved.
SIZE firstClientSize(int reservedHeight, UINT dpi = 96);
// How much the window must grow (never shrink) so that its client area meets the minimum size.
SIZE growthToMinimum(SIZE client, int reservedHeight, UINT dpi = 96);
// The video window's rectangle (left, top, right, bottom) in the client area.
RECT videoArea(SIZE client, int reservedHeight);
// The bar's rectangle: full width along the bottom edge, barHeight high, even while it is hidden.
RECT barArea(SIZE client, int barHeight);

}  // namespace layoutmath
