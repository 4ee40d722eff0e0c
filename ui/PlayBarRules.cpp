#include "ui/PlayBarRules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "playback/MediaPlayer.h"
#include "playback/WatchRules.h"
#include "resource.h"

namespace playbar {

ButtonGroup buttonGroupFor(int playerState) {
    switch (playerState) {
        case StatePlaying:
            return {{IDC_BTN_STOP, IDC_BTN_PAUSE}, {IDC_BTN_OPEN, IDC_BTN_PLAY}};
        case StatePaused:
            return {{IDC_BTN_STOP, IDC_BTN_PLAY}, {IDC_BTN_OPEN, IDC_BTN_PAUSE}};
        default:
            return {{IDC_BTN_OPEN, IDC_BTN_PLAY}, {IDC_BTN_STOP, IDC_BTN_PAUSE}};
    }
}

std::wstring formatTime(std::int64_t ms, PlayerType kind) {
    if (kind == PlayerFlash) {
        wchar_t text[64] = L"";
        std::swprintf(text, 64, L"%ld", static_cast<long>(ms));
        return text;
    }
    return watching::clockText(ms);
}

std::wstring timeText(std::int64_t position, std::int64_t length, PlayerType kind) {
    wchar_t text[260] = L"";
    std::swprintf(text, 260, L"%ls / %ls", formatTime(position, kind).c_str(),
                  formatTime(length, kind).c_str());
    return text;
}

std::wstring timeLine(const std::wstring& time, float speed, const std::wstring& feedback) {
    if (!feedback.empty()) {
        return feedback;
    }
    if (watching::isNormalSpeed(speed)) {
        return time;
    }
    return watching::speedName(speed) + L"   " + time;
}

std::wstring volumeValue(int percent, bool muted) {
    return muted ? L"Muted" : std::to_wstring(percent) + L" %";
}

std::wstring muteButtonName(bool muted) {
    return muted ? L"Mute On/Off (Muted)" : L"Mute On/Off";
}

bool positionEventDue(bool told, DWORD last, DWORD now) {
    // Unsigned difference: right across the tick count's wrap after 49 days.
    return !told || now - last >= kPositionEventMs;
}

int timeKnobOffset(std::int64_t position, std::int64_t length, int areaWidth, int knobWidth) {
    const std::int64_t travel = areaWidth - knobWidth;
    std::int64_t offset = 0;
    if (length > 0) {
        offset = position * travel / length;
        offset = std::min(offset, travel);
        offset = std::max<std::int64_t>(offset, 0);
    }
    return static_cast<int>(offset);
}

int volumeKnobOffset(int trackWidth, int knobWidth, int volume) {
    return (trackWidth - knobWidth) * volume / 100;
}

double dragFraction(int x, int left, int right, int knobWidth) {
    const int half = knobWidth / 2;
    const int span = (right - half) - (left + half);
    if (span <= 0) {
        return 0.0;
    }
    const double fraction = static_cast<double>(x - (left + half)) / span;
    return std::clamp(fraction, 0.0, 1.0);
}

int volumeForFraction(double fraction) {
    return static_cast<int>(fraction * 100 + 0.5);
}

std::int64_t timeForFraction(double fraction, std::int64_t length) {
    return static_cast<std::int64_t>(fraction * static_cast<double>(length));
}

AutoHideStep autoHideStep(DWORD lastActivity, POINT lastCursor, DWORD now, POINT cursor, bool overBar,
                          bool barVisible, LONG moveThreshold) {
    if (lastActivity == 0 || overBar) {
        return AutoHideStep::Nothing;
    }
    const bool rested = std::labs(cursor.x - lastCursor.x) < moveThreshold &&
                        std::labs(cursor.y - lastCursor.y) < moveThreshold;
    if (rested) {
        return (now - lastActivity > kAutoHideDelayMs && barVisible) ? AutoHideStep::Hide
                                                                     : AutoHideStep::KeepResting;
    }
    return barVisible ? AutoHideStep::Record : AutoHideStep::ShowRecord;
}

}  // namespace playbar
