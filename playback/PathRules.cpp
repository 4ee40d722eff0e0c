#include "playback/PathRules.h"

#include <algorithm>
#include <cstdint>

namespace {

struct TypeByExtension {
    PlayerType type;
    const wchar_t* extension;
};

// Flash media has no backend; every other extension plays with libvlc.
const TypeByExtension kTypeTable[] = {
    {PlayerFlash, L"swf"},
    {PlayerFlash, L"fla"},
};

}  // namespace

std::wstring folderOf(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring asciiLowerCase(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}

namespace pathrules {

bool pathPrecedes(const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return static_cast<std::uint16_t>(x) < static_cast<std::uint16_t>(y);
    });
}

PlayerType playerTypeFor(const std::wstring& path) {
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot + 1 == path.size()) {
        return PlayerVlc;
    }
    const std::wstring extension = asciiLowerCase(path.substr(dot + 1));
    for (const TypeByExtension& entry : kTypeTable) {
        if (extension == entry.extension) {
            return entry.type;
        }
    }
    return PlayerVlc;
}

}  // namespace pathrules
