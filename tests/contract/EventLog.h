#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include <vlc/vlc.h>

// Records the media player events a test listens to: which, on which thread, and (for the playing
// event) what the player answered at that moment, or (for a stream added or selected) which stream.
// Waits are bounded so that a missing event fails the test instead of hanging it.
namespace contract {

struct Recorded {
    libvlc_event_type_t type;
    bool onCallerThread;
    std::int64_t newTime;       // time changed only
    int videoTracksInside;      // playing only: the track count asked from inside the listener
    std::int64_t lengthInside;  // playing only
    int volumeInside;           // playing only
    int esType = -2;            // stream added or selected only: libvlc_track_type_t
    int esId = -2;              // and the stream's id (-1: none selected)
    std::chrono::steady_clock::time_point at{};  // when it arrived
};

class EventLog {
public:
    explicit EventLog(libvlc_media_player_t* player) : player_(player), caller_(std::this_thread::get_id()) {}

    static void listener(const libvlc_event_t* event, void* data) {
        static_cast<EventLog*>(data)->record(*event);
    }

    std::vector<Recorded> all() {
        std::lock_guard<std::mutex> guard(lock_);
        return events_;
    }

    // The recorded types in order, leaving out time changes.
    std::vector<libvlc_event_type_t> milestones() {
        std::vector<libvlc_event_type_t> types;
        for (const Recorded& r : all()) {
            if (r.type != libvlc_MediaPlayerTimeChanged) {
                types.push_back(r.type);
            }
        }
        return types;
    }

    // The recorded events of that type, in order.
    std::vector<Recorded> of(libvlc_event_type_t type) {
        std::vector<Recorded> found;
        for (const Recorded& r : all()) {
            if (r.type == type) {
                found.push_back(r);
            }
        }
        return found;
    }

    int count(libvlc_event_type_t type) { return static_cast<int>(of(type).size()); }

    int total() {
        std::lock_guard<std::mutex> guard(lock_);
        return static_cast<int>(events_.size());
    }

    // True once `type` has been recorded at least `n` times; false after `timeout`.
    bool waitFor(libvlc_event_type_t type, int n = 1,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> guard(lock_);
        return changed_.wait_for(guard, timeout, [&] {
            int seen = 0;
            for (const Recorded& r : events_) {
                seen += r.type == type ? 1 : 0;
            }
            return seen >= n;
        });
    }

private:
    void record(const libvlc_event_t& event) {
        Recorded r{event.type, std::this_thread::get_id() == caller_, 0, -2, -2, -2};
        if (event.type == libvlc_MediaPlayerTimeChanged) {
            r.newTime = event.u.media_player_time_changed.new_time;
        }
        r.at = std::chrono::steady_clock::now();
        if (event.type == libvlc_MediaPlayerESAdded || event.type == libvlc_MediaPlayerESSelected) {
            r.esType = event.u.media_player_es_changed.i_type;
            r.esId = event.u.media_player_es_changed.i_id;
        }
        if (event.type == libvlc_MediaPlayerPlaying) {
            // Safe here: no test stops the player while a playing event may still be under way.
            r.videoTracksInside = libvlc_video_get_track_count(player_);
            r.lengthInside = libvlc_media_player_get_length(player_);
            r.volumeInside = libvlc_audio_get_volume(player_);
        }
        std::lock_guard<std::mutex> guard(lock_);
        events_.push_back(r);
        changed_.notify_all();
    }

    libvlc_media_player_t* const player_;
    const std::thread::id caller_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Recorded> events_;
};

}  // namespace contract
