// The Matroska probe and the tracks the stand-in makes of what it finds, on files written element by
// element: the layouts and flags that the film clip, held against the real library natively
// (PsProbeVsLibvlcTest), does not have.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/libvlc/MkvProbe.h"
#include "standins/libvlc/TrackSet.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using standin::TrackKind;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// An element: its id as written, its size in one byte or, with `longSize` and anything larger, in eight.
Bytes element(std::uint32_t id, const Bytes& data, bool longSize = false) {
    longSize = longSize || data.size() >= 0x7F;
    Bytes out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if ((id >> shift) != 0) {
            out.push_back(static_cast<std::uint8_t>(id >> shift));
        }
    }
    out.push_back(longSize ? 0x01 : static_cast<std::uint8_t>(0x80 | data.size()));
    for (int shift = 48; longSize && shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(data.size()) >> shift));
    }
    return out + data;
}

// A number in `bytes` bytes (a float by its bits).
Bytes number(std::uint32_t id, std::uint64_t value, int bytes = 4) {
    Bytes data;
    for (int shift = 8 * bytes - 8; shift >= 0; shift -= 8) {
        data.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return element(id, data);
}

// A track entry: type 1 video, 2 audio, 0x11 subtitles; an empty language or name is left out, and so is
// the default flag when `flag` is negative.
Bytes track(int type, const std::string& language, const std::string& name = "", int flag = -1) {
    Bytes data = number(0xD7, 1) + number(0x83, static_cast<std::uint64_t>(type));
    if (!language.empty()) {
        data = data + element(0x22B59C, Bytes(language.begin(), language.end()));
    }
    if (!name.empty()) {
        data = data + element(0x536E, Bytes(name.begin(), name.end()));
    }
    return element(0xAE, flag >= 0 ? data + number(0x88, static_cast<std::uint64_t>(flag)) : data);
}

const Bytes kHeader = element(0x1A45DFA3, element(0x4282, Bytes{'w', 'e', 'b', 'm'}));
const Bytes kFilmTracks =
    element(0x1654AE6B, track(1, "und") + track(2, "eng", "Low tone") + track(2, "fre", "", 0) +
                            track(0x11, "eng") + track(0x11, "ger", "Signs", 0));

// "1 Low tone - [English]*, 2 Track 2 - [French]": the tracks of a kind by id and text, the current starred.
std::string listed(const standin::TrackSet& set, TrackKind kind) {
    std::string out;
    for (const standin::EsTrack& t : set.of(kind)) {
        out += (out.empty() ? "" : ", ") + std::to_string(t.id) + " " + t.text +
               (t.id == set.current(kind) ? "*" : "");
    }
    return out;
}

// "length video audio; audio: ...; subtitles: ...", or "not Matroska".
std::string found(const Bytes& file) {
    standin::ClipFacts facts;
    if (!standin::probeMatroska(file.data(), file.size(), facts)) {
        return "not Matroska";
    }
    const standin::TrackSet set(facts.tracks);
    return std::to_string(facts.lengthMs) + (facts.hasVideo ? " video" : "") +
           (facts.hasAudio ? " audio" : "") + "; audio: " + listed(set, TrackKind::Audio) +
           "; subtitles: " + listed(set, TrackKind::Subtitle);
}

struct ProbeCase {
    const char* name;
    Bytes file;
    const char* expected;
};

class MkvProbe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(MkvProbe, FindsTheLengthAndTheTracksBeforeTheFirstCluster) {
    EXPECT_EQ(found(GetParam().file), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MkvProbe,
    ::testing::Values(
        // As ffmpeg writes it: sizes known, a seek head first, a duration of 8 bytes in milliseconds; a
        // track after the first cluster is not read.
        ProbeCase{"Written",
                  kHeader + element(0x18538067,
                                    element(0x114D9B74, Bytes(12, 0xEC)) +
                                        element(0x1549A966, number(0x2AD7B1, 1000000) +
                                                                number(0x4489, 0x40D388C000000000, 8)) +
                                        kFilmTracks + element(0x1F43B675, Bytes(40, 0xA3)) +
                                        element(0x1654AE6B, track(2, "spa", "after the cluster")),
                                    true),
                  "20003 video audio; audio: 1 Low tone - [English]*, 2 Track 2 - [French]; "
                  "subtitles: 3 Track 1 - [English]*, 4 Signs - [German]"},
        // As a live muxer writes it: the segment's size unknown, a 4-byte duration (5000.5) in tenths of a
        // ms, and a track without language (Matroska's default: English) or default flag (default: set).
        ProbeCase{"Streamed",
                  kHeader + Bytes{0x18, 0x53, 0x80, 0x67, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF} +
                      element(0x1549A966, number(0x2AD7B1, 100000) + number(0x4489, 0x459C4400)) +
                      element(0x1654AE6B, track(2, "")),
                  "500 audio; audio: 0 Track 1 - [English]*; subtitles: "},
        // No track marked as default: the first audio track plays and no subtitles show. A code the
        // library doesn't know stands for itself; terminology codes name the language too.
        ProbeCase{
            "NoDefaults",
            kHeader + element(0x18538067, element(0x1654AE6B, track(2, "xyz", "", 0) + track(2, "", "", 0) +
                                                                  track(0x11, "fra", "", 0))),
            "0 audio; audio: 0 Track 1 - [xyz]*, 1 Track 2 - [English]; subtitles: 2 Track 1 - [French]"},
        ProbeCase{"ProgramStream", Bytes{0, 0, 1, 0xBA, 0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3, 0xF8},
                  "not Matroska"},
        ProbeCase{"Empty", Bytes{}, "not Matroska"}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return info.param.name; });

TEST(TrackSet, ChoosesOnlyTracksOfTheKindAndAddsSubtitleFilesLast) {
    standin::ClipFacts facts;
    const Bytes file = kHeader + element(0x18538067, kFilmTracks);
    ASSERT_TRUE(standin::probeMatroska(file.data(), file.size(), facts));
    standin::TrackSet film(facts.tracks);
    const struct {
        TrackKind kind;
        int id;
        bool accepted;
    } choices[] = {{TrackKind::Audio, 2, true},     {TrackKind::Audio, 3, false},
                   {TrackKind::Subtitle, -1, true}, {TrackKind::Subtitle, 1, false},
                   {TrackKind::Video, 0, false},    {TrackKind::Subtitle, 99, false}};
    for (const auto& c : choices) {
        EXPECT_EQ(film.choose(c.kind, c.id), c.accepted) << c.id;
    }
    EXPECT_EQ(film.addSubtitleFile(false), 5);
    EXPECT_EQ(film.addSubtitleFile(true), 6);
    EXPECT_EQ(listed(film, TrackKind::Audio), "1 Low tone - [English], 2 Track 2 - [French]*");
    EXPECT_EQ(listed(film, TrackKind::Subtitle),
              "3 Track 1 - [English], 4 Signs - [German], 5 Track 3, 6 Track 4*");
}

}  // namespace
