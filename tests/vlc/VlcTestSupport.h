#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/TestClips.h"
#include "common/WaitUntil.h"
#include "playback/VlcApi.h"
#include "playback/VlcPlatform.h"
#include "playback/VlcPlayer.h"

namespace vlctest {

using namespace std::chrono_literals;

// No display and no sound card here: the library must neither open a window nor an audio device.
inline std::vector<std::string> headlessArguments() {
    return {"--aout=dummy", "--vout=dummy"};
}

// The dummy audio output has no volume or mute of its own; ALSA's "null" device discards the sound
// but keeps a working software volume and mute.
inline std::vector<std::string> silentAudioArguments() {
    return {"--aout=alsa", "--alsa-audio-device=null", "--vout=dummy"};
}

inline std::wstring widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

inline std::wstring clip(const std::string& name) {
    return textFromUtf8(testclips::path(name).c_str());
}

using testwait::waitUntil;

// Collects the events the library delivers on its own thread. The player's callback gets null user
// data, so the recorder is one object for the whole program.
class EventRecorder {
public:
    static EventRecorder& instance() {
        static EventRecorder recorder;
        return recorder;
    }

    static void record(int type) { instance().add(type); }

    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        types_.clear();
    }

    bool seen(int type) {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::find(types_.begin(), types_.end(), type) != types_.end();
    }

    bool waitFor(int type, std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(
            lock, limit, [&] { return std::find(types_.begin(), types_.end(), type) != types_.end(); });
    }

private:
    void add(int type) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            types_.push_back(type);
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> types_;
};

// What the player asked of the library, in order, as seen by the counting table.
struct CallLog {
    std::mutex mutex;
    std::vector<std::string> calls;
    std::vector<std::string> newArguments;  // the arguments of the last libvlc_new
    std::string lastPath;                   // the last path given to libvlc_media_new_path
    std::vector<int> attachedEvents;
    std::vector<std::string> inputSwitches;  // "key 0", "mouse 0": which input, switched on or off
    std::uint32_t outputWindow = 0;          // the last window handed to the library
    std::vector<std::string> marquee;        // "Timeout 2000", "Text Speed: 2×", "Enable 1"
    std::string lastSlave;                   // the last address given to libvlc_media_player_add_slave

    void record(const char* name) {
        std::lock_guard<std::mutex> lock(mutex);
        calls.emplace_back(name);
    }
    int count(const std::string& name) {
        std::lock_guard<std::mutex> lock(mutex);
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }
    std::vector<std::string> snapshot() {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex);
        calls.clear();
        newArguments.clear();
        lastPath.clear();
        attachedEvents.clear();
        inputSwitches.clear();
        outputWindow = 0;
        marquee.clear();
        lastSlave.clear();
    }
};

inline CallLog& callLog() {
    static CallLog log;
    return log;
}

// Library answers a test can force in the counting table.
struct Faults {
    bool noInstance = false;
    bool noMediaPlayer = false;
    bool noEventManager = false;
    bool noMedia = false;
    std::optional<int> trackCount;
    std::optional<int> setVolumeResult;
};

inline Faults& faults() {
    static Faults f;
    return f;
}

inline const VlcApi& realApi() {
    return *loadVlcApi();
}

#define VELMORA_TEST_COUNTED_ENTRY(name)     \
    table.name = [](auto... arguments) {     \
        callLog().record(#name);             \
        return realApi().name(arguments...); \
    };

// The real library behind a table that logs every call and can be told to fail.
inline VlcApi makeCountingApi() {
    VlcApi table{};
    VELMORA_VLC_ENTRIES(VELMORA_TEST_COUNTED_ENTRY)
    VELMORA_VLC_OPTIONAL_ENTRIES(VELMORA_TEST_COUNTED_ENTRY)
    table.libvlc_new = [](int argc, const char* const* argv) -> libvlc_instance_t* {
        callLog().record("libvlc_new");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().newArguments.assign(argv, argv + argc);
        }
        return faults().noInstance ? nullptr : realApi().libvlc_new(argc, argv);
    };
    table.libvlc_media_player_new = [](libvlc_instance_t* instance) -> libvlc_media_player_t* {
        callLog().record("libvlc_media_player_new");
        return faults().noMediaPlayer ? nullptr : realApi().libvlc_media_player_new(instance);
    };
    table.libvlc_media_player_event_manager = [](libvlc_media_player_t* player) -> libvlc_event_manager_t* {
        callLog().record("libvlc_media_player_event_manager");
        return faults().noEventManager ? nullptr : realApi().libvlc_media_player_event_manager(player);
    };
    table.libvlc_media_new_path = [](libvlc_instance_t* instance, const char* path) -> libvlc_media_t* {
        callLog().record("libvlc_media_new_path");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().lastPath = path;
        }
        return faults().noMedia ? nullptr : realApi().libvlc_media_new_path(instance, path);
    };
    table.libvlc_video_get_track_count = [](libvlc_media_player_t* player) {
        callLog().record("libvlc_video_get_track_count");
        return faults().trackCount ? *faults().trackCount : realApi().libvlc_video_get_track_count(player);
    };
    table.libvlc_audio_set_volume = [](libvlc_media_player_t* player, int volume) {
        callLog().record("libvlc_audio_set_volume");
        int result = realApi().libvlc_audio_set_volume(player, volume);
        return faults().setVolumeResult ? *faults().setVolumeResult : result;
    };
    table.libvlc_event_attach = [](libvlc_event_manager_t* manager, libvlc_event_type_t type,
                                   libvlc_callback_t callback, void* data) {
        callLog().record("libvlc_event_attach");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().attachedEvents.push_back(type);
        }
        return realApi().libvlc_event_attach(manager, type, callback, data);
    };
    table.libvlc_video_set_key_input = [](libvlc_media_player_t* player, unsigned on) {
        callLog().record("libvlc_video_set_key_input");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().inputSwitches.push_back("key " + std::to_string(on));
        }
        realApi().libvlc_video_set_key_input(player, on);
    };
    table.libvlc_video_set_mouse_input = [](libvlc_media_player_t* player, unsigned on) {
        callLog().record("libvlc_video_set_mouse_input");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().inputSwitches.push_back("mouse " + std::to_string(on));
        }
        realApi().libvlc_video_set_mouse_input(player, on);
    };
    table.libvlc_media_player_set_xwindow = [](libvlc_media_player_t* player, std::uint32_t window) {
        callLog().record("libvlc_media_player_set_xwindow");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().outputWindow = window;
        }
        realApi().libvlc_media_player_set_xwindow(player, window);
    };
    table.libvlc_video_set_marquee_int = [](libvlc_media_player_t* player, unsigned option, int value) {
        static const char* const names[] = {"Enable",  "Text", "Color",   "Opacity", "Position",
                                            "Refresh", "Size", "Timeout", "X",       "Y"};
        callLog().record("libvlc_video_set_marquee_int");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().marquee.push_back(std::string(option < 10 ? names[option] : "?") + " " +
                                        std::to_string(value));
        }
        realApi().libvlc_video_set_marquee_int(player, option, value);
    };
    table.libvlc_video_set_marquee_string = [](libvlc_media_player_t* player, unsigned option,
                                               const char* text) {
        callLog().record("libvlc_video_set_marquee_string");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().marquee.push_back((option == libvlc_marquee_Text ? "Text " : "? ") + std::string(text));
        }
        realApi().libvlc_video_set_marquee_string(player, option, text);
    };
    table.libvlc_media_player_add_slave = [](libvlc_media_player_t* player, libvlc_media_slave_type_t type,
                                             const char* url, bool select) {
        callLog().record("libvlc_media_player_add_slave");
        {
            std::lock_guard<std::mutex> lock(callLog().mutex);
            callLog().lastSlave = url;
        }
        return realApi().libvlc_media_player_add_slave(player, type, url, select);
    };
    return table;
}

inline const VlcApi* countingApi() {
    static const VlcApi table = makeCountingApi();
    return &table;
}

#define VELMORA_TEST_MISSING_ENTRY(name) table.name = nullptr;

// The counting table as an older or trimmed library gives it: without the optional entries that
// `remove` takes out, or without any.
inline VlcApi countingApiWithout(void (*remove)(VlcApi&) = nullptr) {
    VlcApi table = *countingApi();
    if (remove != nullptr) {
        remove(table);
    } else {
        VELMORA_VLC_OPTIONAL_ENTRIES(VELMORA_TEST_MISSING_ENTRY)
    }
    return table;
}

// Puts a table in front of the library for one test and leaves everything clean afterwards.
class ApiScope {
public:
    explicit ApiScope(const VlcApi* api) {
        faults() = Faults();
        callLog().clear();
        overrideVlcApi(api);
    }
    ~ApiScope() {
        restoreVlcApi();
        faults() = Faults();
    }
    ApiScope(const ApiScope&) = delete;
    ApiScope& operator=(const ApiScope&) = delete;
};

// Lets a test read and seed the cached length.
class ProbePlayer : public VlcPlayer {
public:
    using VlcPlayer::VlcPlayer;
    std::int64_t cached() const { return cachedLength; }
    void seedCachedLength(std::int64_t ms) { cachedLength = ms; }
};

}  // namespace vlctest
