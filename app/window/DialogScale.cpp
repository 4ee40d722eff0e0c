#include "app/window/DialogScale.h"

#include <utility>

#include "app/AppState.h"
#include "ui/SystemDpi.h"
#include "ui/WindowLibrary.h"

namespace {

DialogScale* scaleOf(HWND dialog) {
    return reinterpret_cast<DialogScale*>(GetWindowLongPtrW(dialog, DWLP_USER));
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
void setFontForDpi(HWND dialog, DialogScale& scale, UINT dpi) {
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

void setIconForDpi(HWND dialog, DialogScale& scale, UINT dpi) {
    if (scale.iconControl == 0) {
        return;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    IconHandle icon = loadIconForDpi(instance, L"IDI_PLAYER", SM_CXICON, dpi);
    if (icon) {
        SendDlgItemMessageW(dialog, scale.iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        scale.icon = std::move(icon);
    }
}

void scaleDialog(HWND dialog, DialogScale& scale, UINT dpi) {
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

}  // namespace

void startDialogScale(HWND dialog, DialogScale* scale) {
    if (scale == nullptr) {
        return;
    }
    // The system made the box at its own scale (or, where it scales dialogs per monitor, at the monitor's);
    // the box takes the main window's, and lays itself out again when the scale changes.
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(scale));
    keepDialogLayoutOnDpiChange(dialog);
    scale->madeAt = scale->dpi = windowDpi(dialog);
    scaleDialog(dialog, *scale, appState().dpi);
}

void onDialogDpiChanged(HWND dialog, WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        return;
    }
    // The DPI comes from the message: the window's own may still answer the old one.
    if (DialogScale* scale = scaleOf(dialog)) {
        scaleDialog(dialog, *scale, LOWORD(wParam));
    }
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
