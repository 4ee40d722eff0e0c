#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <vlc/vlc.h>

#include "common/TestClips.h"
#include "common/WaitUntil.h"
#include "contract/EventLog.h"

// One media player with a listener on every event the player relies on. The outputs are the dummy ones
// so that the real library plays headless and in real time; the stand-in ignores the arguments.
//
// The suite runs against the real library natively, and under Wine against the stand-in and through the
// libvlc bridge (tests/bridge) onto the real library. Where the bridge differs: events that the library
// sends from its own threads come from the bridge's thread instead, since the library's threads can't
// run Windows code; for the suite, as for the player, both are "not the caller's thread".
namespace contract {

inline void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Sleeps about ms and answers how long the sleep really took: on a loaded machine it overshoots, and
// the library's clock runs on meanwhile.
inline long long sleepMeasuredMs(int ms) {
    const auto start = std::chrono::steady_clock::now();
    sleepMs(ms);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

class LibvlcContract : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<const char*> args = {"--no-video-title-show", "--no-keyboard-events", "--no-mouse-events",
                                         "--vout=dummy", "--quiet"};
        for (const char* arg : audioOutput()) {
            args.push_back(arg);
        }
        instance_ = libvlc_new(static_cast<int>(args.size()), args.data());
        ASSERT_NE(instance_, nullptr);
        player_ = libvlc_media_player_new(instance_);
        ASSERT_NE(player_, nullptr);
        log_ = std::make_unique<EventLog>(player_);
        events_ = libvlc_media_player_event_manager(player_);
        ASSERT_NE(events_, nullptr);
        for (libvlc_event_type_t type : kWatched) {
            ASSERT_EQ(libvlc_event_attach(events_, type, &EventLog::listener, log_.get()), 0);
        }
    }

    void TearDown() override {
        if (player_ != nullptr) {
            libvlc_media_player_stop(player_);
            libvlc_media_player_release(player_);
        }
        for (libvlc_media_t* media : media_) {
            libvlc_media_release(media);
        }
        if (instance_ != nullptr) {
            libvlc_release(instance_);
        }
    }

    // The dummy audio output has neither volume nor mute of its own: they read back as nothing was set.
    virtual std::vector<const char*> audioOutput() const { return {"--aout=dummy"}; }

    bool load(const std::string& clip) { return loadUtf8(testclips::utf8Path(clip)); }
    // A file anywhere, by its path in the system's own form.
    bool loadFile(const std::filesystem::path& path) { return loadUtf8(path.u8string()); }

    bool loadUtf8(const std::string& path) {
        libvlc_media_t* media = libvlc_media_new_path(instance_, path.c_str());
        if (media == nullptr) {
            return false;
        }
        media_.push_back(media);
        libvlc_media_player_set_media(player_, media);
        return true;
    }

    // Loads, plays and waits for the event: by default the first time report, when length and tracks are
    // settled.
    bool playUntil(const std::string& clip, libvlc_event_type_t event = libvlc_MediaPlayerTimeChanged) {
        return load(clip) && libvlc_media_player_play(player_) == 0 && log_->waitFor(event);
    }

    int state() { return static_cast<int>(libvlc_media_player_get_state(player_)); }
    long long time() { return libvlc_media_player_get_time(player_); }
    long long length() { return libvlc_media_player_get_length(player_); }
    int videoTracks() { return libvlc_video_get_track_count(player_); }

    static constexpr libvlc_event_type_t kWatched[] = {
        libvlc_MediaPlayerOpening,    libvlc_MediaPlayerPlaying,    libvlc_MediaPlayerPaused,
        libvlc_MediaPlayerStopped,    libvlc_MediaPlayerEndReached, libvlc_MediaPlayerEncounteredError,
        libvlc_MediaPlayerTimeChanged};

    libvlc_instance_t* instance_ = nullptr;
    libvlc_media_player_t* player_ = nullptr;
    libvlc_event_manager_t* events_ = nullptr;
    std::vector<libvlc_media_t*> media_;
    std::unique_ptr<EventLog> log_;
};

// ALSA's "null" device discards the sound but keeps a working volume and mute, as a sound card does.
class LibvlcContractWithSound : public LibvlcContract {
protected:
    std::vector<const char*> audioOutput() const override {
        return {"--aout=alsa", "--alsa-audio-device=null"};
    }
};

// The player-state numbers the player tests.
constexpr int kNothingSpecial = 0;
constexpr int kPlaying = 3;
constexpr int kPaused = 4;
constexpr int kStopped = 5;
constexpr int kEnded = 6;

}  // namespace contract
