#include "e2e/PlayerProcess.h"

#include <algorithm>
#include <cwctype>

namespace e2e {

namespace {

constexpr wchar_t kMainWindowClass[] = L"Player_WndClass";

bool sameName(const std::wstring& entry, const std::wstring& name) {
    if (entry.size() <= name.size() || entry[name.size()] != L'=') {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        if (std::towupper(entry[i]) != std::towupper(name[i])) {
            return false;
        }
    }
    return true;
}

std::wstring folderOfPath(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// A job that ends the player when the test process ends, however it ends. The processes the player starts
// stay out of it: the first program of a Wine session that needs the desktop starts the desktop process
// (explorer.exe) as its child, and a job that took the desktop down with the player left Wine using the
// dead desktop's pointer-clip window, so that the next player to go full screen was ended by an X error
// (BadWindow on X_UnmapWindow).
HANDLE createKillOnCloseJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) {
        return nullptr;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

BOOL CALLBACK collect(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

LPARAM keyData(UINT virtualKey, bool up) {
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
    if (up) {
        data |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    }
    return data;
}

}  // namespace

std::wstring environmentBlock(const wchar_t* base, const Environment& overrides) {
    std::vector<std::wstring> entries;
    for (const wchar_t* p = base; p && *p; p += wcslen(p) + 1) {
        entries.emplace_back(p);
    }
    for (const auto& [name, value] : overrides) {
        for (auto it = entries.begin(); it != entries.end();) {
            it = sameName(*it, name) ? entries.erase(it) : it + 1;
        }
        if (!value.empty()) {
            entries.push_back(name + L"=" + value);
        }
    }
    std::wstring block;
    for (const auto& entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

PlayerProcess::~PlayerProcess() {
    kill();
}

bool PlayerProcess::start(const std::wstring& exePath, const std::wstring& commandTail,
                          const Environment& environment, DWORD lifetimeMs,
                          const std::wstring& currentFolder) {
    kill();
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!commandTail.empty()) {
        commandLine += L" " + commandTail;
    }
    wchar_t* ownEnvironment = GetEnvironmentStringsW();
    std::wstring block = environmentBlock(ownEnvironment, environment);
    FreeEnvironmentStringsW(ownEnvironment);
    const std::wstring folder = currentFolder.empty() ? folderOfPath(exePath) : currentFolder;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    job_ = createKillOnCloseJob();
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while the program's previous process is
    // still on its way out (seen on a loaded machine): that start is tried again, a few times.
    const auto start = [&] {
        return CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                              CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED, &block[0],
                              folder.empty() ? nullptr : folder.c_str(), &startup, &info_);
    };
    BOOL started = start();
    for (int retry = 0; !started && GetLastError() == ERROR_INTERNAL_ERROR && retry < 5; ++retry) {
        Sleep(200);
        started = start();
    }
    if (!started) {
        info_ = PROCESS_INFORMATION{};
        kill();
        return false;
    }
    if (job_) {
        AssignProcessToJobObject(job_, info_.hProcess);
    }
    processId_ = info_.dwProcessId;
    lifetimeMs_ = lifetimeMs;
    watchdogStop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    watchdog_ = CreateThread(nullptr, 0, &PlayerProcess::watchdogMain, this, 0, nullptr);
    ResumeThread(info_.hThread);
    return true;
}

DWORD WINAPI PlayerProcess::watchdogMain(void* self) {
    auto* process = static_cast<PlayerProcess*>(self);
    HANDLE handles[] = {process->watchdogStop_, process->info_.hProcess};
    if (WaitForMultipleObjects(2, handles, FALSE, process->lifetimeMs_) == WAIT_TIMEOUT) {
        OutputDebugStringW(L"PlayerProcess: watchdog: the player outlived its time and is killed\n");
        TerminateProcess(process->info_.hProcess, 0xDEAD);
    }
    return 0;
}

void PlayerProcess::stopWatchdog() {
    if (watchdog_) {
        SetEvent(watchdogStop_);
        WaitForSingleObject(watchdog_, INFINITE);
        CloseHandle(watchdog_);
        watchdog_ = nullptr;
    }
    if (watchdogStop_) {
        CloseHandle(watchdogStop_);
        watchdogStop_ = nullptr;
    }
}

bool PlayerProcess::waitForWindow(DWORD timeoutMs) {
    // Polled quickly: the start-up title only lasts until the player's first timer tick.
    return waitUntil(
               [this] {
                   const auto windows = topLevelWindows(processId_, kMainWindowClass);
                   window_ = windows.empty() ? nullptr : windows.front();
                   return window_ != nullptr || !running();
               },
               timeoutMs, 2) &&
           window_ != nullptr;
}

bool PlayerProcess::waitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode) {
        GetExitCodeProcess(info_.hProcess, exitCode);
    }
    return true;
}

bool PlayerProcess::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void PlayerProcess::kill() {
    stopWatchdog();
    if (info_.hProcess) {
        if (running()) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread) {
        CloseHandle(info_.hThread);
    }
    info_ = PROCESS_INFORMATION{};
    if (job_) {
        CloseHandle(job_);
        job_ = nullptr;
    }
    processId_ = 0;
    window_ = nullptr;
}

std::wstring PlayerProcess::title() const {
    return window_ ? windowText(window_) : std::wstring();
}

bool PlayerProcess::sendKey(UINT virtualKey) const {
    return PostMessageW(window_, WM_KEYDOWN, virtualKey, keyData(virtualKey, false)) &&
           PostMessageW(window_, WM_KEYUP, virtualKey, keyData(virtualKey, true));
}

bool PlayerProcess::postCommand(UINT commandId) const {
    return PostMessageW(window_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0) != FALSE;
}

bool PlayerProcess::sendCommand(UINT commandId, DWORD timeoutMs) const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0, SMTO_ABORTIFHUNG, timeoutMs,
                               &ignored) != 0;
}

bool PlayerProcess::requestClose() const {
    return PostMessageW(window_, WM_CLOSE, 0, 0) != FALSE;
}

HWND PlayerProcess::findDialog(const std::function<bool(HWND)>& accept, const wchar_t* className) const {
    for (HWND dialog : topLevelWindows(processId_, className)) {
        if (IsWindowVisible(dialog) && (!accept || accept(dialog))) {
            return dialog;
        }
    }
    return nullptr;
}

HWND PlayerProcess::waitForDialog(const std::function<bool(HWND)>& accept, DWORD timeoutMs) const {
    HWND dialog = nullptr;
    waitUntil(
        [&] {
            dialog = findDialog(accept);
            return dialog != nullptr;
        },
        timeoutMs);
    return dialog;
}

HWND PlayerProcess::waitForMessageBox(const std::wstring& text, DWORD timeoutMs) const {
    return waitForDialog(
        [&](HWND dialog) {
            const auto texts = descendantTexts(dialog);
            return std::find(texts.begin(), texts.end(), text) != texts.end();
        },
        timeoutMs);
}

bool PlayerProcess::pressDialogButton(HWND dialog, int button, DWORD timeoutMs) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return waitUntil([&] { return !IsWindow(dialog); }, timeoutMs);
}

HWND PlayerProcess::findPopupMenu() const {
    return findDialog(nullptr, L"#32768");
}

std::vector<HWND> topLevelWindows(DWORD processId, const std::wstring& className) {
    std::vector<HWND> all, found;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && (className.empty() || classNameOf(window) == className)) {
            found.push_back(window);
        }
    }
    return found;
}

std::wstring classNameOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, ARRAYSIZE(name));
    return name;
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::vector<std::wstring> descendantTexts(HWND window) {
    std::vector<HWND> all;
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&all));
    std::vector<std::wstring> texts;
    for (HWND child : all) {
        wchar_t text[1024] = L"";
        DWORD_PTR copied = 0;
        // Asked of the owner, because some controls (edits) keep their text to themselves.
        const bool answered =
            SendMessageTimeoutW(child, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text),
                                SMTO_ABORTIFHUNG, 1000, &copied) != 0;
        texts.emplace_back(answered ? std::wstring(text) : windowText(child));
    }
    return texts;
}

}  // namespace e2e
