/* The libvlc entry points the player and its tests use, forwarded to Debian's native libvlc. Every
 * entry is __cdecl, so the stack is realigned for native code. Handles pass through unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <libgen.h>
#include <stdlib.h>
#include <string.h>

#include "Bridge.h"

extern char* CDECL wine_get_unix_file_name(LPCWSTR dosName);

#define MAX_ARGS 64

/* libvlc finds its plugins in the folder "vlc/plugins" beside this library, unless told otherwise. */
static void point_at_plugins(void) {
    Dl_info info;
    if (getenv("VLC_PLUGIN_PATH") != NULL || !dladdr((void*)point_at_plugins, &info) || !info.dli_fname) {
        return;
    }
    char* copy = strdup(info.dli_fname);
    if (copy == NULL) {
        return;
    }
    const char* folder = dirname(copy);
    char* path = malloc(strlen(folder) + sizeof "/vlc/plugins");
    if (path != NULL) {
        strcpy(path, folder);
        strcat(path, "/vlc/plugins");
        setenv("VLC_PLUGIN_PATH", path, 0);
        free(path);
    }
    free(copy);
}

/* The caller's arguments, then any from VELMORA_BRIDGE_ARGS (blank-separated), which is how the tests
 * choose outputs that work without a sound card. */
libvlc_instance_t* __cdecl bridge_new(int argc, const char* const* argv) {
    point_at_plugins();
    bridge_log_open();
    const char* args[MAX_ARGS];
    int count = 0;
    for (int i = 0; i < argc && count < MAX_ARGS; ++i) {
        args[count++] = argv[i];
    }
    char extra[1024];
    DWORD length = GetEnvironmentVariableA("VELMORA_BRIDGE_ARGS", extra, sizeof extra);
    if (length > 0 && length < sizeof extra) {
        for (char* word = strtok(extra, " "); word != NULL && count < MAX_ARGS; word = strtok(NULL, " ")) {
            args[count++] = word;
        }
    }
    return libvlc_new(count, args);
}

/* Entries that only hand the call on, and those that mark it as a call from the player's thread. */
#define FORWARD(type, name, params, args) \
    type __cdecl bridge_##name params {   \
        return libvlc_##name args;        \
    }
#define FORWARD_VOID(name, params, args) \
    void __cdecl bridge_##name params {  \
        libvlc_##name args;              \
    }
#define FORWARD_ENTERED(name, params, args) \
    void __cdecl bridge_##name params {     \
        bridge_enter();                     \
        libvlc_##name args;                 \
        bridge_leave();                     \
    }
#define FORWARD_ENTERED_RESULT(type, name, params, args) \
    type __cdecl bridge_##name params {                  \
        bridge_enter();                                  \
        const type result = libvlc_##name args;          \
        bridge_leave();                                  \
        return result;                                   \
    }

FORWARD_VOID(retain, (libvlc_instance_t * instance), (instance))
FORWARD_VOID(release, (libvlc_instance_t * instance), (instance))
FORWARD(const char*, get_version, (void), ())
FORWARD_VOID(media_retain, (libvlc_media_t * media), (media))
FORWARD_VOID(media_release, (libvlc_media_t * media), (media))
FORWARD(libvlc_event_manager_t*, media_player_event_manager, (libvlc_media_player_t * player), (player))
FORWARD_ENTERED(media_player_set_media, (libvlc_media_player_t * player, libvlc_media_t* media),
                (player, media))
FORWARD_ENTERED(media_player_pause, (libvlc_media_player_t * player), (player))
void __cdecl bridge_media_player_set_time(libvlc_media_player_t* player, libvlc_time_t time) {
    bridge_log("set_time %lld", (long long)time);
    bridge_enter();
    libvlc_media_player_set_time(player, time);
    bridge_leave();
}
FORWARD(int, media_player_is_playing, (libvlc_media_player_t * player), (player))
FORWARD(libvlc_state_t, media_player_get_state, (libvlc_media_player_t * player), (player))
FORWARD(libvlc_time_t, media_player_get_time, (libvlc_media_player_t * player), (player))
FORWARD(libvlc_time_t, media_player_get_length, (libvlc_media_player_t * player), (player))
FORWARD(int, audio_get_volume, (libvlc_media_player_t * player), (player))
FORWARD(int, audio_set_volume, (libvlc_media_player_t * player, int volume), (player, volume))
FORWARD(int, audio_get_mute, (libvlc_media_player_t * player), (player))
FORWARD_VOID(audio_set_mute, (libvlc_media_player_t * player, int mute), (player, mute))
FORWARD(int, video_get_track_count, (libvlc_media_player_t * player), (player))
FORWARD_VOID(video_set_key_input, (libvlc_media_player_t * player, unsigned on), (player, on))
FORWARD_VOID(video_set_mouse_input, (libvlc_media_player_t * player, unsigned on), (player, on))
/* Tracks, rate and marquee: the lists and their texts are libvlc's, given back through it. A choice of
 * track or rate is logged with what libvlc reads back after it (CallLog.c). */
#define FORWARD_CHOICE(name, type, value, format, readback)                \
    int __cdecl bridge_##name(libvlc_media_player_t* player, type value) { \
        bridge_enter();                                                    \
        const int result = libvlc_##name(player, value);                   \
        bridge_leave();                                                    \
        bridge_log(format, readback);                                      \
        return result;                                                     \
    }
FORWARD_VOID(track_description_list_release, (libvlc_track_description_t * list), (list))
FORWARD(libvlc_track_description_t*, audio_get_track_description, (libvlc_media_player_t * player), (player))
FORWARD(int, audio_get_track, (libvlc_media_player_t * player), (player))
FORWARD_CHOICE(audio_set_track, int, track, "audio_track %d", libvlc_audio_get_track(player))
FORWARD(libvlc_track_description_t*, video_get_spu_description, (libvlc_media_player_t * player), (player))
FORWARD(int, video_get_spu, (libvlc_media_player_t * player), (player))
FORWARD_ENTERED_RESULT(int, video_set_spu, (libvlc_media_player_t * player, int spu), (player, spu))
FORWARD(float, media_player_get_rate, (libvlc_media_player_t * player), (player))
FORWARD_CHOICE(media_player_set_rate, float, rate, "rate %g", (double)libvlc_media_player_get_rate(player))
/* The marquee's switch and text are logged as the library got them: "marquee_enable 1", "marquee_text
 * Volume 90 %%". */
void __cdecl bridge_video_set_marquee_int(libvlc_media_player_t* player, unsigned option, int value) {
    libvlc_video_set_marquee_int(player, option, value);
    if (option == libvlc_marquee_Enable) {
        bridge_log("marquee_enable %d", value);
    }
}
void __cdecl bridge_video_set_marquee_string(libvlc_media_player_t* player, unsigned option,
                                             const char* text) {
    libvlc_video_set_marquee_string(player, option, text);
    if (option == libvlc_marquee_Text) {
        bridge_log("marquee_text %s", text != NULL ? text : "");
    }
}
FORWARD(int, video_get_size,
        (libvlc_media_player_t * player, unsigned num, unsigned* width, unsigned* height),
        (player, num, width, height))

/* The player passes a Windows path in UTF-8; libvlc here needs the Unix one. Like the real library,
 * any path gives a media: one that Wine can't map (a missing folder) is handed over as it is, and
 * fails when it plays, as a missing file does. */
static char* unix_path_of(const char* path) {
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, NULL, 0);
    if (units <= 0) {
        return NULL;
    }
    WCHAR* wide = malloc(sizeof(WCHAR) * (size_t)units);
    if (wide == NULL) {
        return NULL;
    }
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, units);
    char* unixPath = wine_get_unix_file_name(wide);
    free(wide);
    return unixPath;
}

libvlc_media_t* __cdecl bridge_media_new_path(libvlc_instance_t* instance, const char* path) {
    if (instance == NULL || path == NULL) {
        return NULL;
    }
    char* unixPath = unix_path_of(path);
    libvlc_media_t* media = libvlc_media_new_path(instance, unixPath != NULL ? unixPath : path);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return media;
}

libvlc_media_player_t* __cdecl bridge_media_player_new(libvlc_instance_t* instance) {
    libvlc_media_player_t* player = libvlc_media_player_new(instance);
    if (player != NULL) {
        bridge_video_player_new(player);
    }
    return player;
}

void __cdecl bridge_media_player_retain(libvlc_media_player_t* player) {
    libvlc_media_player_retain(player);
    bridge_video_player_retained(player);
}

/* On the last reference, what is queued is delivered and the listeners go before libvlc's release,
 * which then ends quietly, as with the real library. */
void __cdecl bridge_media_player_release(libvlc_media_player_t* player) {
    if (player == NULL) {
        return;
    }
    void* last = bridge_video_player_releasing(player);
    if (last != NULL) {
        libvlc_event_manager_t* manager = libvlc_media_player_event_manager(player);
        bridge_event_settle(manager);
        bridge_event_forget(manager);
    }
    bridge_enter();
    libvlc_media_player_release(player);
    bridge_leave();
    bridge_video_free(last);
}

/* The window is not handed to libvlc, which has no Windows output here: frames come back to the
 * bridge, which paints them into it. */
void __cdecl bridge_media_player_set_hwnd(libvlc_media_player_t* player, void* window) {
    if (player != NULL) {
        bridge_video_attach(player, (HWND)window);
    }
}

int __cdecl bridge_media_player_play(libvlc_media_player_t* player) {
    bridge_enter();
    const int result = libvlc_media_player_play(player);
    bridge_leave();
    return result;
}

/* When stop returns, libvlc's threads for the clip are gone and every event they reported has been
 * delivered: nothing of the old clip arrives later. */
void __cdecl bridge_media_player_stop(libvlc_media_player_t* player) {
    bridge_enter();
    libvlc_media_player_stop(player);
    if (player != NULL) {
        bridge_event_settle(libvlc_media_player_event_manager(player));
    }
    bridge_leave();
}

int __cdecl bridge_event_attach_entry(libvlc_event_manager_t* manager, libvlc_event_type_t type,
                                      libvlc_callback_t callback, void* data) {
    return bridge_event_attach(manager, type, callback, data);
}

void __cdecl bridge_event_detach_entry(libvlc_event_manager_t* manager, libvlc_event_type_t type,
                                       libvlc_callback_t callback, void* data) {
    bridge_event_detach(manager, type, callback, data);
}

/* ---- file:// addresses ---- */

static int hex_digit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : -1;
}

/* The Windows path a file:// address names, decoded and as UTF-8: file:///Z:/a%20b is "Z:/a b",
 * file://server/share/x is "//server/share/x"; NULL for any other address. */
static char* windows_path_of_url(const char* url) {
    static const char scheme[] = "file://";
    if (strncmp(url, scheme, sizeof scheme - 1) != 0) {
        return NULL;
    }
    const char* rest = url + sizeof scheme - 1;
    char* path = malloc(strlen(rest) + 3);
    if (path == NULL) {
        return NULL;
    }
    char* out = path;
    if (rest[0] == '/') {
        ++rest; /* file:///Z:/... */
    } else {
        *out++ = '/'; /* a server's share */
        *out++ = '/';
    }
    for (; *rest != '\0'; ++rest) {
        if (rest[0] == '%' && hex_digit(rest[1]) >= 0 && hex_digit(rest[2]) >= 0) {
            *out++ = (char)(hex_digit(rest[1]) * 16 + hex_digit(rest[2]));
            rest += 2;
        } else {
            *out++ = *rest;
        }
    }
    *out = '\0';
    return path;
}

/* "file://" and the Unix path, every byte but the unreserved ones and '/' percent-encoded. */
static char* url_of_unix_path(const char* unixPath) {
    static const char hex[] = "0123456789ABCDEF";
    char* url = malloc(sizeof "file://" + 3 * strlen(unixPath));
    if (url == NULL) {
        return NULL;
    }
    strcpy(url, "file://");
    char* out = url + strlen(url);
    for (const unsigned char* p = (const unsigned char*)unixPath; *p != '\0'; ++p) {
        if ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z') || (*p >= '0' && *p <= '9') || *p == '-' ||
            *p == '.' || *p == '_' || *p == '~' || *p == '/') {
            *out++ = (char)*p;
        } else {
            *out++ = '%';
            *out++ = hex[*p >> 4];
            *out++ = hex[*p & 15];
        }
    }
    *out = '\0';
    return url;
}

/* The player names a Windows file; libvlc here reads the Unix file that Wine maps it to. An address
 * that names no file Wine knows is handed over as it is, and the library finds nothing there. */
int __cdecl bridge_media_player_add_slave(libvlc_media_player_t* player, libvlc_media_slave_type_t type,
                                          const char* url, int select) {
    if (player == NULL || url == NULL) {
        return -1;
    }
    char* windowsPath = windows_path_of_url(url);
    char* unixPath = windowsPath != NULL ? unix_path_of(windowsPath) : NULL;
    char* unixUrl = unixPath != NULL ? url_of_unix_path(unixPath) : NULL;
    bridge_enter();
    const int result =
        libvlc_media_player_add_slave(player, type, unixUrl != NULL ? unixUrl : url, select != 0);
    bridge_leave();
    free(unixUrl);
    HeapFree(GetProcessHeap(), 0, unixPath);
    free(windowsPath);
    return result;
}
