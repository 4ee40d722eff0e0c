#include "app/commands/CommandLine.h"

// Free of platform calls: the rule compiles and can be checked anywhere.
std::wstring commandTailPath(const wchar_t* tail) {
    std::wstring path = tail != nullptr ? tail : L"";
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
        path = path.substr(1, path.size() - 2);
    }
    return path;
}
