// The probe against the real library: for each generated clip, the length the library reports while
// playing, whether it finds a video track, and its audio and subtitle tracks (ids, texts, the current
// ones) must be what the stand-in would report.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include <vlc/vlc.h>

#include "common/TestClips.h"
#include "standins/libvlc/PsProbe.h"
#include "standins/libvlc/TrackSet.h"

namespace {

struct Settled {
    std::mutex lock;
    std::condition_variable changed;
    bool done = false;
};

// After the first time report (or the end, for a clip with nothing to play) the length and the
// tracks are settled.
void onEvent(const libvlc_event_t*, void* data) {
    auto* settled = static_cast<Settled*>(data);
    std::lock_guard<std::mutex> guard(settled->lock);
    settled->done = true;
    settled->changed.notify_all();
}

struct LibraryAnswer {
    long long length = -2;
    int videoTracks = -2;
    std::string tracks;
};

// A list of tracks as one line: "1 Low tone - [English]*, 2 Track 2 - [French]", the current one
// starred; the library's "Disable" entry (id -1) left out.
std::string listed(libvlc_track_description_t* list, int current) {
    std::string text;
    for (const libvlc_track_description_t* d = list; d != nullptr; d = d->p_next) {
        if (d->i_id != -1) {
            text += (text.empty() ? "" : ", ") + std::to_string(d->i_id) + " " + d->psz_name +
                    (d->i_id == current ? "*" : "");
        }
    }
    libvlc_track_description_list_release(list);
    return text;
}

std::string listed(const standin::TrackSet& set, standin::TrackKind kind) {
    std::string text;
    for (const standin::EsTrack& track : set.of(kind)) {
        text += (text.empty() ? "" : ", ") + std::to_string(track.id) + " " + track.text +
                (track.id == set.current(kind) ? "*" : "");
    }
    return text;
}

LibraryAnswer askLibrary(const std::string& path) {
    const char* args[] = {"--aout=dummy", "--vout=dummy", "--quiet"};
    libvlc_instance_t* instance = libvlc_new(3, args);
    libvlc_media_player_t* player = libvlc_media_player_new(instance);
    libvlc_media_t* media = libvlc_media_new_path(instance, path.c_str());
    libvlc_media_player_set_media(player, media);
    Settled settled;
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(player);
    libvlc_event_attach(events, libvlc_MediaPlayerTimeChanged, onEvent, &settled);
    libvlc_event_attach(events, libvlc_MediaPlayerEndReached, onEvent, &settled);
    libvlc_media_player_play(player);
    {
        std::unique_lock<std::mutex> guard(settled.lock);
        settled.changed.wait_for(guard, std::chrono::seconds(5), [&] { return settled.done; });
    }
    // Listeners first, so that no event is under way while the getters and stop run.
    libvlc_event_detach(events, libvlc_MediaPlayerTimeChanged, onEvent, &settled);
    libvlc_event_detach(events, libvlc_MediaPlayerEndReached, onEvent, &settled);
    LibraryAnswer answer;
    answer.length = libvlc_media_player_get_length(player);
    answer.videoTracks = libvlc_video_get_track_count(player);
    answer.tracks =
        "audio: " + listed(libvlc_audio_get_track_description(player), libvlc_audio_get_track(player)) +
        "; subtitles: " + listed(libvlc_video_get_spu_description(player), libvlc_video_get_spu(player));
    libvlc_media_player_stop(player);
    libvlc_media_player_release(player);
    libvlc_media_release(media);
    libvlc_release(instance);
    return answer;
}

class ProbeAgainstLibrary : public ::testing::TestWithParam<const char*> {};

TEST_P(ProbeAgainstLibrary, SameLengthVideoAndTracksAsTheLibrary) {
    const std::string path = testclips::path(GetParam());
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    standin::ClipFacts facts;
    const bool readable = standin::probeClipFile(file, facts);
    std::fclose(file);
    ASSERT_TRUE(readable);

    const LibraryAnswer library = askLibrary(path);
    EXPECT_EQ(facts.lengthMs, library.length);
    // While a clip plays, the library counts a "Disable" choice beside a video track.
    EXPECT_EQ(facts.hasVideo ? 2 : 0, library.videoTracks);
    const standin::TrackSet tracks(facts.tracks);
    EXPECT_EQ("audio: " + listed(tracks, standin::TrackKind::Audio) +
                  "; subtitles: " + listed(tracks, standin::TrackKind::Subtitle),
              library.tracks);
}

INSTANTIATE_TEST_SUITE_P(Clips, ProbeAgainstLibrary,
                         ::testing::Values("short.mpg", "long.mpg", "audio.mpg", "folder/a.mpg",
                                           "garbage.mpg", "tracks/film.mkv"));

}  // namespace
