// A stand-in for the advertisement library that end-to-end tests put beside the player. It writes each
// call into a log the test reads back and answers with the result the test chose, so a test can let a
// close go ahead or have it cancelled.
//   VELMORA_ADS_LOG     file to append "window<TAB>product<TAB>address" to, one UTF-8 line per call
//   VELMORA_ADS_RESULT  the integer to return (0 when unset or not a number)
#include <windows.h>

#include <cwchar>
#include <string>

#include "tests/common/Utf8.h"

namespace {

std::wstring environmentValue(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD length = GetEnvironmentVariableW(name, buffer, ARRAYSIZE(buffer));
    if (length == 0 || length >= ARRAYSIZE(buffer)) {
        return std::wstring();
    }
    return std::wstring(buffer, length);
}

// Appends in one write so that the reader never sees half a line.
void appendLine(const std::wstring& logPath, const std::string& line) {
    HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

int configuredResult() {
    const std::wstring text = environmentValue(L"VELMORA_ADS_RESULT");
    return text.empty() ? 0 : static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

}  // namespace

extern "C" __declspec(dllexport) int __stdcall libads_show(HWND window, const wchar_t* productName,
                                                           const wchar_t* adsUrl) {
    const std::wstring logPath = environmentValue(L"VELMORA_ADS_LOG");
    if (!logPath.empty()) {
        std::wstring line = std::to_wstring(reinterpret_cast<UINT_PTR>(window));
        line += L'\t';
        line += productName ? productName : L"";
        line += L'\t';
        line += adsUrl ? adsUrl : L"";
        line += L'\n';
        appendLine(logPath, testtext::toUtf8(line));
    }
    return configuredResult();
}
