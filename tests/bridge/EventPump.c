/* Player events, carried from libvlc's threads onto a Wine thread of the bridge.
 *
 * libvlc calls back on its own pthreads, where nothing may call Win32 or the player's code: there an
 * event is only queued, the pump thread delivers it, and libvlc's thread waits for that, as it would
 * for its own callback. When libvlc reports an event on the caller's own thread, from inside a call
 * such as stop or set_time, it is delivered there and then, after whatever of the same player is still
 * queued, as the real library does. */
#include <errno.h>
#include <pthread.h>
#include <stdlib.h>
#include <string.h>

#include "Bridge.h"

typedef struct Registration {
    struct Registration* next;
    libvlc_event_manager_t* manager;
    libvlc_event_type_t type;
    libvlc_callback_t callback; /* the caller's, a Windows function */
    void* data;
    int active;
    int held;         /* events queued or being delivered: the registration stays while any is */
    int running;      /* calls under way */
    int freeWhenIdle; /* detached while still held */
} Registration;

typedef struct Queued {
    struct Queued* next;
    Registration* registration;
    libvlc_event_t event;
    int waited; /* a libvlc thread waits for it, and owns it */
    int done;
} Queued;

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t changed = PTHREAD_COND_INITIALIZER;
static Registration* registrations;
static Queued* head;
static Queued* tail;
static int pumpStarted;

/* Set while this thread is inside a bridge entry (a Wine thread of the caller), and while it runs a
 * callback. */
static __thread int insideEntry;
static __thread Registration* delivering;

void bridge_enter(void) {
    ++insideEntry;
}
void bridge_leave(void) {
    --insideEntry;
}

static void unlink_registration(Registration* registration) {
    for (Registration** at = &registrations; *at != NULL; at = &(*at)->next) {
        if (*at == registration) {
            *at = registration->next;
            return;
        }
    }
}

/* An item leaves: a waiting libvlc thread is let go, any other item is freed. */
static void finish(Queued* item) {
    if (item->waited) {
        item->done = 1;
    } else {
        free(item);
    }
    pthread_cond_broadcast(&changed);
}

/* Runs the caller's callback with the lock released; the item holds its registration. */
static void deliver(Queued* item) {
    Registration* registration = item->registration;
    if (registration->active) {
        ++registration->running;
        pthread_mutex_unlock(&lock);
        Registration* outer = delivering;
        delivering = registration;
        registration->callback(&item->event, registration->data);
        delivering = outer;
        pthread_mutex_lock(&lock);
        --registration->running;
    }
    if (--registration->held == 0 && registration->freeWhenIdle) {
        free(registration);
    }
    finish(item);
}

/* Takes out of the queue, in order, what belongs to manager (all of it with NULL). */
static Queued* take_queued(libvlc_event_manager_t* manager) {
    Queued* taken = NULL;
    Queued** end = &taken;
    Queued** at = &head;
    tail = NULL;
    while (*at != NULL) {
        if (manager == NULL || (*at)->registration->manager == manager) {
            Queued* item = *at;
            *at = item->next;
            item->next = NULL;
            *end = item;
            end = &item->next;
        } else {
            tail = *at;
            at = &(*at)->next;
        }
    }
    return taken;
}

static int busy_for(libvlc_event_manager_t* manager) {
    for (Registration* r = registrations; r != NULL; r = r->next) {
        if (r->manager == manager && r->running > 0) {
            return 1;
        }
    }
    return 0;
}

/* On the caller's thread: waits out a callback of manager that the pump runs, then delivers here
 * what is still queued for it, and finally `last` if there is one. */
static void deliver_here(libvlc_event_manager_t* manager, Queued* last) {
    pthread_mutex_lock(&lock);
    while (delivering == NULL && busy_for(manager)) {
        pthread_cond_wait(&changed, &lock);
    }
    Queued* item = take_queued(manager);
    if (last != NULL) {
        Queued** end = &item;
        while (*end != NULL) {
            end = &(*end)->next;
        }
        *end = last;
    }
    while (item != NULL) {
        Queued* next = item->next;
        deliver(item);
        item = next;
    }
    pthread_mutex_unlock(&lock);
}

void bridge_event_settle(libvlc_event_manager_t* manager) {
    if (manager != NULL) {
        deliver_here(manager, NULL);
    }
}

/* From inside a bridge entry the event is delivered on the caller's thread. On a libvlc thread (memory
 * and pthreads only) it is queued, and the thread waits until the pump has delivered it: libvlc goes on
 * only after the callback, as when it calls back itself, so the callback sees the player as it was. */
static void on_native_event(const libvlc_event_t* event, void* data) {
    Registration* registration = data;
    if (event->type == libvlc_MediaPlayerTimeChanged) {
        bridge_log("time %lld", (long long)event->u.media_player_time_changed.new_time);
    }
    if (insideEntry) {
        Queued* item = calloc(1, sizeof *item);
        if (item == NULL) {
            return;
        }
        item->registration = registration;
        item->event = *event;
        pthread_mutex_lock(&lock);
        ++registration->held;
        pthread_mutex_unlock(&lock);
        deliver_here(registration->manager, item);
        return;
    }
    Queued item;
    memset(&item, 0, sizeof item);
    item.registration = registration;
    item.event = *event;
    item.waited = 1;
    pthread_mutex_lock(&lock);
    ++registration->held;
    if (tail != NULL) {
        tail->next = &item;
    } else {
        head = &item;
    }
    tail = &item;
    pthread_cond_broadcast(&changed);
    while (!item.done) {
        pthread_cond_wait(&changed, &lock);
    }
    pthread_mutex_unlock(&lock);
}

static DWORD WINAPI pump(void* unused) {
    (void)unused;
    pthread_mutex_lock(&lock);
    for (;;) {
        while (head == NULL) {
            pthread_cond_wait(&changed, &lock);
        }
        Queued* item = head;
        head = item->next;
        if (head == NULL) {
            tail = NULL;
        }
        deliver(item);
    }
    return 0;
}

int bridge_event_attach(libvlc_event_manager_t* manager, libvlc_event_type_t type, libvlc_callback_t callback,
                        void* data) {
    Registration* registration = calloc(1, sizeof *registration);
    if (registration == NULL) {
        return ENOMEM;
    }
    registration->manager = manager;
    registration->type = type;
    registration->callback = callback;
    registration->data = data;
    registration->active = 1;
    pthread_mutex_lock(&lock);
    if (!pumpStarted) {
        HANDLE thread = CreateThread(NULL, 0, pump, NULL, 0, NULL);
        if (thread != NULL) {
            CloseHandle(thread);
            pumpStarted = 1;
        }
    }
    const int started = pumpStarted;
    if (started) {
        registration->next = registrations;
        registrations = registration;
    }
    pthread_mutex_unlock(&lock);
    if (!started) {
        free(registration);
        return ENOMEM;
    }
    const int result = libvlc_event_attach(manager, type, on_native_event, registration);
    if (result != 0) {
        pthread_mutex_lock(&lock);
        unlink_registration(registration);
        pthread_mutex_unlock(&lock);
        free(registration);
    }
    return result;
}

/* For a registration that no libvlc thread queues for any more: what is queued is dropped and a
 * call under way is waited out, unless this thread is inside a callback itself (waiting could then
 * never end): the registration then goes with its last event. */
static void retire(Registration* registration) {
    pthread_mutex_lock(&lock);
    registration->active = 0;
    Queued** at = &head;
    tail = NULL;
    while (*at != NULL) {
        if ((*at)->registration == registration) {
            Queued* gone = *at;
            *at = gone->next;
            --registration->held;
            finish(gone);
        } else {
            tail = *at;
            at = &(*at)->next;
        }
    }
    if (registration->held > 0 && delivering != NULL) {
        registration->freeWhenIdle = 1;
        pthread_mutex_unlock(&lock);
        return;
    }
    while (registration->held > 0) {
        pthread_cond_wait(&changed, &lock);
    }
    pthread_mutex_unlock(&lock);
    free(registration);
}

void bridge_event_detach(libvlc_event_manager_t* manager, libvlc_event_type_t type,
                         libvlc_callback_t callback, void* data) {
    pthread_mutex_lock(&lock);
    Registration* registration = registrations;
    while (registration != NULL && !(registration->manager == manager && registration->type == type &&
                                     registration->callback == callback && registration->data == data)) {
        registration = registration->next;
    }
    if (registration != NULL) {
        unlink_registration(registration);
    }
    pthread_mutex_unlock(&lock);
    if (registration != NULL) {
        libvlc_event_detach(manager, type, on_native_event, registration);
        retire(registration);
    }
}

void bridge_event_forget(libvlc_event_manager_t* manager) {
    for (;;) {
        pthread_mutex_lock(&lock);
        Registration* registration = registrations;
        while (registration != NULL && registration->manager != manager) {
            registration = registration->next;
        }
        if (registration != NULL) {
            unlink_registration(registration);
        }
        pthread_mutex_unlock(&lock);
        if (registration == NULL) {
            return;
        }
        libvlc_event_detach(manager, registration->type, on_native_event, registration);
        retire(registration);
    }
}
