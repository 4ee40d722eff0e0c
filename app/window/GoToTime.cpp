// Go to Time (Ctrl+G, and the context menu): one field for a time, OK jumps there. A time the dialog
// can't take is answered in the dialog itself, which stays open.
#include "app/window/MainWindow.h"

#include <string>

#include "app/AppState.h"
#include "app/window/DialogScale.h"
#include "playback/PlayLogic.h"
#include "playback/WatchRules.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kTakesText[] = L"Seconds (90), minutes:seconds (1:30) or hours:minutes:seconds (1:02:03).";
constexpr wchar_t kNotATimeText[] =
    L"Not a time. Type seconds (90), minutes:seconds (1:30) or hours:minutes:seconds (1:02:03).";

bool somethingToJumpIn(const PlayLogic* controller) {
    if (controller == nullptr) {
        return false;
    }
    const int state = controller->state();
    return state == StatePlaying || state == StatePaused;
}

std::wstring fieldText(HWND dialog) {
    HWND field = GetDlgItem(dialog, IDC_GO_TO_TIME_FIELD);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The answer stays in the dialog; the field keeps the text, selected, for typing it again.
void refuse(HWND dialog, const std::wstring& answer) {
    SetDlgItemTextW(dialog, IDC_GO_TO_TIME_HINT, answer.c_str());
    HWND field = GetDlgItem(dialog, IDC_GO_TO_TIME_FIELD);
    SendMessageW(field, EM_SETSEL, 0, -1);
    SetFocus(field);
}

void onOk(HWND dialog) {
    PlayLogic* controller = appState().controller.get();
    // The file may have ended while the dialog was up: then there is nothing to jump in.
    if (!somethingToJumpIn(controller)) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    const std::int64_t length = controller->player()->getLength();
    const std::int64_t ms = watching::parseTime(fieldText(dialog));
    switch (watching::checkTime(ms, length)) {
        case watching::TimeEntry::NotATime:
            refuse(dialog, kNotATimeText);
            return;
        case watching::TimeEntry::PastTheEnd:
            refuse(dialog, L"Past the end: the file is " + watching::clockText(length) +
                               L" long. Type seconds (90), minutes:seconds (1:30) or hours:minutes:seconds "
                               L"(1:02:03).");
            return;
        case watching::TimeEntry::Jump:
            controller->jumpTo(ms);
            EndDialog(dialog, IDOK);
            return;
    }
}

INT_PTR CALLBACK goToTimeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextW(dialog, IDC_GO_TO_TIME_HINT, kTakesText);
            startDialogScale(dialog, reinterpret_cast<DialogScale*>(lParam));
            return TRUE;
        case WM_DPICHANGED:
            onDialogDpiChanged(dialog, wParam, lParam);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                onOk(dialog);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void showGoToTime() {
    const AppState& state = appState();
    if (!somethingToJumpIn(state.controller.get())) {
        return;
    }
    DialogScale scale;
    DialogBoxParamW(state.instance, MAKEINTRESOURCEW(IDD_GO_TO_TIME), state.mainWindow, goToTimeProc,
                    reinterpret_cast<LPARAM>(&scale));
}
