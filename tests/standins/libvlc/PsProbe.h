#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// What the stand-in learns about a clip before "playing" it: which kinds of elementary streams an MPEG
// program stream carries and how long it lasts. The length follows the real library's program-stream
// demuxer: per stream, the last presentation time stamp minus the first one; the longest stream wins.
namespace standin {

enum class TrackKind { Video, Audio, Subtitle };

// One elementary stream, as the file declares it.
struct TrackFacts {
    TrackKind kind;
    std::string language;   // the file's ISO 639-2 code; empty when it names none
    std::string name;       // empty when the file names none
    bool isDefault = true;  // the file's default flag
};

// One chapter, as the library names it: a Matroska chapter's name after a blank.
struct ChapterFacts {
    std::int64_t startMs;
    std::string name;
};

struct ClipFacts {
    bool hasVideo = false;
    bool hasAudio = false;
    std::int64_t lengthMs = 0;
    std::vector<TrackFacts> tracks;  // in the order the library makes its streams
    std::vector<ChapterFacts> chapters;
};

// Scans program-stream bytes in one or more chunks (a large file is fed as its head and its tail).
// Data before the first pack header is ignored, so random bytes yield no streams and no length.
class PsScanner {
public:
    void scan(const std::uint8_t* data, std::size_t size);
    ClipFacts facts() const;

private:
    struct StreamTimes {
        std::int64_t first = -1;
        std::int64_t last = -1;
    };
    // Returns the number of bytes the packet at `pos` occupies, or 0 when it runs past the chunk.
    std::size_t readPes(const std::uint8_t* data, std::size_t size, std::size_t pos);

    bool sawPack_ = false;
    bool hasVideo_ = false;
    bool hasAudio_ = false;
    std::map<int, StreamTimes> times_;  // by stream id, in 90 kHz ticks
    std::vector<int> firstSeen_;        // video and audio stream ids, as their first packets come
};

// A 33-bit time stamp from its five-byte PES form (marker bits skipped).
std::int64_t decodeTimestamp(const std::uint8_t* p);

// Milliseconds the way the real library reports a 90 kHz tick count: ticks to microseconds truncated,
// then microseconds to milliseconds rounded.
std::int64_t ticksToReportedMs(std::int64_t ticks);

// Reads an open file (whole when small, else its first and last few megabytes): a Matroska file by its
// head (MkvProbe.h), anything else as a program stream. False when nothing could be read at all, which
// the stand-in treats like a missing file.
bool probeClipFile(std::FILE* file, ClipFacts& facts);

}  // namespace standin
