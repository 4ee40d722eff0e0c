#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where the viewer left each file, free of the registry so that the rules can be checked alone: when a
// place is remembered or forgotten, how a remembered place is stored, and which places make way for a
// new one so that no more than the 100 most recent files are kept.
//
// Each file is one binary value under a key of its own: the value's name is the file's path (the
// registry compares names without regard to case, as paths are compared), its data a record of 16
// bytes: the place in milliseconds, then a stamp of when it was last written, both little-endian 64-bit
// numbers. The stamp is one more than the highest stamp stored, a count rather than a clock, so that
// the most recent files are known from the values alone, whatever the machine's clock did meanwhile;
// evicting the oldest then needs nothing but a listing of the key.
namespace resume {

// Places less than a minute into a file, or in its last minute, are not worth offering.
constexpr std::int64_t kMarginMs = 60000;
constexpr std::size_t kMostFiles = 100;
constexpr std::uint32_t kBinaryType = 3;  // REG_BINARY
constexpr std::size_t kRecordBytes = 16;

// What leaving a file (a stop, a close, another file, the player's end) does to its remembered place.
enum class OnLeave {
    Keep,      // left within its first minute, or its length unknown: an earlier place still stands
    Remember,  // more than a minute in and more than a minute before its end: this place
    Forget,    // played to its end, or left in its last minute
};
OnLeave onLeave(std::int64_t time, std::int64_t length, bool ended);

struct Record {
    std::int64_t position = 0;  // milliseconds
    std::uint64_t stamp = 0;
};
std::array<unsigned char, kRecordBytes> encode(const Record& record);
// The size and type check made before a value is read: a larger value or another type is never read.
bool worthReading(std::uint32_t type, std::size_t size);
// The record of a stored value: false (and nothing read) unless it is binary, exactly 16 bytes, with a
// place that is not negative.
bool decode(std::uint32_t type, const unsigned char* data, std::size_t size, Record& record);
// True when a remembered place is one to offer in a file of that length: before its end. A length not
// yet known (0 or less) lets it stand until it is.
bool offerable(std::int64_t position, std::int64_t length);

// A value found under the key: its name, and its record's stamp when it decoded (bad values count as
// the oldest of all).
struct Stored {
    std::wstring name;
    bool valid = false;
    std::uint64_t stamp = 0;
};
// The stamp of a record written now: one more than the highest valid one.
std::uint64_t nextStamp(const std::vector<Stored>& stored);
// The values to delete when `adding` is written, so that at most kMostFiles remain: bad ones first, then
// the least recent. A value of the same name (in any case) is the one written over, never evicted.
std::vector<std::wstring> evictions(const std::vector<Stored>& stored, const std::wstring& adding);

}  // namespace resume
