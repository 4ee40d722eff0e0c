#pragma once

#include <windows.h>

// Everything the main window asks of the control bar goes through here. Without a bar (before start-up
// makes it, after tear-down) every call does nothing and the bar counts as missing (height 0, no window).
namespace controlbar {

// Makes the bar, links it to the controller and the main window, and creates its window as a child of
// the main window with its tooltips; false when the bar or its windows can't be made.
bool create(HINSTANCE instance, HWND parent);
// Destroys the bar's windows and the single bar object.
void destroy();

HWND window();
// The bar's height in pixels: 0 without a window.
int height();
// The bar's full-screen auto-hide, once per timer tick.
void autoHideTick();
// Starts the auto-hide's rest period now, at the cursor's position (full screen).
void armAutoHide();
// Switches the auto-hide off (windowed mode).
void disarmAutoHide();
// The bar is drawn for another DPI from now on.
void setDpi(UINT dpi);

}  // namespace controlbar
