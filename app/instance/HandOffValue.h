#pragma once

#include <cstddef>
#include <cstdint>

// The values a new copy of the player and the running one exchange through the registry: the running
// copy's window handle (a 4-byte number) and the handed-over path (UTF-16 text with its terminating NUL,
// at most 520 bytes, which is all a running copy of any version reads). Free of platform calls.
namespace handoffvalue {

constexpr std::uint32_t kTextType = 1;   // REG_SZ
constexpr std::uint32_t kDwordType = 4;  // REG_DWORD
constexpr std::size_t kPathCapacity = 260;
constexpr std::size_t kMaxPathBytes = kPathCapacity * 2;

// The handle's value is read only when it is a number of at most 4 bytes.
bool handleWorthReading(std::uint32_t type, std::size_t size);
// The bytes stored for a path of `length` characters: the text and its NUL.
std::size_t storedPathBytes(std::size_t length);
// True when a running copy takes a path of this length; a longer one it would drop unread.
bool runningCopyTakes(std::size_t length);
// How many UTF-16 units of a stored value form the path: those before the first NUL, never past the
// value's end (an odd last byte is no character). 0 for another type or a value above 520 bytes.
std::size_t storedPathLength(std::uint32_t type, const unsigned char* data, std::size_t size);

}  // namespace handoffvalue
