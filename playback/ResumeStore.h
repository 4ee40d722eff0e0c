#pragma once

#include <cstdint>
#include <string>

// Where the viewer left each file, kept from one run to the next (the registry in the player, memory in
// tests). The controller decides when a place is remembered or forgotten (ResumeRules.h); a store only
// keeps what it is told, silently when it can't.
class ResumeStore {
public:
    virtual ~ResumeStore() = default;
    // The place remembered for the file, in milliseconds; -1 when there is none worth reading.
    virtual std::int64_t recall(const std::wstring& path) = 0;
    virtual void remember(const std::wstring& path, std::int64_t positionMs) = 0;
    virtual void forget(const std::wstring& path) = 0;
};
