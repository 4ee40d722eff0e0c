#include "PsProbe.h"

#include <algorithm>
#include <vector>

#include "MkvProbe.h"

namespace standin {
namespace {

constexpr std::uint8_t kPackHeader = 0xBA;
constexpr std::uint8_t kEndCode = 0xB9;
constexpr std::size_t kWholeFileLimit = 8u << 20;
constexpr std::size_t kChunk = 4u << 20;

bool isStartCode(const std::uint8_t* data, std::size_t size, std::size_t pos) {
    return pos + 4 <= size && data[pos] == 0 && data[pos + 1] == 0 && data[pos + 2] == 1 &&
           data[pos + 3] >= kEndCode;
}

// Bytes of a pack header at `pos` (MPEG-2 has stuffing after the fixed part), or 0 if it doesn't fit.
std::size_t packHeaderSize(const std::uint8_t* data, std::size_t size, std::size_t pos) {
    if (pos + 5 > size) {
        return 0;
    }
    std::size_t length = 12;  // MPEG-1
    if ((data[pos + 4] >> 6) == 1) {
        if (pos + 14 > size) {
            return 0;
        }
        length = 14 + (data[pos + 13] & 7);
    }
    return pos + length <= size ? length : 0;
}

// Where the PTS of a PES payload header starts (relative to `header`), or -1 when there is none.
int ptsOffset(const std::uint8_t* header, std::size_t available) {
    if (available >= 8 && (header[0] >> 6) == 2) {  // MPEG-2 PES header
        return (header[1] & 0x80) != 0 ? 3 : -1;
    }
    std::size_t i = 0;  // MPEG-1: stuffing, optional buffer size, then the time stamps
    while (i < available && i < 16 && header[i] == 0xFF) {
        ++i;
    }
    if (i < available && (header[i] >> 6) == 1) {
        i += 2;
    }
    if (i + 5 <= available && ((header[i] >> 4) == 2 || (header[i] >> 4) == 3)) {
        return static_cast<int>(i);
    }
    return -1;
}

std::size_t readInto(std::FILE* file, std::vector<std::uint8_t>& buffer, std::size_t want) {
    buffer.resize(want);
    std::size_t got = 0;
    while (got < want) {
        std::size_t n = std::fread(buffer.data() + got, 1, want - got, file);
        if (n == 0) {
            break;
        }
        got += n;
    }
    buffer.resize(got);
    return got;
}

}  // namespace

std::int64_t decodeTimestamp(const std::uint8_t* p) {
    return (static_cast<std::int64_t>((p[0] >> 1) & 7) << 30) | (static_cast<std::int64_t>(p[1]) << 22) |
           (static_cast<std::int64_t>(p[2] >> 1) << 15) | (static_cast<std::int64_t>(p[3]) << 7) |
           static_cast<std::int64_t>(p[4] >> 1);
}

std::int64_t ticksToReportedMs(std::int64_t ticks) {
    const std::int64_t micros = ticks * 100 / 9;
    return (micros + 500) / 1000;
}

std::size_t PsScanner::readPes(const std::uint8_t* data, std::size_t size, std::size_t pos) {
    if (pos + 6 > size) {
        return 0;
    }
    const int id = data[pos + 3];
    const std::size_t length = (static_cast<std::size_t>(data[pos + 4]) << 8) | data[pos + 5];
    if (pos + 6 + length > size) {
        return 0;
    }
    const bool video = id >= 0xE0 && id <= 0xEF;
    const bool audio = id >= 0xC0 && id <= 0xDF;
    // The library makes a stream when its first packet comes.
    if ((video || audio) && std::find(firstSeen_.begin(), firstSeen_.end(), id) == firstSeen_.end()) {
        firstSeen_.push_back(id);
    }
    // Private stream 1 carries timed audio too (AC-3, LPCM); the others never carry time stamps.
    if (video || audio || id == 0xBD) {
        hasVideo_ = hasVideo_ || video;
        hasAudio_ = hasAudio_ || audio;
        const int offset = ptsOffset(data + pos + 6, length);
        if (offset >= 0) {
            const std::int64_t pts = decodeTimestamp(data + pos + 6 + offset);
            StreamTimes& t = times_[id];
            if (t.first < 0) {
                t.first = pts;
            }
            t.last = std::max(t.last, pts);
        }
    }
    return 6 + length;
}

void PsScanner::scan(const std::uint8_t* data, std::size_t size) {
    std::size_t pos = 0;
    while (pos + 4 <= size) {
        if (!isStartCode(data, size, pos)) {
            ++pos;
            continue;
        }
        const std::uint8_t code = data[pos + 3];
        std::size_t used = 0;
        if (code == kPackHeader) {
            used = packHeaderSize(data, size, pos);
            sawPack_ = sawPack_ || used != 0;
        } else if (code == kEndCode) {
            used = 4;
        } else if (sawPack_) {
            used = readPes(data, size, pos);
        }
        // A packet cut off by the chunk's end, or anything before the first pack: resynchronise.
        pos += used != 0 ? used : 1;
    }
}

ClipFacts PsScanner::facts() const {
    ClipFacts facts;
    facts.hasVideo = hasVideo_;
    facts.hasAudio = hasAudio_;
    std::int64_t longest = 0;
    for (const auto& entry : times_) {
        longest = std::max(longest, entry.second.last - entry.second.first);
    }
    facts.lengthMs = ticksToReportedMs(longest);
    for (int id : firstSeen_) {
        facts.tracks.push_back({id >= 0xE0 ? TrackKind::Video : TrackKind::Audio, "", "", true});
    }
    return facts;
}

bool probeClipFile(std::FILE* file, ClipFacts& facts) {
    PsScanner scanner;
    std::vector<std::uint8_t> buffer;
    const std::size_t head = readInto(file, buffer, kWholeFileLimit + 1);
    if (head == 0) {
        return false;
    }
    if (probeMatroska(buffer.data(), buffer.size(), facts)) {
        return true;
    }
    if (head <= kWholeFileLimit) {
        scanner.scan(buffer.data(), buffer.size());
    } else {
        scanner.scan(buffer.data(), std::min(head, kChunk));
        if (std::fseek(file, -static_cast<long>(kChunk), SEEK_END) == 0 &&
            readInto(file, buffer, kChunk) > 0) {
            scanner.scan(buffer.data(), buffer.size());
        }
    }
    facts = scanner.facts();
    return true;
}

}  // namespace standin
