#pragma once

#include <windows.h>

#include "ui/GdiGuards.h"

// What the system says about display scale. The per-monitor functions came with later versions of
// Windows: they are looked up when first needed, and without them every answer is the system's one DPI
// (the program still starts and lays out at that scale).

// The DPI of the primary screen at log-on (96 at 100 %).
UINT systemDpi();
// The DPI of the monitor the window is on.
UINT windowDpi(HWND window);
// A system metric (GetSystemMetrics index) as it is at dpi.
int systemMetricForDpi(int index, UINT dpi);
// The icon resource at the size the metric (SM_CXICON, SM_CXSMICON) has at dpi; empty when it can't be
// loaded. An icon of the caller's own, not a shared one, whose cached size would not follow the DPI.
IconHandle loadIconForDpi(HINSTANCE instance, const wchar_t* name, int metric, UINT dpi);
// Leaves a dialog's layout and fonts to the program when the DPI changes (the program lays out its
// dialogs itself, in pixels of the new scale); nothing where the system doesn't offer that.
void keepDialogLayoutOnDpiChange(HWND dialog);
// The system's message font as it is at dpi (the stock GUI font's, scaled, when the metrics can't be
// read).
LOGFONTW messageFontForDpi(UINT dpi);
// The system's status font, which tooltips take, as it is at dpi (as above otherwise).
LOGFONTW statusFontForDpi(UINT dpi);
