#include "app/CommandLine.h"

#include <cstdio>

std::wstring commandTailPath(const wchar_t* tail) {
    std::wstring path = tail != nullptr ? tail : L"";
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
        path = path.substr(1, path.size() - 2);
    }
    return path;
}

bool fileOpensForReading(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    FILE* file = _wfopen(path.c_str(), L"r");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}
