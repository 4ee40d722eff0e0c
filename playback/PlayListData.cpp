#include "playback/PlayListData.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

// The open dialog's filter pattern without its "*.": every fragment, split at ';', marks a playable
// extension.
const wchar_t kDefaultFilter[] = L"mpg";

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

// Code unit by code unit as unsigned 16-bit values; a prefix sorts before the longer path.
bool pathLess(const PlayListEntry& a, const PlayListEntry& b) {
    return std::lexicographical_compare(
        a.path.begin(), a.path.end(), b.path.begin(), b.path.end(),
        [](wchar_t x, wchar_t y) { return static_cast<std::uint16_t>(x) < static_cast<std::uint16_t>(y); });
}

bool readable(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"r");
    if (file == nullptr) {
        return false;
    }
    fclose(file);
    return true;
}

}  // namespace

std::wstring folderOf(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring asciiLowerCase(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}

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
    if (extensions_.empty()) {
        std::wstring filter = kDefaultFilter;
        std::size_t start = 0;
        for (;;) {
            const std::size_t semicolon = filter.find(L';', start);
            extensions_.push_back(filter.substr(start, semicolon - start));
            if (semicolon == std::wstring::npos) {
                break;
            }
            start = semicolon + 1;
        }
    }
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) {
        return false;
    }
    const std::wstring ext = asciiLowerCase(path.substr(dot));
    return std::any_of(extensions_.begin(), extensions_.end(), [&ext](const std::wstring& fragment) {
        return ext.find(fragment) != std::wstring::npos;
    });
}

int PlayListData::addFile(const std::wstring& path, int current) {
    // The extension test is cheap and rejects most names, so it runs before the file is opened.
    if (!isSupported(path) || !readable(path)) {
        return -1;
    }
    entries_.push_back(PlayListEntry{static_cast<std::uint32_t>(current), path});
    return count() - 1;
}

void PlayListData::sortEntries() {
    std::sort(entries_.begin(), entries_.end(), pathLess);
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
