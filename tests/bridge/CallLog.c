/* What the library did, for the end-to-end tests: with VELMORA_BRIDGE_LOG naming a Windows file in the
 * player's environment, the bridge appends a line there for every time report libvlc makes ("time 5250",
 * written on libvlc's thread as it reports, before the player hears of it), for every seek the player
 * asks for ("set_time 15000"), for the track, rate, chapter and delays libvlc reads back after the player
 * chooses one ("audio_track 2", "rate 1.5", "chapter 1", "spu_delay -100000" in microseconds), and for the
 * marquee's switch and every text the player writes on the picture ("marquee_enable 1", "marquee_text Muted",
 * as the library's formatter gets it: a '%' doubled). A test reads the library's own answers from it instead
 * of guessing them from the screen. */
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>

#include "Bridge.h"

extern char* CDECL wine_get_unix_file_name(LPCWSTR dosName);

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static FILE* file;
static int opened;

void bridge_log_open(void) {
    pthread_mutex_lock(&lock);
    if (!opened) {
        opened = 1;
        WCHAR path[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(L"VELMORA_BRIDGE_LOG", path, MAX_PATH);
        char* unixPath = length > 0 && length < MAX_PATH ? wine_get_unix_file_name(path) : NULL;
        if (unixPath != NULL) {
            file = fopen(unixPath, "a");
            HeapFree(GetProcessHeap(), 0, unixPath);
        }
    }
    pthread_mutex_unlock(&lock);
}

void bridge_log(const char* format, ...) {
    pthread_mutex_lock(&lock);
    if (file != NULL) {
        va_list args;
        va_start(args, format);
        vfprintf(file, format, args);
        va_end(args);
        fputc('\n', file);
        fflush(file);
    }
    pthread_mutex_unlock(&lock);
}
