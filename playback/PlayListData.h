#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playback/PathRules.h"

// One playable file of the folder.
struct PlayListEntry {
    std::uint32_t current = 0;  // 1 for the entry loaded in the player
    std::wstring path;          // folder (ending in a backslash) + name as the listing returned it
};

// The folder playlist: every playable file of the opened file's folder, sorted by path.
// Indices are signed; -1 means none.
class PlayListData {
public:
    virtual ~PlayListData() = default;

    int build(const std::wstring& path);
    bool isSupported(const std::wstring& path);
    int addFile(const std::wstring& path, int current);
    void sortEntries();
    int currentIndex() const;
    void setCurrent(int index);
    std::wstring pathAt(int index) const;
    bool removeAt(int index);
    int count() const { return static_cast<int>(entries_.size()); }
    void clear() { entries_.clear(); }
    // Takes the other list's entries, leaving it empty.
    void takeEntries(PlayListData& other) {
        entries_.swap(other.entries_);
        other.entries_.clear();
    }
    bool canStep() const { return count() >= 2 && currentIndex() >= 0; }

    const std::vector<PlayListEntry>& entries() const { return entries_; }

private:
    std::vector<PlayListEntry> entries_;
};
