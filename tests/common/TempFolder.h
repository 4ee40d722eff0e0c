#pragma once

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

// A fresh folder under the user's temporary folder, removed with everything in it at the end of the
// test. Paths are in the system's own form: wide on Windows (under Wine on the prefix's drive C:).
class TempFolder {
public:
    using Text = std::filesystem::path::string_type;

    TempFolder() {
        namespace fs = std::filesystem;
        static unsigned serial = 0;
        std::error_code error;
        const fs::path base = fs::temp_directory_path(error);
        for (int attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
            const fs::path folder =
                base / ("velmora-test-" + std::to_string(processId()) + "-" + std::to_string(++serial));
            if (fs::create_directory(folder, error)) {
                path_ = (folder / "").native();
            }
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in a separator; empty when no folder could be made.
    const Text& path() const { return path_; }

    // Creates an empty file (relative name, subfolders must exist); returns its full path.
    Text addFile(const Text& name) const {
        const Text full = path_ + name;
        std::ofstream(std::filesystem::path(full));
        return full;
    }

    void addFiles(std::initializer_list<Text> names) const {
        for (const Text& name : names) {
            addFile(name);
        }
    }

    Text addFolder(const Text& name) const {
        const std::filesystem::path full = std::filesystem::path(path_ + name);
        std::error_code ignored;
        std::filesystem::create_directory(full, ignored);
        return (full / "").native();
    }

private:
    static unsigned long processId() {
#ifdef _WIN32
        return GetCurrentProcessId();
#else
        return static_cast<unsigned long>(getpid());
#endif
    }

    Text path_;
};

// A file's bytes as they stand (empty when it can't be read), e.g. a log a test tool wrote there.
inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
