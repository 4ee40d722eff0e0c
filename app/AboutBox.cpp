#include "app/MainWindow.h"

#include "app/AboutText.h"
#include "app/AppState.h"
#include "resources/resource.h"

void showAboutBox() {
    const AppState& state = appState();
    DialogBoxParamW(state.instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), state.mainWindow, aboutDialogProc, 0);
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            if (HWND text = GetDlgItem(dialog, IDC_ABOUT_TEXT)) {
                SetWindowTextW(text, aboutText(productName()).c_str());
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
