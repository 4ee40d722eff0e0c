#include "playback/PlayListData.h"

#include <windows.h>

#include <algorithm>

#include "playback/ReadableFile.h"

#include "playback/MediaFormats.h"

namespace {

// Owns a directory listing handle from FindFirstFileW.
class FindHandle {
public:
    FindHandle(const std::wstring& pattern, WIN32_FIND_DATAW& data)
        : handle_(FindFirstFileW(pattern.c_str(), &data)) {}
    ~FindHandle() {
        if (valid()) {
            FindClose(handle_);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool next(WIN32_FIND_DATAW& data) { return FindNextFileW(handle_, &data) != FALSE; }

private:
    HANDLE handle_;
};

}  // namespace

int PlayListData::build(const std::wstring& path) {
    clear();
    const std::wstring folder = folderOf(path);
    if (folder.empty()) {
        return 0;
    }
    WIN32_FIND_DATAW data{};
    FindHandle listing(folder + L"*.*", data);
    if (listing.valid()) {
        do {
            const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (data.cFileName[0] == L'.' || directory) {
                continue;
            }
            const std::wstring full = folder + data.cFileName;
            addFile(full, full == path ? 1 : 0);
        } while (listing.next(data));
    }
    sortEntries();
    return count();
}

bool PlayListData::isSupported(const std::wstring& path) {
    return mediaformats::isAcceptedPath(path);
}

int PlayListData::addFile(const std::wstring& path, int current) {
    // The extension test is cheap and rejects most names, so it runs before the file is opened.
    if (!isSupported(path) || !fileOpensForReading(path)) {
        return -1;
    }
    entries_.push_back(PlayListEntry{static_cast<std::uint32_t>(current), path});
    return count() - 1;
}

void PlayListData::sortEntries() {
    std::sort(entries_.begin(), entries_.end(), [](const PlayListEntry& a, const PlayListEntry& b) {
        return pathrules::pathPrecedes(a.path, b.path);
    });
}

int PlayListData::currentIndex() const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].current != 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void PlayListData::setCurrent(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].current = static_cast<int>(i) == index ? 1 : 0;
    }
}

std::wstring PlayListData::pathAt(int index) const {
    if (index < 0 || index >= count()) {
        return std::wstring();
    }
    return entries_[static_cast<std::size_t>(index)].path;
}

bool PlayListData::removeAt(int index) {
    if (index < 0 || index >= count()) {
        return false;
    }
    entries_.erase(entries_.begin() + index);
    return true;
}
