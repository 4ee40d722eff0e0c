#include "ui/CursorIdle.h"

#include <cstdlib>

void CursorIdle::reset(POINT position, DWORD now) {
    anchor_ = position;
    lastActivity_ = now;
    hidden_ = false;
}

bool CursorIdle::isMovement(POINT position) const {
    return std::labs(anchor_.x - position.x) > moveThreshold_ ||
           std::labs(anchor_.y - position.y) > moveThreshold_;
}

CursorIdle::Action CursorIdle::moved(POINT position, DWORD now) {
    if (!isMovement(position)) {
        return Action::None;
    }
    anchor_ = position;
    lastActivity_ = now;
    const bool wasHidden = hidden_;
    hidden_ = false;
    return wasHidden ? Action::Show : Action::None;
}

CursorIdle::Action CursorIdle::tick(POINT position, DWORD now, bool playing, bool overVideo) {
    if (isMovement(position)) {
        return moved(position, now);
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
