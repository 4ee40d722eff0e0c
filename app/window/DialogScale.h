#pragma once

#include <windows.h>

#include "ui/GdiGuards.h"

// A dialog of the player laid out at the main window's display scale, and again at a new one: the
// controls' places and sizes and the client area grow or shrink by the ratio of the scales around the
// box's centre, the texts take the template's font at the new scale, and an icon control (when the
// dialog names one) its icon's size there. The object is the caller's for as long as the dialog is up,
// so the font and the icon outlive the controls that show them.
struct DialogScale {
    int iconControl = 0;  // the control that shows the player's icon; 0 for none
    UINT madeAt = 0;      // the scale the system made the box from its template at
    UINT dpi = 0;         // the scale it is laid out for now
    FontHandle font;
    IconHandle icon;
};

// WM_INITDIALOG: the dialog keeps the scale object and takes the main window's scale.
void startDialogScale(HWND dialog, DialogScale* scale);
// WM_DPICHANGED: the dialog lays itself out for the new scale where the system suggests.
void onDialogDpiChanged(HWND dialog, WPARAM wParam, LPARAM lParam);
