#include "playback/WatchRules.h"

#include <cmath>
#include <cstdio>

namespace watching {

namespace {

// Rates the library reports back may differ from the ones set in the last bits.
constexpr float kSameSpeed = 0.01f;

}  // namespace

bool isNormalSpeed(float speed) {
    return std::fabs(speed - kNormalSpeed) < kSameSpeed;
}

int speedIndex(float speed) {
    for (int i = 0; i < kSpeedCount; ++i) {
        if (std::fabs(kSpeeds[i] - speed) < kSameSpeed) {
            return i;
        }
    }
    return -1;
}

float stepSpeed(float speed, int direction) {
    if (direction > 0) {
        for (float step : kSpeeds) {
            if (step > speed + kSameSpeed) {
                return step;
            }
        }
        return kSpeeds[kSpeedCount - 1];
    }
    for (int i = kSpeedCount - 1; i >= 0; --i) {
        if (kSpeeds[i] < speed - kSameSpeed) {
            return kSpeeds[i];
        }
    }
    return kSpeeds[0];
}

std::wstring speedName(float speed) {
    if (isNormalSpeed(speed)) {
        return L"Normal";
    }
    wchar_t text[32] = L"";
    std::swprintf(text, 32, L"%g\u00D7", static_cast<double>(speed));
    return text;
}

int nextAudioTrack(const std::vector<MediaTrack>& tracks, int current) {
    if (tracks.empty()) {
        return kNoTrack;
    }
    const int at = trackIndex(tracks, current);
    return tracks[static_cast<std::size_t>(at + 1) % tracks.size()].id;
}

int nextSubtitleChoice(const std::vector<MediaTrack>& tracks, int current) {
    const int next = trackIndex(tracks, current) + 1;
    return next < static_cast<int>(tracks.size()) ? tracks[static_cast<std::size_t>(next)].id : kNoTrack;
}

int trackIndex(const std::vector<MediaTrack>& tracks, int id) {
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (tracks[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::wstring clockText(std::int64_t ms) {
    const std::int64_t seconds = (ms > 0 ? ms : 0) / 1000;
    const std::int64_t minutes = seconds / 60;
    wchar_t text[64] = L"";
    std::swprintf(text, 64, L"%02lld:%02lld:%02lld", static_cast<long long>(minutes / 60),
                  static_cast<long long>(minutes % 60), static_cast<long long>(seconds % 60));
    return text;
}

bool seekOnItsWay(const PendingSeek& seek, std::int64_t reportedTime, std::uint32_t now) {
    if (!seek.active || now - seek.since >= kSeekWaitMs) {
        return false;
    }
    const std::int64_t distance = reportedTime - seek.target;
    return distance > kSeekNearMs || distance < -kSeekNearMs;
}

std::int64_t stepTarget(std::int64_t from, int direction, std::int64_t length) {
    if (direction < 0) {
        return from > kSeekStepMs ? from - kSeekStepMs : 0;
    }
    const std::int64_t target = from + kSeekStepMs;
    return length > 0 && target >= length ? length : target;
}

}  // namespace watching
