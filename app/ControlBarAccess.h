#pragma once

#include <windows.h>

// Everything the main window asks of the control bar goes through here. Until the bar is part of the
// window, every call does nothing and the bar counts as missing (height 0, no window).
namespace controlbar {

// Makes the bar's window as a child of the main window; true while there is no bar to make.
bool create(HINSTANCE instance, HWND parent);
// Destroys the bar's windows and the single bar object.
void destroy();

HWND window();
// The bar's height in pixels: 0 without a window.
int height();
// The bar's full-screen auto-hide, once per timer tick.
void autoHideTick();
// Starts the auto-hide's rest period at the tick count and cursor position (full screen).
void armAutoHide(DWORD tick, POINT cursor);
// Switches the auto-hide off (windowed mode).
void disarmAutoHide();

}  // namespace controlbar
