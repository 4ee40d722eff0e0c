#pragma once

#include <cstdint>

#include "playback/PlayerType.h"

#ifdef _WIN32
#include <windows.h>
// The window the library renders into: a window handle on Windows.
using OutputWindow = HWND;
#else
// Natively the library renders into an X window, named by its id.
using OutputWindow = std::uint32_t;
#endif

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

protected:
    // The media length last read from the library; 0 until known, and again after stop.
    std::int64_t cachedLength = 0;
};
