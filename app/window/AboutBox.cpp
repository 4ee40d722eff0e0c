#include "app/window/MainWindow.h"

#include "app/AppState.h"
#include "app/window/AboutText.h"
#include "app/window/DialogScale.h"
#include "resources/resource.h"

namespace {

void onAboutInit(HWND dialog, DialogScale* scale) {
    if (HWND text = GetDlgItem(dialog, IDC_ABOUT_TEXT)) {
        SetWindowTextW(text, aboutText(productName()).c_str());
    }
    startDialogScale(dialog, scale);
}

}  // namespace

void showAboutBox() {
    const AppState& state = appState();
    DialogScale scale;
    scale.iconControl = IDC_ABOUT_ICON;
    DialogBoxParamW(state.instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), state.mainWindow, aboutDialogProc,
                    reinterpret_cast<LPARAM>(&scale));
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onAboutInit(dialog, reinterpret_cast<DialogScale*>(lParam));
            return TRUE;
        case WM_DPICHANGED:
            onDialogDpiChanged(dialog, wParam, lParam);
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
