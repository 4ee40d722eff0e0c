#include "playback/VlcPlatform.h"

#include "playback/VlcApi.h"

#include <climits>
#include <cstring>
#include <cwchar>

bool pathToUtf8(const wchar_t* path, std::string& utf8) {
    utf8.clear();
    std::size_t units = std::wcslen(path);
    if (units == 0) {
        return true;
    }
    if (units > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    int wideLength = static_cast<int>(units);
    // Without the flag a lone surrogate (legal in a file name) would become U+FFFD, and the library
    // would be handed a path to some other file, or to none; such a path is refused instead.
    const DWORD flags = WC_ERR_INVALID_CHARS;
    int bytes = WideCharToMultiByte(CP_UTF8, flags, path, wideLength, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return false;
    }
    utf8.resize(static_cast<std::size_t>(bytes));
    if (WideCharToMultiByte(CP_UTF8, flags, path, wideLength, &utf8[0], bytes, nullptr, nullptr) != bytes) {
        utf8.clear();
        return false;
    }
    return true;
}

std::wstring textFromUtf8(const char* utf8) {
    std::size_t bytes = std::strlen(utf8);
    if (bytes == 0 || bytes > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(bytes);
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8, length, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, length, &wide[0], units);
    return wide;
}

void setOutputWindow(const VlcApi& api, libvlc_media_player_t* player, OutputWindow window) {
    api.libvlc_media_player_set_hwnd(player, window);
}
