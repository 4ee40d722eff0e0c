#pragma once

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include "common/Utf8.h"
#endif

// Where the generated clips are (VELMORA_CLIP_DIR, a Unix path set by the test build). Under Wine the
// Unix file system is drive Z:, so the Windows form is Z: followed by the path with backslashes.
namespace testclips {

inline std::string unixDir() {
    const char* dir = std::getenv("VELMORA_CLIP_DIR");
    return dir ? dir : "";
}

#ifdef _WIN32
// The path's bytes are UTF-8, as Debian's file names are.
inline std::wstring windowsPath(const std::string& unixPath) {
    std::wstring out = L"Z:" + testtext::fromUtf8(unixPath);
    for (size_t i = 2; i < out.size(); ++i) {
        out[i] = out[i] == L'/' ? L'\\' : out[i];
    }
    return out;
}

// A clip by its name relative to the clip folder, in the form the running program uses.
inline std::wstring path(const std::string& name) {
    return windowsPath(unixDir() + "/" + name);
}

// The same as libvlc takes it: UTF-8.
inline std::string utf8Path(const std::string& name) {
    return testtext::toUtf8(path(name));
}
#else
inline std::string path(const std::string& name) {
    return unixDir() + "/" + name;
}

inline std::string utf8Path(const std::string& name) {
    return path(name);
}
#endif

}  // namespace testclips
