#include "playback/VlcPlatform.h"

#include "playback/VlcApi.h"

#include <cstdint>

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

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The code point of a well-formed sequence at `p` (advanced past it), or U+FFFD for one byte that
// starts none.
wchar_t nextCodePoint(const unsigned char*& p) {
    const unsigned char lead = *p++;
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
    } else {
        return kReplacement;
    }
    std::uint32_t c = lead & (0x3F >> extra);
    const unsigned char* q = p;
    for (int i = 0; i < extra; ++i, ++q) {
        if ((*q & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (*q & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kReplacement;
    }
    p = q;
    return static_cast<wchar_t>(c);
}

}  // namespace

std::wstring textFromUtf8(const char* utf8) {
    std::wstring wide;
    for (auto p = reinterpret_cast<const unsigned char*>(utf8); *p != 0;) {
        wide += nextCodePoint(p);
    }
    return wide;
}

void setOutputWindow(const VlcApi& api, libvlc_media_player_t* player, OutputWindow window) {
    api.libvlc_media_player_set_xwindow(player, window);
}
