#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdlib>
#include <string>

// Where the generated clips are (VELMORA_CLIP_DIR, a Unix path set by the test build). Under Wine the
// Unix file system is drive Z:, so the Windows form is Z: followed by the path with backslashes.
namespace testclips {

inline std::string unixDir() {
    const char* dir = std::getenv("VELMORA_CLIP_DIR");
    return dir ? dir : "";
}

// The path's bytes are UTF-8, as Debian's file names are.
inline std::wstring windowsPath(const std::string& unixPath) {
#ifdef _WIN32
    std::wstring wide(unixPath.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, unixPath.data(), static_cast<int>(unixPath.size()), &wide[0],
                                    static_cast<int>(wide.size())));
#else
    const std::wstring wide(unixPath.begin(), unixPath.end());
#endif
    std::wstring out = L"Z:";
    for (wchar_t c : wide) {
        out += c == L'/' ? L'\\' : c;
    }
    return out;
}

// A clip by its name relative to the clip folder, in the form the running program uses.
#ifdef _WIN32
inline std::wstring path(const std::string& name) {
    return windowsPath(unixDir() + "/" + name);
}
#else
inline std::string path(const std::string& name) {
    return unixDir() + "/" + name;
}
#endif

}  // namespace testclips
