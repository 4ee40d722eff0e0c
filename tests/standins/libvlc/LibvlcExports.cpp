// The libvlc entry points the player uses, with the real library's names and C calling convention;
// libvlc.def exports them under exactly those names.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <vlc/vlc.h>

#include "StandinLog.h"
#include "StandinPlayer.h"

struct libvlc_instance_t {
    std::atomic<int> references{1};
};

struct libvlc_media_t {
    std::atomic<int> references{1};
    std::string path;
};

struct libvlc_event_manager_t {
    standin::EventHub* hub;
};

struct libvlc_media_player_t {
    std::atomic<int> references{1};
    libvlc_instance_t* instance = nullptr;
    libvlc_media_t* media = nullptr;
    std::shared_ptr<standin::Player> player;
    libvlc_event_manager_t eventManager{nullptr};
};

namespace {

template <typename Counted>
void retain(Counted* object) {
    if (object != nullptr) {
        ++object->references;
    }
}

// True when that was the last reference.
template <typename Counted>
bool released(Counted* object) {
    return object != nullptr && --object->references == 0;
}

// A track list as the real library gives it: none without tracks, else its "Disable" entry (id -1)
// first, then the tracks. Each entry and its text are the caller's, until it gives the list back.
libvlc_track_description_t* descriptionsOf(const std::vector<standin::EsTrack>& tracks) {
    if (tracks.empty()) {
        return nullptr;
    }
    std::vector<standin::EsTrack> entries = {{-1, tracks.front().kind, "Disable"}};
    entries.insert(entries.end(), tracks.begin(), tracks.end());
    libvlc_track_description_t* list = nullptr;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        auto* entry =
            static_cast<libvlc_track_description_t*>(std::malloc(sizeof(libvlc_track_description_t)));
        entry->i_id = it->id;
        entry->psz_name = _strdup(it->text.c_str());
        entry->p_next = list;
        list = entry;
    }
    return list;
}

}  // namespace

// A call on the player behind mp, or `otherwise` without one.
#define ON_PLAYER(otherwise, call) return mp != nullptr ? mp->player->call : otherwise

extern "C" {

// Not a libvlc entry: how many calls so far would have deadlocked the real library (see StandinLog.h).
int standin_libvlc_hazard_count(void) {
    return standin::hazardCount();
}

const char* libvlc_get_version(void) {
    return "3.0.0 test stand-in";
}

libvlc_instance_t* libvlc_new(int, const char* const*) {
    return new libvlc_instance_t;
}

void libvlc_retain(libvlc_instance_t* instance) {
    retain(instance);
}

void libvlc_release(libvlc_instance_t* instance) {
    if (released(instance)) {
        delete instance;
    }
}

// Like the real library, any path gives a media; whether the file exists shows only when it plays.
libvlc_media_t* libvlc_media_new_path(libvlc_instance_t* instance, const char* path) {
    if (instance == nullptr || path == nullptr) {
        return nullptr;
    }
    libvlc_media_t* media = new libvlc_media_t;
    media->path = path;
    return media;
}

void libvlc_media_retain(libvlc_media_t* media) {
    retain(media);
}

void libvlc_media_release(libvlc_media_t* media) {
    if (released(media)) {
        delete media;
    }
}

libvlc_media_player_t* libvlc_media_player_new(libvlc_instance_t* instance) {
    if (instance == nullptr) {
        return nullptr;
    }
    libvlc_media_player_t* mp = new libvlc_media_player_t;
    libvlc_retain(instance);
    mp->instance = instance;
    mp->player = std::make_shared<standin::Player>(mp);
    mp->eventManager.hub = &mp->player->events();
    return mp;
}

void libvlc_media_player_retain(libvlc_media_player_t* mp) {
    retain(mp);
}

void libvlc_media_player_release(libvlc_media_player_t* mp) {
    if (!released(mp)) {
        return;
    }
    mp->player->shutdown();
    libvlc_media_release(mp->media);
    libvlc_release(mp->instance);
    delete mp;
}

void libvlc_media_player_set_media(libvlc_media_player_t* mp, libvlc_media_t* media) {
    if (mp == nullptr) {
        return;
    }
    libvlc_media_retain(media);
    libvlc_media_t* previous = mp->media;
    mp->media = media;
    mp->player->setMedia(media != nullptr ? &media->path : nullptr, media);
    libvlc_media_release(previous);
}

libvlc_event_manager_t* libvlc_media_player_event_manager(libvlc_media_player_t* mp) {
    return mp != nullptr ? &mp->eventManager : nullptr;
}

int libvlc_event_attach(libvlc_event_manager_t* manager, libvlc_event_type_t type, libvlc_callback_t callback,
                        void* data) {
    return manager != nullptr ? manager->hub->attach(type, callback, data) : -1;
}

void libvlc_event_detach(libvlc_event_manager_t* manager, libvlc_event_type_t type,
                         libvlc_callback_t callback, void* data) {
    if (manager != nullptr) {
        manager->hub->detach(type, callback, data);
    }
}

int libvlc_media_player_play(libvlc_media_player_t* mp) {
    ON_PLAYER(-1, play());
}

void libvlc_media_player_pause(libvlc_media_player_t* mp) {
    ON_PLAYER(void(), pause());
}

void libvlc_media_player_stop(libvlc_media_player_t* mp) {
    ON_PLAYER(void(), stop());
}

int libvlc_media_player_is_playing(libvlc_media_player_t* mp) {
    ON_PLAYER(0, isPlaying() ? 1 : 0);
}

libvlc_state_t libvlc_media_player_get_state(libvlc_media_player_t* mp) {
    return static_cast<libvlc_state_t>(mp != nullptr ? mp->player->state() : standin::kNothingSpecial);
}

libvlc_time_t libvlc_media_player_get_time(libvlc_media_player_t* mp) {
    ON_PLAYER(-1, time());
}

libvlc_time_t libvlc_media_player_get_length(libvlc_media_player_t* mp) {
    ON_PLAYER(-1, length());
}

void libvlc_media_player_set_time(libvlc_media_player_t* mp, libvlc_time_t ms) {
    ON_PLAYER(void(), setTime(ms));
}

void libvlc_media_player_set_hwnd(libvlc_media_player_t* mp, void* drawable) {
    ON_PLAYER(void(), setWindow(static_cast<HWND>(drawable)));
}

int libvlc_audio_get_volume(libvlc_media_player_t* mp) {
    ON_PLAYER(-1, volume());
}

int libvlc_audio_set_volume(libvlc_media_player_t* mp, int volume) {
    ON_PLAYER(-1, setVolume(volume));
}

int libvlc_audio_get_mute(libvlc_media_player_t* mp) {
    ON_PLAYER(-1, mute());
}

void libvlc_audio_set_mute(libvlc_media_player_t* mp, int status) {
    ON_PLAYER(void(), setMute(status != 0));
}

int libvlc_video_get_track_count(libvlc_media_player_t* mp) {
    ON_PLAYER(-1, videoTrackCount());
}

void libvlc_track_description_list_release(libvlc_track_description_t* list) {
    while (list != nullptr) {
        libvlc_track_description_t* next = list->p_next;
        std::free(list->psz_name);
        std::free(list);
        list = next;
    }
}

// A kind of track's list, current track and choice.
#define TRACK_ENTRIES(kind, list, current, choose)                                 \
    libvlc_track_description_t* list(libvlc_media_player_t* mp) {                  \
        return mp != nullptr ? descriptionsOf(mp->player->tracks(kind)) : nullptr; \
    }                                                                              \
    int current(libvlc_media_player_t* mp) {                                       \
        ON_PLAYER(-1, currentTrack(kind));                                         \
    }                                                                              \
    int choose(libvlc_media_player_t* mp, int id) {                                \
        ON_PLAYER(-1, chooseTrack(kind, id));                                      \
    }

TRACK_ENTRIES(standin::TrackKind::Audio, libvlc_audio_get_track_description, libvlc_audio_get_track,
              libvlc_audio_set_track)
TRACK_ENTRIES(standin::TrackKind::Subtitle, libvlc_video_get_spu_description, libvlc_video_get_spu,
              libvlc_video_set_spu)

// Subtitle files only: the stand-in reads no audio files.
int libvlc_media_player_add_slave(libvlc_media_player_t* mp, libvlc_media_slave_type_t type, const char* uri,
                                  bool select) {
    if (mp == nullptr || uri == nullptr || type != libvlc_media_slave_type_subtitle) {
        return -1;
    }
    return mp->player->addSubtitleFile(uri, select);
}

float libvlc_media_player_get_rate(libvlc_media_player_t* mp) {
    ON_PLAYER(1.0f, rate());
}

int libvlc_media_player_set_rate(libvlc_media_player_t* mp, float rate) {
    ON_PLAYER(-1, setRate(rate));
}

void libvlc_video_set_marquee_int(libvlc_media_player_t* mp, unsigned option, int value) {
    ON_PLAYER(void(), setMarqueeInt(option, value));
}

void libvlc_video_set_marquee_string(libvlc_media_player_t* mp, unsigned option, const char* text) {
    ON_PLAYER(void(), setMarqueeString(option, text));
}

int libvlc_video_get_size(libvlc_media_player_t* mp, unsigned num, unsigned* width, unsigned* height) {
    if (num != 0 || width == nullptr || height == nullptr) {
        return -1;
    }
    ON_PLAYER(-1, videoSize(width, height));
}

// The chapters as the real library gives them: none (-1) without, else an array of as many entries.
int libvlc_media_player_get_full_chapter_descriptions(libvlc_media_player_t* mp, int title,
                                                      libvlc_chapter_description_t*** descriptions) {
    if (mp == nullptr || descriptions == nullptr || title != -1) {
        return -1;
    }
    const std::vector<standin::ChapterFacts> chapters = mp->player->chapters();
    if (chapters.empty()) {
        return -1;
    }
    auto** list = static_cast<libvlc_chapter_description_t**>(
        std::malloc(sizeof(libvlc_chapter_description_t*) * chapters.size()));
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        list[i] =
            static_cast<libvlc_chapter_description_t*>(std::malloc(sizeof(libvlc_chapter_description_t)));
        list[i]->i_time_offset = chapters[i].startMs;
        list[i]->i_duration = i + 1 < chapters.size() ? chapters[i + 1].startMs - chapters[i].startMs : 0;
        list[i]->psz_name = _strdup(chapters[i].name.c_str());
    }
    *descriptions = list;
    return static_cast<int>(chapters.size());
}

void libvlc_chapter_descriptions_release(libvlc_chapter_description_t** chapters, unsigned count) {
    for (unsigned i = 0; chapters != nullptr && i < count; ++i) {
        std::free(chapters[i]->psz_name);
        std::free(chapters[i]);
    }
    std::free(chapters);
}

int libvlc_media_player_get_chapter(libvlc_media_player_t* mp) {
    ON_PLAYER(-1, chapter());
}

void libvlc_media_player_set_chapter(libvlc_media_player_t* mp, int chapter) {
    ON_PLAYER(void(), setChapter(chapter));
}

int64_t libvlc_video_get_spu_delay(libvlc_media_player_t* mp) {
    ON_PLAYER(0, delay(standin::TrackKind::Subtitle));
}

int libvlc_video_set_spu_delay(libvlc_media_player_t* mp, int64_t delay) {
    ON_PLAYER(-1, setDelay(standin::TrackKind::Subtitle, delay));
}

int64_t libvlc_audio_get_delay(libvlc_media_player_t* mp) {
    ON_PLAYER(0, delay(standin::TrackKind::Audio));
}

int libvlc_audio_set_delay(libvlc_media_player_t* mp, int64_t delay) {
    ON_PLAYER(-1, setDelay(standin::TrackKind::Audio, delay));
}

// The stand-in makes no window of its own, so there is no input to switch off.
void libvlc_video_set_key_input(libvlc_media_player_t*, unsigned) {}

void libvlc_video_set_mouse_input(libvlc_media_player_t*, unsigned) {}

}  // extern "C"
