#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/TestWindows.h"
#include "common/WaitUntil.h"
#include "common/WindowRects.h"

namespace e2e {

// Polls the predicate every pollMs until it holds or timeoutMs has passed; true when it held.
inline bool waitUntil(const std::function<bool()>& predicate, DWORD timeoutMs, DWORD pollMs = 20) {
    return testwait::waitUntil(predicate, std::chrono::milliseconds(timeoutMs),
                               std::chrono::milliseconds(pollMs));
}

// Environment variables to give the child on top of this process's own (an empty value removes one).
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// The environment block for CreateProcessW: `base` (NUL-separated entries ending in an empty one, as
// GetEnvironmentStringsW gives it) with the overrides applied; names compare without case.
std::wstring environmentBlock(const wchar_t* base, const Environment& overrides);

// One running copy of the player, started the way a user starts it, and driven from outside through
// window messages. The process is killed when the object goes, and by a watchdog thread when it
// outlives its allowed lifetime, so a failing test never leaves a player running.
class PlayerProcess {
public:
    PlayerProcess() = default;
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    // Starts exePath with the command tail exactly as given (the tail follows the quoted program name
    // and one blank, as the shell passes it), in the program's own folder unless currentFolder names
    // another. Any previous process of this object is killed first.
    bool start(const std::wstring& exePath, const std::wstring& commandTail, const Environment& environment,
               DWORD lifetimeMs = 120000, const std::wstring& currentFolder = L"");
    // Waits for the main window (class "Player_WndClass" of this process) to exist.
    bool waitForWindow(DWORD timeoutMs);
    // Waits until the process has ended; its exit code goes to exitCode.
    bool waitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool running() const;
    void kill();

    DWORD processId() const { return processId_; }
    HWND window() const { return window_; }

    // The main window's title, read without waiting for the player's thread.
    std::wstring title() const;
    // A plain key through the player's accelerator table (a posted key-down and key-up).
    bool sendKey(UINT virtualKey) const;
    // A WM_COMMAND with the identifier, as a menu or a bar button sends it.
    bool postCommand(UINT commandId) const;
    // The same, handled by the player before it returns; false when it was not within timeoutMs.
    bool sendCommand(UINT commandId, DWORD timeoutMs = 5000) const;
    // Asks the main window to close, as its frame button does.
    bool requestClose() const;

    // A visible dialog box (#32770, or another class) of this process that is a top-level window; null when
    // none.
    HWND findDialog(const std::function<bool(HWND)>& accept = nullptr,
                    const wchar_t* className = L"#32770") const;
    // The same, waiting for one; null on timeout.
    HWND waitForDialog(const std::function<bool(HWND)>& accept, DWORD timeoutMs) const;
    // The first message box whose text matches, waiting for it; null on timeout.
    HWND waitForMessageBox(const std::wstring& text, DWORD timeoutMs) const;
    // Presses a button of a dialog box as a user would, and waits until the box is gone; false when it stays.
    static bool pressDialogButton(HWND dialog, int button, DWORD timeoutMs = 5000);
    // A visible pop-up menu window (#32768) of this process; null when none.
    HWND findPopupMenu() const;

private:
    static DWORD WINAPI watchdogMain(void* self);
    void stopWatchdog();

    PROCESS_INFORMATION info_{};
    HANDLE job_ = nullptr;
    HANDLE watchdog_ = nullptr;
    HANDLE watchdogStop_ = nullptr;
    DWORD lifetimeMs_ = 0;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// Top-level windows of a process with the given class (all classes when empty), visible or not.
std::vector<HWND> topLevelWindows(DWORD processId, const std::wstring& className);
std::wstring classNameOf(HWND window);
// Direct children of a window, in Z order.
std::vector<HWND> childWindows(HWND parent);
// Texts of every descendant of a window (a message box keeps its message in a static child).
std::vector<std::wstring> descendantTexts(HWND window);
using testwin::centreOf;
using testwin::clientRect;
using testwin::clientSize;
using testwin::rectInParent;
using testwin::windowRect;
using testwin::windowText;
using testwin::xywh;

}  // namespace e2e
