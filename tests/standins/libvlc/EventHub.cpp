#include "EventHub.h"

#include <algorithm>

namespace standin {
namespace {

thread_local int deliveryDepth = 0;

struct DeliveryScope {
    DeliveryScope() { ++deliveryDepth; }
    ~DeliveryScope() { --deliveryDepth; }
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;
};

}  // namespace

int EventHub::attach(libvlc_event_type_t type, libvlc_callback_t callback, void* data) {
    if (callback == nullptr) {
        return -1;
    }
    std::lock_guard<std::recursive_mutex> guard(lock_);
    listeners_.push_back(Listener{type, callback, data});
    return 0;
}

void EventHub::detach(libvlc_event_type_t type, libvlc_callback_t callback, void* data) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    auto found = std::find_if(listeners_.begin(), listeners_.end(), [&](const Listener& l) {
        return l.type == type && l.callback == callback && l.data == data;
    });
    if (found != listeners_.end()) {
        listeners_.erase(found);
    }
}

void EventHub::send(const libvlc_event_t& event) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    // A copy, because a listener may attach or detach while we walk the list.
    const std::vector<Listener> current = listeners_;
    DeliveryScope scope;
    for (const Listener& l : current) {
        if (l.type == event.type) {
            l.callback(&event, l.data);
        }
    }
}

bool EventHub::inDelivery() {
    return deliveryDepth > 0;
}

}  // namespace standin
