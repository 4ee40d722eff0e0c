#include "ui/CursorIdle.h"

#include <cstdlib>

void CursorIdle::reset(POINT position, DWORD now) {
    anchor_ = position;
    lastActivity_ = now;
    hidden_ = false;
}

CursorIdle::Action CursorIdle::tick(POINT position, DWORD now, bool playing, bool overVideo) {
    const bool moved = std::labs(anchor_.x - position.x) > moveThreshold_ ||
                       std::labs(anchor_.y - position.y) > moveThreshold_;
    if (moved) {
        anchor_ = position;
        lastActivity_ = now;
        const bool wasHidden = hidden_;
        hidden_ = false;
        return wasHidden ? Action::Show : Action::None;
    }
    if (!playing || !overVideo) {
        return Action::None;
    }
    // Unsigned difference: the tick counter's wrap after 49.7 days is harmless.
    if (now - lastActivity_ < kIdleDelayMs || hidden_) {
        return Action::None;
    }
    hidden_ = true;
    return Action::Hide;
}
