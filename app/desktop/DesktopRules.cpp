#include "app/desktop/DesktopRules.h"

#include <algorithm>

#include "playback/MediaPlayer.h"
#include "resources/resource.h"

namespace desktoprules {

EXECUTION_STATE executionStateFor(int playerState, bool hasVideo, bool minimised) {
    if (playerState != StatePlaying) {
        return ES_CONTINUOUS;
    }
    return ES_CONTINUOUS | ES_SYSTEM_REQUIRED | (hasVideo && !minimised ? ES_DISPLAY_REQUIRED : 0);
}

AppCommandAction actionForAppCommand(int appCommand, bool playing) {
    switch (appCommand) {
        case APPCOMMAND_MEDIA_PLAY_PAUSE:
            return {true, ID_PLAY};
        case APPCOMMAND_MEDIA_PLAY:
            return {true, playing ? 0u : ID_PLAY};
        case APPCOMMAND_MEDIA_PAUSE:
            return {true, playing ? ID_PAUSE : 0u};
        case APPCOMMAND_MEDIA_STOP:
            return {true, ID_STOP};
        case APPCOMMAND_MEDIA_NEXTTRACK:
            return {true, ID_NEXT};
        case APPCOMMAND_MEDIA_PREVIOUSTRACK:
            return {true, ID_PREVIOUS};
        default:
            return {false, 0};
    }
}

int WheelNotches::add(int delta, DWORD now) {
    // Unsigned, so that the tick count's wrap after 49 days is a short time too.
    if (now - lastInput_ >= kRestMs || (delta > 0 && pending_ < 0) || (delta < 0 && pending_ > 0)) {
        pending_ = 0;
    }
    lastInput_ = now;
    pending_ += delta;
    const int notches = pending_ / WHEEL_DELTA;
    pending_ -= notches * WHEEL_DELTA;
    return notches;
}

bool operator==(const TaskbarProgress& a, const TaskbarProgress& b) {
    return a.state == b.state && a.completed == b.completed && a.total == b.total;
}

TaskbarProgress taskbarProgressFor(int playerState, std::int64_t position, std::int64_t length) {
    if ((playerState != StatePlaying && playerState != StatePaused) || length <= 0) {
        return {};
    }
    const auto completed = static_cast<ULONGLONG>(std::clamp<std::int64_t>(position, 0, length));
    return {playerState == StatePlaying ? TBPF_NORMAL : TBPF_PAUSED, completed,
            static_cast<ULONGLONG>(length)};
}

}  // namespace desktoprules
