#include "playback/VlcPlatform.h"

// Natively wchar_t holds UTF-32, one code point per unit.
bool pathToUtf8(const wchar_t* path, std::string& utf8) {
    utf8.clear();
    for (const wchar_t* p = path; *p; ++p) {
        auto c = static_cast<std::uint32_t>(*p);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            utf8.clear();
            return false;
        }
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return true;
}

void setOutputWindow(const VlcApi& api, libvlc_media_player_t* player, OutputWindow window) {
    api.libvlc_media_player_set_xwindow(player, window);
}
