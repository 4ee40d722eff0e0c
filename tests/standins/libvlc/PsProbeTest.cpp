#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "standins/libvlc/PsProbe.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The five-byte time stamp form, written straight from the MPEG layout: 4-bit prefix, bits 32..30,
// marker, bits 29..15, marker, bits 14..0, marker.
void putTimestamp(Bytes& out, std::uint8_t prefix, std::int64_t ts) {
    out.push_back(static_cast<std::uint8_t>((prefix << 4) | (((ts >> 30) & 7) << 1) | 1));
    out.push_back(static_cast<std::uint8_t>((ts >> 22) & 0xFF));
    out.push_back(static_cast<std::uint8_t>((((ts >> 15) & 0x7F) << 1) | 1));
    out.push_back(static_cast<std::uint8_t>((ts >> 7) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(((ts & 0x7F) << 1) | 1));
}

void putStartCode(Bytes& out, std::uint8_t code) {
    out.insert(out.end(), {0, 0, 1, code});
}

void putPacketLength(Bytes& out, std::size_t length) {
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
}

void mpeg2Pack(Bytes& out, int stuffing = 0) {
    putStartCode(out, 0xBA);
    out.insert(out.end(), {0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3});
    out.push_back(static_cast<std::uint8_t>(0xF8 | stuffing));
    out.insert(out.end(), static_cast<std::size_t>(stuffing), 0xFF);
}

void mpeg1Pack(Bytes& out) {
    putStartCode(out, 0xBA);
    out.insert(out.end(), {0x21, 0, 1, 0, 1, 0x80, 0x1B, 0x91});
}

// An MPEG-2 PES packet; `pts` < 0 leaves the time stamp out.
void mpeg2Pes(Bytes& out, std::uint8_t id, std::int64_t pts, const Bytes& payload = Bytes(20, 0x55)) {
    putStartCode(out, id);
    const std::size_t header = pts >= 0 ? 5 : 0;
    putPacketLength(out, 3 + header + payload.size());
    out.push_back(0x80);
    out.push_back(pts >= 0 ? 0x80 : 0x00);
    out.push_back(static_cast<std::uint8_t>(header));
    if (pts >= 0) {
        putTimestamp(out, 2, pts);
    }
    out.insert(out.end(), payload.begin(), payload.end());
}

// An MPEG-1 PES packet with stuffing, a buffer-size field and a PTS+DTS pair.
void mpeg1Pes(Bytes& out, std::uint8_t id, std::int64_t pts) {
    putStartCode(out, id);
    const Bytes payload(30, 0x66);
    putPacketLength(out, 2 + 2 + 10 + payload.size());
    out.insert(out.end(), {0xFF, 0xFF});
    out.insert(out.end(), {0x60, 0x2E});
    putTimestamp(out, 3, pts);
    putTimestamp(out, 1, pts - 3600);
    out.insert(out.end(), payload.begin(), payload.end());
}

standin::ClipFacts scanAll(const Bytes& data) {
    standin::PsScanner scanner;
    scanner.scan(data.data(), data.size());
    return scanner.facts();
}

// What a scan found: the streams and the length in ms, as "video audio 1960".
std::string scanned(const Bytes& data) {
    const standin::ClipFacts facts = scanAll(data);
    return std::string(facts.hasVideo ? "video " : "") + (facts.hasAudio ? "audio " : "") +
           std::to_string(facts.lengthMs);
}

TEST(PsTimestamp, DecodesEveryBitOfThe33BitValue) {
    const std::int64_t values[] = {0,      1,     0x7F,       0x80,          0x7FFF,
                                   0x8000, 90000, 0x40000000, 0x1ABCDEF01LL, (1LL << 33) - 1};
    for (std::int64_t value : values) {
        Bytes encoded;
        putTimestamp(encoded, 2, value);
        EXPECT_EQ(standin::decodeTimestamp(encoded.data()), value) << value;
    }
}

TEST(PsTimestamp, ReportsMillisecondsAsTheLibraryRoundsThem) {
    struct Case {
        std::int64_t ticks;
        std::int64_t ms;
    };
    // The first three are the audio and video spans of the generated clips, as the library reports them.
    const Case cases[] = {{171625, 1907}, {176400, 1960}, {1074417, 11938}, {0, 0},
                          {44, 0},        {45, 1},        {90, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(standin::ticksToReportedMs(c.ticks), c.ms) << c.ticks;
    }
}

TEST(PsScanner, LongestStreamGivesTheLength) {
    Bytes data;
    mpeg2Pack(data);
    mpeg2Pes(data, 0xE0, 48600);
    mpeg2Pes(data, 0xC0, 47618);
    mpeg2Pack(data);
    mpeg2Pes(data, 0xE0, 136800);
    mpeg2Pes(data, 0xC0, 219243);
    mpeg2Pes(data, 0xE0, 225000);
    putStartCode(data, 0xB9);
    EXPECT_EQ(scanned(data), "video audio 1960");
}

TEST(PsScanner, ReorderedTimestampsUseTheLatestNotTheLastInFileOrder) {
    Bytes data;
    mpeg2Pack(data);
    mpeg2Pes(data, 0xE0, 90000);
    mpeg2Pes(data, 0xE0, 270000);
    mpeg2Pes(data, 0xE0, 180000);  // a B-frame shown before the frame stored ahead of it
    mpeg2Pes(data, 0xE0, -1);
    EXPECT_EQ(scanAll(data).lengthMs, 2000);
}

TEST(PsScanner, ReadsMpeg1PacksAndPackets) {
    Bytes data;
    mpeg1Pack(data);
    mpeg1Pes(data, 0xE0, 45000);
    mpeg1Pack(data);
    mpeg1Pes(data, 0xE0, 45000 + 90000 * 3);
    EXPECT_EQ(scanned(data), "video 3000");
}

TEST(PsScanner, SkipsPackStuffingAndPacketPayloads) {
    Bytes fake;  // a payload that looks like a video packet with a far-off time stamp
    mpeg2Pes(fake, 0xE0, 90000 * 100);
    Bytes data;
    mpeg2Pack(data, 7);
    mpeg2Pes(data, 0xC0, 90000);
    putStartCode(data, 0xBE);  // padding
    putPacketLength(data, fake.size());
    data.insert(data.end(), fake.begin(), fake.end());
    mpeg2Pack(data, 3);
    mpeg2Pes(data, 0xC0, 90000 + 45000, fake);
    EXPECT_EQ(scanned(data), "audio 500");
}

TEST(PsScanner, FindsNothingInDataThatIsNotAProgramStream) {
    Bytes random(65536);
    std::uint32_t seed = 12345;
    for (std::uint8_t& b : random) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    Bytes packetsWithoutPack;  // elementary packets alone are not a program stream
    mpeg2Pes(packetsWithoutPack, 0xE0, 1000);
    mpeg2Pes(packetsWithoutPack, 0xE0, 900000);
    for (const Bytes* data : {&random, &packetsWithoutPack}) {
        EXPECT_EQ(scanned(*data), "0");
    }
}

TEST(PsScanner, HeadAndTailChunksCombineAndACutPacketIsIgnored) {
    Bytes head;
    mpeg2Pack(head);
    mpeg2Pes(head, 0xE0, 90000);
    Bytes tail = {0x12, 0x34, 0x00};  // the end of some packet cut in two
    mpeg2Pack(tail);
    mpeg2Pes(tail, 0xE0, 90000 * 5);
    Bytes cut;
    mpeg2Pes(cut, 0xE0, 90000 * 50);
    tail.insert(tail.end(), cut.begin(), cut.end() - 4);

    standin::PsScanner scanner;
    scanner.scan(head.data(), head.size());
    scanner.scan(tail.data(), tail.size());
    EXPECT_EQ(scanner.facts().lengthMs, 4000);
}

TEST(PsProbeFile, EmptyFileIsUnreadableAndAnyOtherIsRead) {
    std::FILE* empty = std::tmpfile();
    ASSERT_NE(empty, nullptr);
    standin::ClipFacts facts;
    EXPECT_FALSE(standin::probeClipFile(empty, facts));
    std::fclose(empty);

    Bytes data;
    mpeg2Pack(data);
    mpeg2Pes(data, 0xC0, 0);
    mpeg2Pes(data, 0xC0, 90000);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fwrite(data.data(), 1, data.size(), file);
    std::rewind(file);
    EXPECT_TRUE(standin::probeClipFile(file, facts));
    EXPECT_EQ(facts.lengthMs, 1000);
    EXPECT_TRUE(facts.hasAudio);
    std::fclose(file);
}

}  // namespace
