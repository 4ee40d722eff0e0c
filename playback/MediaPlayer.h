#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playback/PlayerType.h"

#ifdef _WIN32
#include <windows.h>
// The window the library renders into: a window handle on Windows.
using OutputWindow = HWND;
#else
// Natively the library renders into an X window, named by its id.
using OutputWindow = std::uint32_t;
#endif

// What a player can do beyond playing, pausing, seeking and the volume, as bits of features(). A
// player whose library lacks the calls for one of them goes without it: its operations then do nothing
// and answer as if there were nothing to choose.
enum PlayerFeature : unsigned {
    FeatureAudioTracks = 1u << 0,     // audioTracks, currentAudioTrack, setAudioTrack
    FeatureSubtitleTracks = 1u << 1,  // subtitleTracks, currentSubtitleTrack, setSubtitleTrack
    FeatureSubtitleFiles = 1u << 2,   // addSubtitleFile
    FeatureRate = 1u << 3,            // getRate, setRate
    FeatureOnScreenText = 1u << 4,    // showText
    FeatureChapters = 1u << 5,        // chapters, currentChapter, setChapter
    FeatureSubtitleDelay = 1u << 6,   // subtitleDelay, setSubtitleDelay
    FeatureAudioDelay = 1u << 7,      // audioDelay, setAudioDelay
};

// One audio or subtitle track of the media that plays: the library's id for it and the library's own
// text, its language and name where the file has them ("Track 2 - [French]", "Commentary - [English]",
// "Track 3" for a subtitle file added without either).
struct MediaTrack {
    int id;
    std::wstring name;

    bool operator==(const MediaTrack& other) const { return id == other.id && name == other.name; }
};

// One chapter of the media that plays: where it starts (ms) and the name the file gives it (empty when
// it gives none).
struct MediaChapter {
    std::int64_t start;
    std::wstring name;

    bool operator==(const MediaChapter& other) const { return start == other.start && name == other.name; }
};

// The id of no track: subtitles switched off, or no audio track playing.
constexpr int kNoTrack = -1;

// Player states, numbered as libvlc numbers them.
enum PlayerState : int {
    StateNothing = 0,  // also the answer when no library player exists
    StateOpening = 1,
    StateBuffering = 2,
    StatePlaying = 3,
    StatePaused = 4,
    StateStopped = 5,
    StateEnded = 6,  // the end of the media was reached
    StateError = 7,
};

// The player events the program follows, numbered as libvlc numbers them (VlcPlayer.cpp checks that they
// are), so that nothing but the library's own files needs the library's header.
enum PlayerEvent : int {
    EventPlaying = 0x104,
    EventPaused = 0x105,
    EventStopped = 0x106,
    EventEndReached = 0x109,
    EventTimeChanged = 0x10B,
};

// Where a player reports its events: called on the thread the player reports them from (the library's
// own), with the event's type in the library's numbering.
using PlayerEventSink = void (*)(int eventType);

// Drives playback of one media file. Times are milliseconds, volume is a percentage.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;
    virtual PlayerType playerType() { return PlayerNone; }
    virtual bool init(OutputWindow owner) = 0;
    virtual void release() = 0;
    virtual bool open(const wchar_t* path) = 0;  // loads the file; does not start playback
    virtual void play() = 0;
    virtual bool isPlaying() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual std::int64_t getTime() = 0;
    virtual std::int64_t getLength() = 0;
    virtual void setTime(std::int64_t ms) = 0;
    virtual int getVolume() = 0;
    virtual bool setVolume(int percent) = 0;
    virtual int getState() = 0;
    virtual void reservedOp(std::uint32_t) {}
    virtual void setHwnd(OutputWindow window) = 0;
    virtual bool isMute() = 0;
    virtual void toggleMute() = 0;
    virtual bool hasVideo() { return true; }
    // From now on reports playing, paused, stopped, time changed and end of media to the sink; set once
    // after init. False when the player reports no events (none of its own, or not initialised).
    virtual bool setEventSink(PlayerEventSink) { return false; }

    // The PlayerFeature bits this player can do now: none before init or after release.
    virtual unsigned features() { return 0; }

    // The audio tracks of the media that plays or is paused, in the library's order; the library's own
    // "Disable" entry is left out. Empty while nothing plays and until the library knows the tracks (for
    // some files only after the first time report).
    virtual std::vector<MediaTrack> audioTracks() { return {}; }
    // The id of the audio track that plays; kNoTrack while nothing plays.
    virtual int currentAudioTrack() { return kNoTrack; }
    // Plays the audio track of that id from now on; false when the media has no such track.
    virtual bool setAudioTrack(int /*id*/) { return false; }

    // The subtitle tracks, as audioTracks: the file's own and those added, without "Disable".
    virtual std::vector<MediaTrack> subtitleTracks() { return {}; }
    // The id of the subtitle track shown; kNoTrack when subtitles are off (and while nothing plays).
    virtual int currentSubtitleTrack() { return kNoTrack; }
    // Shows the subtitle track of that id, or none with kNoTrack ("off"); false when the media has no
    // such track.
    virtual bool setSubtitleTrack(int /*id*/) { return false; }

    // Adds a subtitle file, by its full path, to the media that plays or is paused, and shows it: it
    // becomes the last subtitle track and the current one once the library has read it, a moment after
    // the call. False when the path can't be handed over (relative, or not text) or the library refuses.
    virtual bool addSubtitleFile(const wchar_t* /*path*/) { return false; }

    // The playback rate: 1 is normal speed, 2 twice as fast, 0.5 half; the pitch stays. The rate belongs
    // to the player and stays for the media it plays later, until it is set again.
    virtual float getRate() { return 1.0f; }
    // False for a rate the library can't play (not between 1/32 and 32) or without the feature.
    virtual bool setRate(float /*rate*/) { return false; }

    // Shows a short text over the picture of the video that plays or is paused for durationMs, in place
    // of any text shown before; an empty text or a duration of 0 or less hides it. Drawn by the library
    // into the picture, top left, white with a dark outline, its size following the video's: a medium
    // without a picture (hasVideo false) shows nothing.
    virtual void showText(const wchar_t* /*text*/, int /*durationMs*/) {}

    // The chapters of the media that plays or is paused, in order; empty while nothing plays and for a
    // file without chapters.
    virtual std::vector<MediaChapter> chapters() { return {}; }
    // The place in chapters() of the chapter that plays; -1 while nothing plays.
    virtual int currentChapter() { return -1; }
    // Goes to the start of the chapter at that place of chapters(); false when there is none there.
    virtual bool setChapter(int /*index*/) { return false; }

    // How much later than the file says the subtitles show, and the sound plays (ms; negative: earlier).
    // Both belong to the media that plays: 0 while nothing plays, and again for the next one.
    virtual std::int64_t subtitleDelay() { return 0; }
    // False while nothing plays or without the feature.
    virtual bool setSubtitleDelay(std::int64_t /*ms*/) { return false; }
    virtual std::int64_t audioDelay() { return 0; }
    virtual bool setAudioDelay(std::int64_t /*ms*/) { return false; }

protected:
    // The media length last read from the library; 0 until known, and again after stop.
    std::int64_t cachedLength = 0;
};
