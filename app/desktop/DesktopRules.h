#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

// The decisions behind what the player does with the rest of the desktop (the keyboard's media keys, the
// system's power management, the taskbar button, the mouse wheel), free of windows so that they can be
// checked alone.
namespace desktoprules {

// What the player asks the system to keep on for a player state: while a video plays the display and the
// system, while a sound alone plays (or a video in a minimised window) the system only; otherwise (paused,
// stopped, ended, nothing loaded) nothing, which is ES_CONTINUOUS alone.
EXECUTION_STATE executionStateFor(int playerState, bool hasVideo, bool minimised);

// What a WM_APPCOMMAND becomes.
struct AppCommandAction {
    bool handled;  // false: left to the default procedure (the volume keys, every other app command)
    UINT command;  // the main window's command to run; 0 when the key changes nothing now
};
// Play/Pause does what Space does; Play only plays and Pause only pauses; Stop stops; Next and Previous
// Track do what Page Down and Page Up do.
AppCommandAction actionForAppCommand(int appCommand, bool playing);

// Adds up a wheel's rotation into notches of WHEEL_DELTA (120): a high-resolution wheel reports smaller
// deltas that make a notch between them. A turn the other way starts afresh, so that what was left over
// of one direction is not taken from the other, and so does a turn after a second at rest, so that a
// touch long after a gesture is not its missing part.
class WheelNotches {
public:
    static constexpr DWORD kRestMs = 1000;

    // Positive: away from the user; now: the tick of the wheel's message. Returns the whole notches the
    // delta completes, signed the same way.
    int add(int delta, DWORD now);

private:
    int pending_ = 0;
    DWORD lastInput_ = 0;
};

// The taskbar button's progress: the state and, unless it is TBPF_NOPROGRESS, the value.
struct TaskbarProgress {
    TBPFLAG state = TBPF_NOPROGRESS;
    ULONGLONG completed = 0;
    ULONGLONG total = 0;
};
bool operator==(const TaskbarProgress& a, const TaskbarProgress& b);
// While a file plays, the position over the length; while paused, the same in the paused state; stopped,
// ended or without a known length, none.
TaskbarProgress taskbarProgressFor(int playerState, std::int64_t position, std::int64_t length);

}  // namespace desktoprules
