#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <vlc/vlc.h>

#include "EventHub.h"
#include "InputFile.h"
#include "PsProbe.h"
#include "TrackSet.h"

// The behaviour behind one stand-in media player. Each play starts a "session" (the real library's
// input) run by a thread of its own, which raises the events, keeps the play clock and paints frames.
// The session is ended by stop, set_media or release, which wait for that thread; a session that ends
// by itself (end of media, unreadable file) keeps its time and length until one of those calls.
namespace standin {

// The real library's player-state numbers.
enum PlayerState : int {
    kNothingSpecial = 0,
    kOpening = 1,
    kPlaying = 3,
    kPaused = 4,
    kStopped = 5,
    kEnded = 6,
    kError = 7,
};

class Player : public std::enable_shared_from_this<Player> {
public:
    // `owner` is the handle the events name as their source.
    explicit Player(libvlc_media_player_t* owner) : owner_(owner) {}
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    EventHub& events() { return events_; }

    // `path` null means no media. Ends a running session without a stopped event, as the real one does.
    void setMedia(const std::string* path, libvlc_media_t* media);
    int play();
    void pause();
    void stop();
    // Release of the media player: the session ends silently.
    void shutdown();

    int state();
    bool isPlaying();
    std::int64_t time();
    std::int64_t length();
    void setTime(std::int64_t ms);
    int videoTrackCount();

    int volume();
    int setVolume(int percent);
    int mute();
    void setMute(bool on);

    void setWindow(HWND window);

    // Tracks (TrackSet.h): none without an input; choosing one needs an input and a known id (or -1),
    // reads back at once, and is told of by a selected event from the input's thread.
    std::vector<EsTrack> tracks(TrackKind kind);
    int currentTrack(TrackKind kind);
    int chooseTrack(TrackKind kind, int id);
    // A subtitle file by its file:/// address: read into the running input on its thread (a file that
    // isn't there adds nothing), or into the next one of the same media; -1 without media.
    int addSubtitleFile(const std::string& url, bool select);

    // The rate belongs to the player, as in the real library: it stays through stop and new media, and
    // the play clock runs at it.
    float rate();
    int setRate(float rate);

    // The marquee: its text shows over the picture of a playing clip with video, from when it is set (or
    // enabled) until its timeout has passed (0: for good). As in the real library the text is a time
    // format (strftime's, "%%" for a '%'; one the Windows C runtime refuses is a hazard), and the text
    // and the switch belong to the media player: every new picture shows them again for the whole
    // timeout, until the marquee is switched off.
    void setMarqueeInt(unsigned option, int value);
    void setMarqueeString(unsigned option, const char* text);
    // The size the picture is drawn at (the window's): -1 without a playing clip with video.
    int videoSize(unsigned* width, unsigned* height);

private:
    using Clock = std::chrono::steady_clock;

    void run(unsigned generation, std::string path);
    // Waits for the first bytes of a pipe; false at its end or when the session is ended meanwhile.
    bool readHead(unsigned generation, InputFile& input);
    // `input` is the input to read through (one with no stream), or null.
    void runPlayback(unsigned generation, const ClipFacts& facts, InputFile* input);
    // Ends the current session and waits for its thread (lets it finish on its own when called from it).
    void endSession();
    bool isCurrent(unsigned generation) const { return generation == generation_; }
    std::int64_t clockTime() const;
    void checkStopHazard(const char* call);
    // An event of this player, as the library fills in its common fields.
    libvlc_event_t eventOf(libvlc_event_type_t type) const;
    void raise(libvlc_event_type_t type);
    void raiseTime(std::int64_t ms);
    void raiseLength(std::int64_t ms);
    void raiseTrack(libvlc_event_type_t type, TrackKind kind, int id);
    // On the input's thread, with the lock: reads the subtitle files waiting for the input into it, and
    // tells of them and of the tracks chosen meanwhile, as the real input does after the call.
    void takeWaitingChanges(unsigned generation, std::unique_lock<std::mutex>& lock);
    // The marquee's text while it shows, else empty; with the lock.
    std::wstring onScreenText() const;

    libvlc_media_player_t* const owner_;
    EventHub events_;
    std::atomic<bool> stopping_{false};

    std::mutex mutex_;  // guards everything below; never held while listeners run or frames are painted
    std::condition_variable wake_;
    std::thread worker_;
    unsigned generation_ = 0;
    bool hasMedia_ = false;
    std::string mediaPath_;
    HWND window_ = nullptr;
    int state_ = kNothingSpecial;

    // The session; `active_` false means no input: time, length and tracks read -1.
    bool active_ = false;
    bool finished_ = false;  // ended by itself: play and pause do nothing until stop
    bool pauseWanted_ = false;
    bool resumeWanted_ = false;
    bool clockRunning_ = false;
    std::int64_t clockBase_ = 0;
    Clock::time_point clockStart_;
    std::int64_t length_ = -1;
    bool readingThrough_ = false;  // reading an input with no stream to its end; time reads 0 meanwhile
    int videoTracks_ = -1;
    bool video_ = false;  // the session's clip has video
    TrackSet tracks_;
    std::vector<std::pair<std::string, bool>> subtitleFilesWaiting_;  // address, select
    std::vector<std::pair<TrackKind, int>> choicesWaiting_;           // to tell of
    // Added while no input ran: read into every input of the media, until the media changes.
    std::vector<std::pair<std::string, bool>> mediaSubtitleFiles_;
    float rate_ = 1.0f;

    bool marqueeEnabled_ = false;          // the switch: kept through stop and new media
    mutable bool marqueeRefused_ = false;  // the text's hazard was reported
    std::string marqueeText_;
    int marqueeTimeoutMs_ = 0;
    Clock::time_point marqueeShown_;

    // The audio output exists from creation until the first stop, then again whenever a clip with
    // audio has started playing, until the next stop. Volume and mute belong to the media player and
    // are kept from one output to the next.
    bool audioOutput_ = true;
    int volume_ = 100;
    bool muted_ = false;
};

}  // namespace standin
