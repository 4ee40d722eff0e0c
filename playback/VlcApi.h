#pragma once

#include <vlc/vlc.h>

// Every libvlc entry the player calls. On Windows the library is loaded at run time, so the player
// reaches it only through this table; natively the table points at the linked functions.
#ifdef _WIN32
#define VELMORA_VLC_OUTPUT_WINDOW_ENTRY(X) X(libvlc_media_player_set_hwnd)
#else
#define VELMORA_VLC_OUTPUT_WINDOW_ENTRY(X) X(libvlc_media_player_set_xwindow)
#endif

#define VELMORA_VLC_ENTRIES(X)           \
    X(libvlc_get_version)                \
    X(libvlc_new)                        \
    X(libvlc_release)                    \
    X(libvlc_media_new_path)             \
    X(libvlc_media_release)              \
    X(libvlc_media_player_new)           \
    X(libvlc_media_player_release)       \
    X(libvlc_media_player_set_media)     \
    X(libvlc_media_player_event_manager) \
    X(libvlc_media_player_play)          \
    X(libvlc_media_player_pause)         \
    X(libvlc_media_player_stop)          \
    X(libvlc_media_player_is_playing)    \
    X(libvlc_media_player_get_state)     \
    X(libvlc_media_player_get_time)      \
    X(libvlc_media_player_get_length)    \
    X(libvlc_media_player_set_time)      \
    X(libvlc_audio_get_volume)           \
    X(libvlc_audio_set_volume)           \
    X(libvlc_audio_get_mute)             \
    X(libvlc_audio_set_mute)             \
    X(libvlc_video_get_track_count)      \
    X(libvlc_video_set_key_input)        \
    X(libvlc_video_set_mouse_input)      \
    X(libvlc_event_attach)               \
    VELMORA_VLC_OUTPUT_WINDOW_ENTRY(X)

// Entries for what a player does beyond playback proper: tracks, subtitle files, rate, on-screen
// text, chapters and the subtitle and sound delays. A library that lacks any of them still plays; each is
// null then, and the player goes without the features that need it (featuresOf).
#define VELMORA_VLC_OPTIONAL_ENTRIES(X)                  \
    X(libvlc_track_description_list_release)             \
    X(libvlc_audio_get_track_description)                \
    X(libvlc_audio_get_track)                            \
    X(libvlc_audio_set_track)                            \
    X(libvlc_video_get_spu_description)                  \
    X(libvlc_video_get_spu)                              \
    X(libvlc_video_set_spu)                              \
    X(libvlc_media_player_add_slave)                     \
    X(libvlc_media_player_get_rate)                      \
    X(libvlc_media_player_set_rate)                      \
    X(libvlc_video_set_marquee_int)                      \
    X(libvlc_video_set_marquee_string)                   \
    X(libvlc_video_get_size)                             \
    X(libvlc_media_player_get_full_chapter_descriptions) \
    X(libvlc_chapter_descriptions_release)               \
    X(libvlc_media_player_get_chapter)                   \
    X(libvlc_media_player_set_chapter)                   \
    X(libvlc_video_get_spu_delay)                        \
    X(libvlc_video_set_spu_delay)                        \
    X(libvlc_audio_get_delay)                            \
    X(libvlc_audio_set_delay)

#define VELMORA_VLC_DECLARE_ENTRY(name) decltype(&::name) name;

struct VlcApi {
    VELMORA_VLC_ENTRIES(VELMORA_VLC_DECLARE_ENTRY)
    VELMORA_VLC_OPTIONAL_ENTRIES(VELMORA_VLC_DECLARE_ENTRY)
};

// The PlayerFeature bits (MediaPlayer.h) whose entries the table holds. The video size is not needed
// for any: without it on-screen text keeps a fixed margin.
unsigned featuresOf(const VlcApi& api);

// The table players use, loaded on first use; null when the library can't be found or lacks a
// required entry (the program then runs without playback). A player takes the table when it is
// constructed.
const VlcApi* vlcApi();

// Tests put their own table in front of the library; a null table stands for a machine without the
// library. Players constructed afterwards use it until restoreVlcApi. Not for use while a player is
// being constructed on another thread.
void overrideVlcApi(const VlcApi* api);
void restoreVlcApi();

// The library's own table, loaded once; each target's VlcApi*.cpp provides it.
const VlcApi* loadVlcApi();
