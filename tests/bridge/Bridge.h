/* The libvlc.dll bridge: a Wine builtin DLL whose entry points forward to Debian's native libvlc.
 *
 * Native libvlc calls back on its own pthreads, which are not Wine threads: nothing there may call
 * Win32 or the player's code. Events are therefore queued and delivered on a thread of the bridge's
 * own (EventPump.c), and decoded frames are painted into the player's window by another (VideoOut.c). */
#pragma once

#include <windows.h>

#include <vlc/vlc.h>

/* Events: attach and detach in place of libvlc's own. Detach returns only when no callback of that
 * registration runs any more (unless called from inside one, where it only stops further calls). */
int bridge_event_attach(libvlc_event_manager_t* manager, libvlc_event_type_t type, libvlc_callback_t callback,
                        void* data);
void bridge_event_detach(libvlc_event_manager_t* manager, libvlc_event_type_t type,
                         libvlc_callback_t callback, void* data);

/* Around a call into libvlc from the caller's thread: an event libvlc reports from inside it is
 * delivered there and then, as the real library does. */
void bridge_enter(void);
void bridge_leave(void);
/* Delivers what is still queued for manager's player, once its libvlc threads are done (stop). */
void bridge_event_settle(libvlc_event_manager_t* manager);
/* Before the last release of manager's player: its listeners are detached and what is queued goes. */
void bridge_event_forget(libvlc_event_manager_t* manager);

/* Video: decodes into memory and paints the latest frame into the window, letterboxed. The record
 * of a player also counts its references, so that the bridge knows its last release. */
void bridge_video_player_new(libvlc_media_player_t* player);
void bridge_video_attach(libvlc_media_player_t* player, HWND window);
void bridge_video_player_retained(libvlc_media_player_t* player);
/* Before libvlc's own release: on the last reference the painting ends and the record is handed
 * back, to be freed with bridge_video_free once libvlc has released the player; otherwise NULL. */
void* bridge_video_player_releasing(libvlc_media_player_t* player);
void bridge_video_free(void* released);

/* The log of what the library did, for the end-to-end tests (CallLog.c): opened by the first libvlc_new
 * when VELMORA_BRIDGE_LOG names a file, written from any thread; nothing without it. */
void bridge_log_open(void);
void bridge_log(const char* format, ...) __attribute__((format(printf, 1, 2)));
