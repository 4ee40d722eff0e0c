#include "MkvProbe.h"

#include <cstring>

namespace standin {
namespace {

// Element ids, with their length markers, as Matroska numbers them.
constexpr std::uint32_t kEbmlHeader = 0x1A45DFA3;
constexpr std::uint32_t kSegment = 0x18538067;
constexpr std::uint32_t kInfo = 0x1549A966;
constexpr std::uint32_t kTimestampScale = 0x2AD7B1;
constexpr std::uint32_t kDuration = 0x4489;
constexpr std::uint32_t kTracks = 0x1654AE6B;
constexpr std::uint32_t kTrackEntry = 0xAE;
constexpr std::uint32_t kTrackType = 0x83;
constexpr std::uint32_t kFlagDefault = 0x88;
constexpr std::uint32_t kLanguage = 0x22B59C;
constexpr std::uint32_t kName = 0x536E;
constexpr std::uint32_t kCluster = 0x1F43B675;
constexpr std::uint32_t kChapters = 0x1043A770;
constexpr std::uint32_t kEditionEntry = 0x45B9;
constexpr std::uint32_t kChapterAtom = 0xB6;
constexpr std::uint32_t kChapterTimeStart = 0x91;
constexpr std::uint32_t kChapterDisplay = 0x80;
constexpr std::uint32_t kChapString = 0x85;

constexpr std::uint64_t kTrackTypeVideo = 1;
constexpr std::uint64_t kTrackTypeAudio = 2;
constexpr std::uint64_t kTrackTypeSubtitle = 0x11;

// One element: its id, and where its data lies in the buffer (cut at the buffer's end).
struct Element {
    std::uint32_t id = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// A variable-length number at `pos`: its byte count from the leading zeros of the first byte. With
// `keepMarker` (element ids) the length bit stays in the value.
bool readVint(const std::uint8_t* data, std::size_t size, std::size_t& pos, bool keepMarker,
              std::uint64_t& value, bool& allOnes) {
    if (pos >= size || data[pos] == 0) {
        return false;
    }
    int length = 1;
    while ((data[pos] & (0x80 >> (length - 1))) == 0) {
        ++length;
    }
    if (pos + static_cast<std::size_t>(length) > size) {
        return false;
    }
    value = keepMarker ? data[pos] : data[pos] & (0xFF >> length);
    allOnes = value == (0xFFu >> length);
    for (int i = 1; i < length; ++i) {
        allOnes = allOnes && data[pos + static_cast<std::size_t>(i)] == 0xFF;
        value = (value << 8) | data[pos + static_cast<std::size_t>(i)];
    }
    pos += static_cast<std::size_t>(length);
    return true;
}

// The element at `pos` inside [.., limit); an unknown size reaches to the limit.
bool readElement(const std::uint8_t* data, std::size_t limit, std::size_t& pos, Element& element) {
    std::uint64_t id = 0;
    std::uint64_t length = 0;
    bool unknown = false;
    if (!readVint(data, limit, pos, true, id, unknown) || id > 0xFFFFFFFFu ||
        !readVint(data, limit, pos, false, length, unknown)) {
        return false;
    }
    element.id = static_cast<std::uint32_t>(id);
    element.begin = pos;
    element.end = unknown || length > limit - pos ? limit : pos + static_cast<std::size_t>(length);
    pos = element.end;
    return true;
}

std::uint64_t unsignedOf(const std::uint8_t* data, const Element& e) {
    std::uint64_t value = 0;
    for (std::size_t i = e.begin; i < e.end && i < e.begin + 8; ++i) {
        value = (value << 8) | data[i];
    }
    return value;
}

double floatOf(const std::uint8_t* data, const Element& e) {
    const std::uint64_t bits = unsignedOf(data, e);
    if (e.end - e.begin == 4) {
        float value;
        const auto narrow = static_cast<std::uint32_t>(bits);
        std::memcpy(&value, &narrow, sizeof value);
        return value;
    }
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return e.end - e.begin == 8 ? value : 0.0;
}

std::string stringOf(const std::uint8_t* data, const Element& e) {
    std::string text(reinterpret_cast<const char*>(data + e.begin), e.end - e.begin);
    return text.substr(0, text.find('\0'));  // a string may be padded with zeros
}

void readTrackEntry(const std::uint8_t* data, const Element& entry, ClipFacts& facts) {
    TrackFacts track{TrackKind::Video, "eng", "", true};
    std::uint64_t type = 0;
    Element e;
    for (std::size_t pos = entry.begin; pos < entry.end && readElement(data, entry.end, pos, e);) {
        if (e.id == kTrackType) {
            type = unsignedOf(data, e);
        } else if (e.id == kFlagDefault) {
            track.isDefault = unsignedOf(data, e) != 0;
        } else if (e.id == kLanguage) {
            track.language = stringOf(data, e);
        } else if (e.id == kName) {
            track.name = stringOf(data, e);
        }
    }
    if (type == kTrackTypeVideo || type == kTrackTypeAudio || type == kTrackTypeSubtitle) {
        track.kind = type == kTrackTypeVideo   ? TrackKind::Video
                     : type == kTrackTypeAudio ? TrackKind::Audio
                                               : TrackKind::Subtitle;
        facts.hasVideo = facts.hasVideo || type == kTrackTypeVideo;
        facts.hasAudio = facts.hasAudio || type == kTrackTypeAudio;
        facts.tracks.push_back(track);
    }
}

// The length in ms: the duration counts units of the timestamp scale (in ns, 1 ms unless given).
std::int64_t readInfo(const std::uint8_t* data, const Element& info) {
    std::uint64_t scale = 1000000;
    double duration = 0;
    Element e;
    for (std::size_t pos = info.begin; pos < info.end && readElement(data, info.end, pos, e);) {
        if (e.id == kTimestampScale) {
            scale = unsignedOf(data, e);
        } else if (e.id == kDuration) {
            duration = floatOf(data, e);
        }
    }
    // As the library does: to microseconds, then to milliseconds, each cut.
    const auto micros = static_cast<std::int64_t>(duration * static_cast<double>(scale) / 1000);
    return micros / 1000;
}

// A top-level chapter: its start (in ns) and its first name, which the library puts after a blank.
void readChapterAtom(const std::uint8_t* data, const Element& atom, ClipFacts& facts) {
    ChapterFacts chapter{0, " "};
    Element e;
    for (std::size_t pos = atom.begin; pos < atom.end && readElement(data, atom.end, pos, e);) {
        if (e.id == kChapterTimeStart) {
            chapter.startMs = static_cast<std::int64_t>(unsignedOf(data, e) / 1000000);
        } else if (e.id == kChapterDisplay && chapter.name == " ") {
            Element d;
            for (std::size_t at = e.begin; at < e.end && readElement(data, e.end, at, d);) {
                if (d.id == kChapString) {
                    chapter.name += stringOf(data, d);
                }
            }
        }
    }
    facts.chapters.push_back(chapter);
}

void readChapters(const std::uint8_t* data, const Element& chapters, ClipFacts& facts) {
    Element edition;
    for (std::size_t pos = chapters.begin;
         pos < chapters.end && readElement(data, chapters.end, pos, edition);) {
        if (edition.id != kEditionEntry) {
            continue;
        }
        Element atom;
        for (std::size_t at = edition.begin; at < edition.end && readElement(data, edition.end, at, atom);) {
            if (atom.id == kChapterAtom) {
                readChapterAtom(data, atom, facts);
            }
        }
        return;
    }
}

}  // namespace

bool probeMatroska(const std::uint8_t* data, std::size_t size, ClipFacts& facts) {
    std::size_t pos = 0;
    Element header;
    if (!readElement(data, size, pos, header) || header.id != kEbmlHeader) {
        return false;
    }
    ClipFacts found;
    Element segment;
    while (pos < size && readElement(data, size, pos, segment) && segment.id != kSegment) {
    }
    Element e;
    for (std::size_t at = segment.id == kSegment ? segment.begin : size;
         at < segment.end && readElement(data, segment.end, at, e) && e.id != kCluster;) {
        if (e.id == kInfo) {
            found.lengthMs = readInfo(data, e);
        } else if (e.id == kChapters) {
            readChapters(data, e, found);
        } else if (e.id == kTracks) {
            Element entry;
            for (std::size_t t = e.begin; t < e.end && readElement(data, e.end, t, entry);) {
                if (entry.id == kTrackEntry) {
                    readTrackEntry(data, entry, found);
                }
            }
        }
    }
    facts = found;
    return true;
}

}  // namespace standin
