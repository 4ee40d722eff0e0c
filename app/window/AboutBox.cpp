#include "app/window/MainWindow.h"

#include <utility>

#include "app/window/AboutText.h"
#include "app/AppState.h"
#include "resources/resource.h"
#include "ui/GdiGuards.h"
#include "ui/SystemDpi.h"
#include "ui/WindowLibrary.h"

namespace {

// The scale the about box is laid out for, and what it made for that scale. showAboutBox owns it for as
// long as the box is up, so the font and the icon outlive the controls that show them.
struct AboutScale {
    UINT madeAt = 0;  // the scale the system made the box from its template at
    UINT dpi = 0;     // the scale it is laid out for now
    FontHandle font;
    IconHandle icon;
};

AboutScale* scaleOf(HWND dialog) {
    return reinterpret_cast<AboutScale*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// A length at one scale, at another.
struct Rescale {
    UINT from, to;
    int operator()(LONG value) const { return MulDiv(value, static_cast<int>(to), static_cast<int>(from)); }
};

void rescaleControls(HWND dialog, Rescale scaled) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        SetWindowPos(child, nullptr, scaled(place.left), scaled(place.top), scaled(place.right - place.left),
                     scaled(place.bottom - place.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The client area at its new size, the box's centre where it was.
void rescaleAroundCentre(HWND dialog, Rescale scaled) {
    RECT frame{};
    RECT client{};
    GetWindowRect(dialog, &frame);
    GetClientRect(dialog, &client);
    const POINT centre{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    setClientSize(dialog, scaled(client.right), scaled(client.bottom));
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, centre.x - (frame.right - frame.left) / 2,
                 centre.y - (frame.bottom - frame.top) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every control takes the font the box was made with, at dpi instead.
void setFontForDpi(HWND dialog, AboutScale& scale, UINT dpi) {
    LOGFONTW font{};
    const auto madeFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (madeFont == nullptr || GetObjectW(madeFont, sizeof(font), &font) == 0) {
        return;
    }
    font.lfHeight = Rescale{scale.madeAt, dpi}(font.lfHeight);
    FontHandle scaled(CreateFontIndirectW(&font));
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr && scaled;
         child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), TRUE);
    }
    scale.font = std::move(scaled);
}

void setIconForDpi(HWND dialog, AboutScale& scale, UINT dpi) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    IconHandle icon = loadIconForDpi(instance, L"IDI_PLAYER", SM_CXICON, dpi);
    if (icon) {
        SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        scale.icon = std::move(icon);
    }
}

// Lays the box out for dpi: the controls' places and sizes and the client area grow or shrink by the ratio
// of the scales, around the box's centre; the texts take the template's font at dpi, and the icon its
// size there.
void scaleAboutBox(HWND dialog, AboutScale& scale, UINT dpi) {
    if (dpi == 0 || scale.dpi == 0 || dpi == scale.dpi) {
        return;
    }
    const Rescale scaled{scale.dpi, dpi};
    rescaleControls(dialog, scaled);
    setFontForDpi(dialog, scale, dpi);
    setIconForDpi(dialog, scale, dpi);
    rescaleAroundCentre(dialog, scaled);
    scale.dpi = dpi;
}

void onAboutInit(HWND dialog, AboutScale* scale) {
    if (HWND text = GetDlgItem(dialog, IDC_ABOUT_TEXT)) {
        SetWindowTextW(text, aboutText(productName()).c_str());
    }
    if (scale == nullptr) {
        return;
    }
    // The system made the box at its own scale (or, where it scales dialogs per monitor, at the monitor's);
    // the box takes the main window's, and lays itself out again when the scale changes.
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(scale));
    keepDialogLayoutOnDpiChange(dialog);
    scale->madeAt = scale->dpi = windowDpi(dialog);
    scaleAboutBox(dialog, *scale, appState().dpi);
}

// WM_DPICHANGED: the box lays itself out for the new scale where the system suggests.
void onAboutDpiChanged(HWND dialog, UINT dpi, const RECT& suggested) {
    if (AboutScale* scale = scaleOf(dialog)) {
        scaleAboutBox(dialog, *scale, dpi);
    }
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void showAboutBox() {
    const AppState& state = appState();
    AboutScale scale;
    DialogBoxParamW(state.instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), state.mainWindow, aboutDialogProc,
                    reinterpret_cast<LPARAM>(&scale));
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onAboutInit(dialog, reinterpret_cast<AboutScale*>(lParam));
            return TRUE;
        case WM_DPICHANGED:
            if (lParam != 0) {
                onAboutDpiChanged(dialog, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
