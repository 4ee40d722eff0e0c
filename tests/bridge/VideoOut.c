/* Video through the bridge: libvlc decodes RV32 frames into memory (its vmem output), and the
 * latest frame is painted into the player's window, scaled to fit with black bars. libvlc's own
 * threads only copy frames; the painting happens on a Wine thread of the bridge and, for WM_PAINT,
 * on the window's own thread. */
#include <pthread.h>
#include <stdlib.h>
#include <string.h>

#include "Bridge.h"

typedef struct Painter {
    struct Painter* next;
    libvlc_media_player_t* player;
    int references;
    HWND window;
    WNDPROC previous;
    HANDLE thread;

    pthread_mutex_t lock; /* guards everything below */
    pthread_cond_t wake;
    unsigned pitch, lines; /* of the buffers libvlc decodes into */
    unsigned char* decoding;
    unsigned char* latest; /* the last complete frame, kept for repaints */
    int haveFrame;
    int newFrame;
    unsigned formats;     /* counts the formats libvlc set up */
    unsigned shapeFormat; /* the format whose picture size and aspect are known */
    int quit;
    unsigned visibleWidth, visibleHeight; /* the picture inside the buffer */
    double aspect;                        /* width / height as shown */
} Painter;

static pthread_mutex_t listLock = PTHREAD_MUTEX_INITIALIZER;
static Painter* painters;

static Painter* find_painter(libvlc_media_player_t* player) {
    Painter* painter = painters;
    while (painter != NULL && painter->player != player) {
        painter = painter->next;
    }
    return painter;
}

static Painter* painter_of_window(HWND window) {
    pthread_mutex_lock(&listLock);
    Painter* painter = painters;
    while (painter != NULL && painter->window != window) {
        painter = painter->next;
    }
    pthread_mutex_unlock(&listLock);
    return painter;
}

/* ---- libvlc's threads: memory only ---- */

static unsigned format_setup(void** opaque, char* chroma, unsigned* width, unsigned* height,
                             unsigned* pitches, unsigned* lines) {
    Painter* painter = *opaque;
    memcpy(chroma, "RV32", 4);
    pthread_mutex_lock(&painter->lock);
    free(painter->decoding);
    free(painter->latest);
    painter->pitch = *width * 4;
    painter->lines = *height;
    painter->decoding = calloc(painter->lines, painter->pitch);
    painter->latest = calloc(painter->lines, painter->pitch);
    painter->haveFrame = 0;
    ++painter->formats;
    painter->visibleWidth = *width;
    painter->visibleHeight = *height;
    painter->aspect = *height ? (double)*width / *height : 1.0;
    const int ok = painter->decoding != NULL && painter->latest != NULL;
    pthread_mutex_unlock(&painter->lock);
    pitches[0] = *width * 4;
    lines[0] = *height;
    return ok ? 1 : 0;
}

static void format_cleanup(void* opaque) {
    Painter* painter = opaque;
    pthread_mutex_lock(&painter->lock);
    painter->haveFrame = 0;
    pthread_mutex_unlock(&painter->lock);
}

static void* frame_lock(void* opaque, void** planes) {
    Painter* painter = opaque;
    planes[0] = painter->decoding;
    return NULL;
}

static void frame_display(void* opaque, void* picture) {
    (void)picture;
    Painter* painter = opaque;
    pthread_mutex_lock(&painter->lock);
    if (painter->decoding != NULL && painter->latest != NULL) {
        memcpy(painter->latest, painter->decoding, (size_t)painter->pitch * painter->lines);
        painter->haveFrame = 1;
        painter->newFrame = 1;
        pthread_cond_signal(&painter->wake);
    }
    pthread_mutex_unlock(&painter->lock);
}

/* ---- Wine threads ---- */

/* The picture's own size and sample aspect, from the playing media's video track, asked of libvlc
 * outside the lock: the buffers libvlc decodes into may have more lines (320 x 256 for 320 x 240).
 * False while the track doesn't tell yet. */
static int read_shape(Painter* painter) {
    unsigned width = 0, height = 0, sarNum = 1, sarDen = 1;
    libvlc_media_t* media = libvlc_media_player_get_media(painter->player);
    if (media != NULL) {
        libvlc_media_track_t** tracks = NULL;
        const unsigned count = libvlc_media_tracks_get(media, &tracks);
        for (unsigned i = 0; i < count; ++i) {
            if (tracks[i]->i_type == libvlc_track_video && tracks[i]->video->i_width != 0 &&
                tracks[i]->video->i_height != 0) {
                width = tracks[i]->video->i_width;
                height = tracks[i]->video->i_height;
                if (tracks[i]->video->i_sar_num != 0 && tracks[i]->video->i_sar_den != 0) {
                    sarNum = tracks[i]->video->i_sar_num;
                    sarDen = tracks[i]->video->i_sar_den;
                }
                break;
            }
        }
        if (count > 0) {
            libvlc_media_tracks_release(tracks, count);
        }
        libvlc_media_release(media);
    }
    if (width == 0 || height == 0) {
        return 0;
    }
    pthread_mutex_lock(&painter->lock);
    if (width * 4 <= painter->pitch && height <= painter->lines) {
        painter->visibleWidth = width;
        painter->visibleHeight = height;
        painter->aspect = (double)width * sarNum / ((double)height * sarDen);
    }
    pthread_mutex_unlock(&painter->lock);
    return 1;
}

/* Draws the latest frame into dc, letterboxed into the window's client area. */
static void paint(Painter* painter, HWND window, HDC dc) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) {
        return;
    }
    pthread_mutex_lock(&painter->lock);
    if (!painter->haveFrame || painter->visibleHeight == 0) {
        pthread_mutex_unlock(&painter->lock);
        return;
    }
    int width = client.right, height = client.bottom;
    int shownWidth = width, shownHeight = (int)(width / painter->aspect + 0.5);
    if (shownHeight > height) {
        shownHeight = height;
        shownWidth = (int)(height * painter->aspect + 0.5);
    }
    const int left = (width - shownWidth) / 2, top = (height - shownHeight) / 2;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = (LONG)(painter->pitch / 4);
    info.bmiHeader.biHeight = -(LONG)painter->visibleHeight; /* top-down, the visible rows only */
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, HALFTONE);
    StretchDIBits(dc, left, top, shownWidth, shownHeight, 0, 0, (int)painter->visibleWidth,
                  (int)painter->visibleHeight, painter->latest, &info, DIB_RGB_COLORS, SRCCOPY);
    pthread_mutex_unlock(&painter->lock);

    HBRUSH black = GetStockObject(BLACK_BRUSH);
    RECT bars[4] = {{0, 0, width, top},
                    {0, top + shownHeight, width, height},
                    {0, top, left, top + shownHeight},
                    {left + shownWidth, top, width, top + shownHeight}};
    for (int i = 0; i < 4; ++i) {
        if (bars[i].right > bars[i].left && bars[i].bottom > bars[i].top) {
            FillRect(dc, &bars[i], black);
        }
    }
}

static DWORD WINAPI paint_frames(void* argument) {
    Painter* painter = argument;
    pthread_mutex_lock(&painter->lock);
    for (;;) {
        while (!painter->newFrame && !painter->quit) {
            pthread_cond_wait(&painter->wake, &painter->lock);
        }
        if (painter->quit) {
            break;
        }
        painter->newFrame = 0;
        const unsigned format = painter->formats;
        const int shapeKnown = painter->shapeFormat == format;
        pthread_mutex_unlock(&painter->lock);
        if (!shapeKnown && read_shape(painter)) {
            pthread_mutex_lock(&painter->lock);
            painter->shapeFormat = format;
            pthread_mutex_unlock(&painter->lock);
        }
        pthread_mutex_lock(&listLock);
        HWND window = painter->window;
        pthread_mutex_unlock(&listLock);
        HDC dc = window != NULL ? GetDC(window) : NULL;
        if (dc != NULL) {
            paint(painter, window, dc);
            ReleaseDC(window, dc);
        }
        pthread_mutex_lock(&painter->lock);
    }
    pthread_mutex_unlock(&painter->lock);
    return 0;
}

/* The window keeps its last frame through repaints, resizes and pauses: the background erase would
 * wipe a paused picture, so it is skipped while there is one. */
static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Painter* painter = painter_of_window(window);
    if (painter == NULL) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    WNDPROC previous = painter->previous;
    switch (message) {
        case WM_ERASEBKGND: {
            pthread_mutex_lock(&painter->lock);
            const int haveFrame = painter->haveFrame;
            pthread_mutex_unlock(&painter->lock);
            if (haveFrame) {
                return 1;
            }
            break;
        }
        case WM_PAINT: {
            pthread_mutex_lock(&painter->lock);
            const int haveFrame = painter->haveFrame;
            pthread_mutex_unlock(&painter->lock);
            if (!haveFrame) {
                break;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            paint(painter, window, dc);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_SIZE:
            InvalidateRect(window, NULL, FALSE);
            break;
        case WM_NCDESTROY:
            pthread_mutex_lock(&listLock);
            painter->window = NULL;
            pthread_mutex_unlock(&listLock);
            SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)previous);
            break;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

static void unhook_window(Painter* painter) {
    HWND window = painter->window;
    if (window != NULL && IsWindow(window) &&
        GetWindowLongPtrW(window, GWLP_WNDPROC) == (LONG_PTR)window_proc) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)painter->previous);
    }
    painter->window = NULL;
}

void bridge_video_player_new(libvlc_media_player_t* player) {
    Painter* painter = calloc(1, sizeof *painter);
    if (painter == NULL) {
        return;
    }
    painter->player = player;
    painter->references = 1;
    pthread_mutex_init(&painter->lock, NULL);
    pthread_cond_init(&painter->wake, NULL);
    pthread_mutex_lock(&listLock);
    painter->next = painters;
    painters = painter;
    pthread_mutex_unlock(&listLock);
}

void bridge_video_attach(libvlc_media_player_t* player, HWND window) {
    pthread_mutex_lock(&listLock);
    Painter* painter = find_painter(player);
    if (painter != NULL) {
        unhook_window(painter);
        painter->window = window;
    }
    pthread_mutex_unlock(&listLock);
    if (painter == NULL || window == NULL) {
        return;
    }
    painter->previous = (WNDPROC)SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)window_proc);
    if (painter->thread == NULL) {
        painter->thread = CreateThread(NULL, 0, paint_frames, painter, 0, NULL);
        libvlc_video_set_callbacks(player, frame_lock, NULL, frame_display, painter);
        libvlc_video_set_format_callbacks(player, format_setup, format_cleanup);
    }
}

void bridge_video_player_retained(libvlc_media_player_t* player) {
    pthread_mutex_lock(&listLock);
    Painter* painter = find_painter(player);
    if (painter != NULL) {
        ++painter->references;
    }
    pthread_mutex_unlock(&listLock);
}

/* Called before libvlc's own release. On the last reference the painting thread ends and the window
 * gets its procedure back; the buffers go only after libvlc has stopped calling back. */
void* bridge_video_player_releasing(libvlc_media_player_t* player) {
    pthread_mutex_lock(&listLock);
    Painter* painter = find_painter(player);
    if (painter == NULL || --painter->references > 0) {
        pthread_mutex_unlock(&listLock);
        return NULL;
    }
    for (Painter** at = &painters; *at != NULL; at = &(*at)->next) {
        if (*at == painter) {
            *at = painter->next;
            break;
        }
    }
    unhook_window(painter);
    pthread_mutex_unlock(&listLock);
    if (painter->thread != NULL) {
        pthread_mutex_lock(&painter->lock);
        painter->quit = 1;
        pthread_cond_signal(&painter->wake);
        pthread_mutex_unlock(&painter->lock);
        WaitForSingleObject(painter->thread, INFINITE);
        CloseHandle(painter->thread);
    }
    return painter;
}

void bridge_video_free(void* released) {
    Painter* painter = released;
    if (painter == NULL) {
        return;
    }
    free(painter->decoding);
    free(painter->latest);
    pthread_mutex_destroy(&painter->lock);
    pthread_cond_destroy(&painter->wake);
    free(painter);
}
