#include "playback/FileUrl.h"

#include "playback/VlcPlatform.h"

namespace {

bool isSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// What an address holds as it is: the unreserved characters, and '/' between the names.
bool keptAsItIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

// Appends the names of a Windows path (backslashes or slashes between them) to the address.
bool appendEncoded(const std::wstring& names, bool windowsSeparators, std::string& url) {
    std::wstring text = names;
    if (windowsSeparators) {
        for (wchar_t& c : text) {
            c = c == L'\\' ? L'/' : c;
        }
    }
    std::string utf8;
    if (!pathToUtf8(text.c_str(), utf8)) {
        return false;
    }
    static const char kHex[] = "0123456789ABCDEF";
    for (char byte : utf8) {
        const auto c = static_cast<unsigned char>(byte);
        if (keptAsItIs(c)) {
            url += byte;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return true;
}

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wstring(prefix).size(), prefix) == 0;
}

}  // namespace

bool fileUrlOfPath(const wchar_t* path, std::string& url) {
    url.clear();
    if (path == nullptr) {
        return false;
    }
    std::wstring rest(path);
    bool unc = false;
    // The long forms name the same files as the short ones.
    if (startsWith(rest, L"\\\\?\\UNC\\")) {
        rest.erase(0, 8);
        unc = true;
    } else if (startsWith(rest, L"\\\\?\\")) {
        rest.erase(0, 4);
    } else if (rest.size() >= 2 && isSlash(rest[0]) && isSlash(rest[1])) {
        rest.erase(0, 2);
        unc = true;
    }
    bool ok = false;
    if (unc) {
        // The server becomes the address's host: file://server/share/x.srt.
        url = "file://";
        ok = !rest.empty() && !isSlash(rest[0]) && appendEncoded(rest, true, url);
    } else if (rest.size() >= 3 && isAsciiLetter(rest[0]) && rest[1] == L':' && isSlash(rest[2])) {
        url = "file:///";
        url += static_cast<char>(rest[0]);
        url += ':';
        ok = appendEncoded(rest.substr(2), true, url);
    }
#ifndef _WIN32
    else if (!rest.empty() && rest[0] == L'/') {
        // A Unix path: a backslash there is part of a name.
        url = "file://";
        ok = appendEncoded(rest, false, url);
    }
#endif
    if (!ok) {
        url.clear();
    }
    return ok;
}
