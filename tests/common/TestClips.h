#pragma once

#include <cstdlib>
#include <string>

// Where the generated clips are (VELMORA_CLIP_DIR, a Unix path set by the test build). Under Wine the
// Unix file system is drive Z:, so the Windows form is Z: followed by the path with backslashes.
namespace testclips {

inline std::string unixDir() {
    const char* dir = std::getenv("VELMORA_CLIP_DIR");
    return dir ? dir : "";
}

inline std::wstring windowsPath(const std::string& unixPath) {
    std::wstring out = L"Z:";
    for (char c : unixPath) {
        out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
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
