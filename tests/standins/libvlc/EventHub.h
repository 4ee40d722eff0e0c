#pragma once

#include <mutex>
#include <vector>

#include <vlc/vlc.h>

// The listeners of one media player. Like the real library's event manager, listeners are called on
// the thread that raises the event, one at a time, under the manager's lock: a listener never runs
// concurrently with another, and once detach returns the listener is not called again. The lock is
// recursive so that a listener may attach or detach (or raise another event) on its own thread.
namespace standin {

class EventHub {
public:
    EventHub() = default;
    EventHub(const EventHub&) = delete;
    EventHub& operator=(const EventHub&) = delete;

    int attach(libvlc_event_type_t type, libvlc_callback_t callback, void* data);
    void detach(libvlc_event_type_t type, libvlc_callback_t callback, void* data);
    void send(const libvlc_event_t& event);

    // True on a thread that is inside a listener right now (any media player's).
    static bool inDelivery();

private:
    struct Listener {
        libvlc_event_type_t type;
        libvlc_callback_t callback;
        void* data;
    };
    std::recursive_mutex lock_;
    std::vector<Listener> listeners_;
};

}  // namespace standin
