#include "playback/ReadableFile.h"

#include <cstdio>

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
