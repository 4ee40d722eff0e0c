#include "StandinLog.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

namespace standin {
namespace {

std::atomic<int> hazards{0};
std::mutex fileLock;

void appendLine(const std::string& line) {
    // The process environment itself, not a C runtime's copy of it, so a test may set it at run time.
    wchar_t path[MAX_PATH];
    const DWORD size = GetEnvironmentVariableW(L"VELMORA_LIBVLC_STANDIN_LOG", path, MAX_PATH);
    if (size == 0 || size >= MAX_PATH) {
        return;
    }
    std::lock_guard<std::mutex> guard(fileLock);
    // Opened per line so that the file is complete at any moment, even if the process is killed; lines
    // end in '\n' alone, as on the Unix side.
    if (std::FILE* file = _wfopen(path, L"ab")) {
        std::fputs(line.c_str(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
}

}  // namespace

void logCall(const char* text) {
    appendLine(text);
}

void reportHazard(const char* text) {
    ++hazards;
    std::string line = std::string("hazard: ") + text;
    appendLine(line);
    std::wstring wide = L"libvlc stand-in: ";
    for (const char* c = text; *c != '\0'; ++c) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    wide += L"\n";
    OutputDebugStringW(wide.c_str());
}

int hazardCount() {
    return hazards.load();
}

}  // namespace standin
