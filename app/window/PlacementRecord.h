#pragma once

#include <cstddef>
#include <cstdint>

// The saved window placement as the registry holds it: the platform's 44-byte placement record, stored
// as a binary value. Free of platform calls, so the rules can be checked on any machine.
namespace placementrecord {

constexpr std::size_t kRecordBytes = 44;
constexpr std::uint32_t kBinaryType = 3;  // REG_BINARY

constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kShowMinimized = 2;
constexpr std::uint32_t kShowMaximized = 3;
constexpr std::uint32_t kHide = 0;
constexpr std::uint32_t kRestoreToMaximized = 2;  // the record's flag for "maximised before minimising"

// The size and type check made before the value is read: a larger value or another type is never read.
bool worthReading(std::uint32_t type, std::size_t size);
// True when the value read is a whole record: binary, exactly 44 bytes.
bool isCompleteRecord(std::uint32_t type, std::size_t sizeRead);
// The show command worth keeping for the next start: a minimised window comes back as it was before
// it was minimised (maximised or restored), never minimised.
std::uint32_t savedShowCommand(std::uint32_t showCommand, std::uint32_t flags);
// True for the show commands that leave a window minimised.
bool minimises(std::uint32_t showCommand);
// How the window is shown the first time: as the start asks, except that a window closed maximised opens
// maximised unless the start asks for it minimised or hidden.
std::uint32_t firstShowCommand(std::uint32_t startShow, std::uint32_t savedShow);

}  // namespace placementrecord
