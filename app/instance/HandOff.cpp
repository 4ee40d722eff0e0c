#include "app/instance/HandOff.h"

#include <cstring>

#include "app/AppState.h"
#include "app/commands/CommandLine.h"
#include "app/instance/HandOffValue.h"
#include "app/window/MainWindow.h"
#include "app/instance/RegistryKey.h"
#include "playback/ReadableFile.h"

namespace {

constexpr wchar_t kHandleValue[] = L"MainFrame_Handle";
constexpr wchar_t kNewFileValue[] = L"MainFrame_NewFile";

static_assert(sizeof(wchar_t) == 2, "the stored path is UTF-16");

std::wstring handOffKeyPath(const wchar_t* productName) {
    return std::wstring(L"Software\\") + (productName != nullptr ? productName : L"");
}

// The stored number is 32 bits wide; window handles fit in it, and widen back with their sign as the
// platform's handle rules ask.
DWORD storedHandle(HWND window) {
    return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
}

HWND handleFromStored(DWORD value) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<LONG>(value)));
}

HWND publishedWindow(HKEY key) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, kHandleValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        !handoffvalue::handleWorthReading(type, size)) {
        return nullptr;
    }
    DWORD value = 0;
    DWORD read = sizeof(value);
    if (RegQueryValueExW(key, kHandleValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &read) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return handleFromStored(value);
}

// A stale handle may name some other program's window by now, and a running copy may hang: only the
// right answer within the time limit counts.
bool answersPing(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, kInstancePingMessage, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               kPingTimeoutMs, &answer) != 0 &&
           answer == kInstancePingMessage;
}

bool storePath(HKEY key, const std::wstring& path) {
    return RegSetValueExW(key, kNewFileValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                          static_cast<DWORD>(handoffvalue::storedPathBytes(path.size()))) == ERROR_SUCCESS;
}

std::wstring handedOverPath() {
    RegistryKey key;
    if (!key.openForHandOff(handOffKeyPath(productName()).c_str())) {
        return std::wstring();
    }
    unsigned char bytes[handoffvalue::kMaxPathBytes] = {};
    DWORD type = 0;
    DWORD size = sizeof(bytes);
    // A longer value doesn't fit and fails here, so nothing past the buffer is ever looked at.
    if (RegQueryValueExW(key.get(), kNewFileValue, nullptr, &type, bytes, &size) != ERROR_SUCCESS) {
        return std::wstring();
    }
    std::wstring path(handoffvalue::storedPathLength(type, bytes, size), L'\0');
    std::memcpy(&path[0], bytes, path.size() * sizeof(wchar_t));
    return path;
}

void bringToFront(HWND window) {
    // A minimised window would play the file unseen.
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
    // Through the topmost band and back to come above the window in front; a window kept on top (Always on
    // Top) is above it already, and must stay on top.
    if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
}

}  // namespace

bool publishMainWindow(const wchar_t* productName, HWND window) {
    // A window closed before it could be published (from the start-up message box) leaves the handle
    // of a copy that still runs as it was.
    RegistryKey key;
    if (window == nullptr || !key.openForHandOff(handOffKeyPath(productName).c_str())) {
        return false;
    }
    const DWORD value = storedHandle(window);
    return RegSetValueExW(key.get(), kHandleValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

bool handOffToRunningInstance(const wchar_t* productName, const std::wstring& path) {
    // A running copy drops a path it can't hold, so this process opens such a file itself.
    if (!handoffvalue::runningCopyTakes(path.size())) {
        return false;
    }
    HWND running = nullptr;
    {
        RegistryKey key;
        if (!key.openForHandOff(handOffKeyPath(productName).c_str())) {
            return false;
        }
        running = publishedWindow(key.get());
        if (running == nullptr || !IsWindow(running) || !answersPing(running) ||
            !storePath(key.get(), path)) {
            return false;
        }
    }
    // This process was just started by the user, so it may pass the right to take the foreground on.
    DWORD runningProcess = 0;
    GetWindowThreadProcessId(running, &runningProcess);
    AllowSetForegroundWindow(runningProcess);
    return PostMessageW(running, kOpenHandedOverFileMessage, 0, 0) != FALSE;
}

void receiveHandedOverFile() {
    const std::wstring path = handedOverPath();
    if (!fileOpensForReading(path)) {
        return;
    }
    if (openMediaFile(path)) {
        bringToFront(appState().mainWindow);
    }
}
