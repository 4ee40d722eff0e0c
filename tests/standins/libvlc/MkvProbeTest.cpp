// The Matroska probe on files written element by element, and the tracks the stand-in makes of what it
// finds, named and chosen as the real library does (PsProbeVsLibvlcTest holds both against the library
// natively).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "standins/libvlc/MkvProbe.h"
#include "standins/libvlc/TrackSet.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using standin::TrackKind;

// An element: its id as written, a size of one byte or, for `longSize` and anything larger, of eight.
Bytes element(std::uint32_t id, const Bytes& data, bool longSize = false) {
    Bytes out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if ((id >> shift) != 0) {
            out.push_back(static_cast<std::uint8_t>(id >> shift));
        }
    }
    if (!longSize && data.size() < 0x7F) {
        out.push_back(static_cast<std::uint8_t>(0x80 | data.size()));
    } else {
        out.push_back(0x01);
        for (int shift = 48; shift >= 0; shift -= 8) {
            out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(data.size()) >> shift));
        }
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes number(std::uint32_t id, std::uint64_t value) {
    Bytes data;
    for (int shift = 24; shift >= 0; shift -= 8) {
        data.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return element(id, data);
}

Bytes text(std::uint32_t id, const std::string& value) {
    return element(id, Bytes(value.begin(), value.end()));
}

template <typename Float, typename Bits>
Bytes floating(std::uint32_t id, Float value) {
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    Bytes data;
    for (int shift = 8 * static_cast<int>(sizeof bits) - 8; shift >= 0; shift -= 8) {
        data.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    return element(id, data);
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A track entry: type 1 video, 2 audio, 0x11 subtitles; an empty language or name is left out, and so is
// the default flag when `flag` is negative.
Bytes track(int type, const std::string& language, const std::string& name, int flag = -1) {
    Bytes data = number(0xD7, 1) + number(0x83, static_cast<std::uint64_t>(type));
    if (!language.empty()) {
        data = data + text(0x22B59C, language);
    }
    if (!name.empty()) {
        data = data + text(0x536E, name);
    }
    if (flag >= 0) {
        data = data + number(0x88, static_cast<std::uint64_t>(flag));
    }
    return element(0xAE, data);
}

const Bytes kHeader = element(0x1A45DFA3, text(0x4282, "matroska"));

// What the probe found, as "length: kind language 'name' default, ...".
std::string found(const Bytes& file) {
    standin::ClipFacts facts;
    if (!standin::probeMatroska(file.data(), file.size(), facts)) {
        return "not Matroska";
    }
    const char* kinds[] = {"video", "audio", "subtitle"};
    std::string out = std::to_string(facts.lengthMs) + ":";
    for (const standin::TrackFacts& t : facts.tracks) {
        out += std::string(" ") + kinds[static_cast<int>(t.kind)] + " " + t.language + " '" + t.name + "'" +
               (t.isDefault ? " default" : "");
    }
    return out + (facts.hasVideo ? " +video" : "") + (facts.hasAudio ? " +audio" : "");
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

const Bytes kFilmTracks =
    element(0x1654AE6B, track(1, "und", "") + track(2, "eng", "Low tone") + track(2, "fre", "", 0) +
                            track(0x11, "eng", "") + track(0x11, "ger", "Signs", 0));

INSTANTIATE_TEST_SUITE_P(
    Files, MkvProbe,
    ::testing::Values(
        // As ffmpeg writes it: sizes known, a seek head first, a duration of 8 bytes in milliseconds.
        ProbeCase{
            "Written",
            kHeader + element(0x18538067,
                              element(0x114D9B74, Bytes(12, 0xEC)) +
                                  element(0x1549A966, number(0x2AD7B1, 1000000) +
                                                          floating<double, std::uint64_t>(0x4489, 20003.0)) +
                                  kFilmTracks + element(0x1F43B675, Bytes(40, 0xA3)) +
                                  element(0x1654AE6B, track(2, "spa", "after the cluster")),
                              true),
            "20003: video und '' default audio eng 'Low tone' default audio fre '' subtitle eng '' default "
            "subtitle ger 'Signs' +video +audio"},
        // As a live muxer writes it: the segment's size unknown, a 4-byte duration in tenths of a ms, and
        // a track without language (Matroska's default is English) or default flag (default: set).
        ProbeCase{"Streamed",
                  kHeader + Bytes{0x18, 0x53, 0x80, 0x67, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF} +
                      element(0x1549A966,
                              number(0x2AD7B1, 100000) + floating<float, std::uint32_t>(0x4489, 5000.5f)) +
                      element(0x1654AE6B, track(2, "", "")),
                  "500: audio eng '' default +audio"},
        ProbeCase{"ProgramStream", Bytes{0, 0, 1, 0xBA, 0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3, 0xF8},
                  "not Matroska"},
        ProbeCase{"Empty", Bytes{}, "not Matroska"}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return info.param.name; });

// The tracks of a set as the library lists them: "1 Low tone - [English]*, 2 ...", the current starred.
std::string listed(const standin::TrackSet& set, TrackKind kind) {
    std::string out;
    for (const standin::EsTrack& t : set.of(kind)) {
        out += (out.empty() ? "" : ", ") + std::to_string(t.id) + " " + t.text +
               (t.id == set.current(kind) ? "*" : "");
    }
    return out;
}

standin::TrackSet filmTracks() {
    standin::ClipFacts facts;
    const Bytes file = kHeader + element(0x18538067, kFilmTracks);
    EXPECT_TRUE(standin::probeMatroska(file.data(), file.size(), facts));
    return standin::TrackSet(facts.tracks);
}

TEST(TrackSet, NamesAndChoosesAsTheLibrary) {
    const standin::TrackSet film = filmTracks();
    EXPECT_EQ(listed(film, TrackKind::Audio), "1 Low tone - [English]*, 2 Track 2 - [French]");
    EXPECT_EQ(listed(film, TrackKind::Subtitle), "3 Track 1 - [English]*, 4 Signs - [German]");

    // Without a default flag: the first audio track plays, and no subtitles show.
    const standin::TrackSet plain({{TrackKind::Audio, "xyz", "", false},
                                   {TrackKind::Audio, "", "", false},
                                   {TrackKind::Subtitle, "fra", "", false}});
    EXPECT_EQ(listed(plain, TrackKind::Audio), "0 Track 1 - [xyz]*, 1 Track 2");
    EXPECT_EQ(listed(plain, TrackKind::Subtitle), "2 Track 1 - [French]");
}

TEST(TrackSet, ChoosesOnlyTracksOfTheKindAndAddsSubtitleFilesLast) {
    standin::TrackSet film = filmTracks();
    struct Choice {
        TrackKind kind;
        int id;
        bool accepted;
    } choices[] = {{TrackKind::Audio, 2, true},     {TrackKind::Audio, 3, false},
                   {TrackKind::Subtitle, -1, true}, {TrackKind::Subtitle, 1, false},
                   {TrackKind::Video, 0, false},    {TrackKind::Subtitle, 99, false}};
    for (const Choice& c : choices) {
        EXPECT_EQ(film.choose(c.kind, c.id), c.accepted) << c.id;
    }
    EXPECT_EQ(film.current(TrackKind::Audio), 2);
    EXPECT_EQ(film.current(TrackKind::Subtitle), -1);

    EXPECT_EQ(film.addSubtitleFile(false), 5);
    EXPECT_EQ(film.addSubtitleFile(true), 6);
    EXPECT_EQ(listed(film, TrackKind::Subtitle),
              "3 Track 1 - [English], 4 Signs - [German], 5 Track 3, 6 Track 4*");
}

}  // namespace
