#pragma once

#include <windows.h>

#include <string>

// A fresh folder under the user's temporary folder, removed with everything in it at the end of the
// test. Paths are Windows paths; under Wine they live on the prefix's drive C:.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        static unsigned serial = 0;
        for (;;) {
            path_ = std::wstring(base) + L"velmora-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++serial) + L"\\";
            if (CreateDirectoryW(path_.c_str(), nullptr)) {
                break;
            }
        }
    }
    ~TempFolder() { removeTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in a backslash.
    const std::wstring& path() const { return path_; }

    // Creates an empty file (relative name, subfolders must exist); returns its full path.
    std::wstring addFile(const std::wstring& name) const {
        const std::wstring full = path_ + name;
        HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        return full;
    }

    std::wstring addFolder(const std::wstring& name) const {
        const std::wstring full = path_ + name;
        CreateDirectoryW(full.c_str(), nullptr);
        return full + L"\\";
    }

private:
    static void removeTree(const std::wstring& folder) {
        WIN32_FIND_DATAW data{};
        HANDLE listing = FindFirstFileW((folder + L"*").c_str(), &data);
        if (listing != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(folder + name + L"\\");
                } else {
                    DeleteFileW((folder + name).c_str());
                }
            } while (FindNextFileW(listing, &data));
            FindClose(listing);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};
