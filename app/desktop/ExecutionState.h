#pragma once

#include <windows.h>

// What the player asks of the system's power management: that the display, or only the system, stay on
// while a file plays. The request belongs to the thread that makes it (the user-interface thread) and
// ES_CONTINUOUS keeps it until the next one, so the system is asked only when the need changes.
class ExecutionState {
public:
    using Setter = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE flags);

    // Asks for flags (ES_CONTINUOUS with what is needed) unless that is what was asked last.
    void require(EXECUTION_STATE flags);
    // Holds nothing any more (at close).
    void release() { require(ES_CONTINUOUS); }
    // Tests record the requests instead of making them; null puts the system's call back.
    void useSetter(Setter setter) { setter_ = setter != nullptr ? setter : &SetThreadExecutionState; }

private:
    EXECUTION_STATE held_ = ES_CONTINUOUS;
    Setter setter_ = &SetThreadExecutionState;
};

// The one request of the player's user-interface thread.
ExecutionState& executionState();
