#pragma once

#include <windows.h>

// When to hide the mouse cursor over playing video. Fed once per timer tick with the cursor
// position, the tick count and what the video area is doing, and with the pointer's movements over the
// video as the system reports them; it answers whether ShowCursor must be called, and keeps the show and
// hide calls balanced.
class CursorIdle {
public:
    // What the caller must do with the cursor after a tick.
    enum class Action { None, Show, Hide };

    static constexpr LONG kMoveThreshold = 5;    // pixels (at 96 DPI) on either axis; exactly 5 is still rest
    static constexpr DWORD kIdleDelayMs = 5000;  // rest time before the cursor hides

    // Starts a fresh rest period at the position; the cursor counts as shown.
    void reset(POINT position, DWORD now);
    // One tick: playing is the player's playing state, overVideo whether the position is inside
    // the video frame.
    Action tick(POINT position, DWORD now, bool playing, bool overVideo);
    // The pointer is at the position now: a movement when it lies more than the threshold from the last
    // one, which shows a hidden cursor. A movement never hides it.
    Action moved(POINT position, DWORD now);

    // The movement threshold in real pixels: kMoveThreshold at the video window's DPI.
    void setMoveThreshold(LONG pixels) { moveThreshold_ = pixels; }

    bool hidden() const { return hidden_; }
    POINT anchor() const { return anchor_; }
    DWORD lastActivity() const { return lastActivity_; }

private:
    // More than the threshold from the last movement's position on either axis.
    bool isMovement(POINT position) const;

    POINT anchor_{};          // position of the last movement; small drifts don't move it
    DWORD lastActivity_ = 0;  // tick count of the last movement
    bool hidden_ = false;     // true while this rule has hidden the cursor
    LONG moveThreshold_ = kMoveThreshold;
};
