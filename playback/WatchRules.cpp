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

int chapterAt(const std::vector<MediaChapter>& chapters, std::int64_t time) {
    int at = chapters.empty() ? -1 : 0;
    for (std::size_t i = 1; i < chapters.size(); ++i) {
        if (chapters[i].start <= time) {
            at = static_cast<int>(i);
        }
    }
    return at;
}

int chapterStep(const std::vector<MediaChapter>& chapters, std::int64_t time, int direction) {
    const int at = chapterAt(chapters, time);
    if (at < 0) {
        return -1;
    }
    if (direction > 0) {
        return at + 1 < static_cast<int>(chapters.size()) ? at + 1 : -1;
    }
    const bool nearItsStart = time - chapters[static_cast<std::size_t>(at)].start < kChapterBackMs;
    return nearItsStart && at > 0 ? at - 1 : at;
}

std::wstring chapterMenuText(const std::vector<MediaChapter>& chapters, int index) {
    const MediaChapter& chapter = chapters[static_cast<std::size_t>(index)];
    const std::wstring name = chapter.name.empty() ? L"Chapter " + std::to_wstring(index + 1) : chapter.name;
    return name + L" - " + clockText(chapter.start);
}

std::int64_t stepDelay(std::int64_t delayMs, int direction) {
    const std::int64_t next = delayMs + (direction > 0 ? kDelayStepMs : -kDelayStepMs);
    return next > kLongestDelayMs ? kLongestDelayMs : next < -kLongestDelayMs ? -kLongestDelayMs : next;
}

bool seekOnItsWay(const PendingSeek& seek, std::int64_t reportedTime, std::uint32_t now) {
    if (!seek.active || now - seek.since >= kSeekWaitMs) {
        return false;
    }
    const std::int64_t distance = reportedTime - seek.target;
    return distance > kSeekNearMs || distance < -kSeekNearMs;
}

std::int64_t stepTarget(std::int64_t from, std::int64_t step, std::int64_t length) {
    if (step < 0) {
        return from > -step ? from + step : 0;
    }
    const std::int64_t target = from + step;
    return length > 0 && target >= length ? length : target;
}

std::int64_t parseTime(const std::wstring& text) {
    constexpr int kMostParts = 3;
    constexpr int kMostDigits = 6;
    const std::size_t first = text.find_first_not_of(L' ');
    const std::size_t last = text.find_last_not_of(L' ');
    if (first == std::wstring::npos) {
        return -1;
    }
    std::int64_t parts[kMostParts] = {};
    int count = 0;
    int digits = 0;
    for (std::size_t i = first; i <= last; ++i) {
        const wchar_t c = text[i];
        if (c == L':') {
            if (digits == 0 || ++count == kMostParts) {
                return -1;
            }
            digits = 0;
        } else if (c >= L'0' && c <= L'9' && digits < kMostDigits) {
            parts[count] = parts[count] * 10 + (c - L'0');
            ++digits;
        } else {
            return -1;
        }
    }
    if (digits == 0) {
        return -1;
    }
    std::int64_t seconds = parts[0];
    for (int part = 1; part <= count; ++part) {
        if (parts[part] >= 60) {
            return -1;
        }
        seconds = seconds * 60 + parts[part];
    }
    return seconds * 1000;
}

TimeEntry checkTime(std::int64_t ms, std::int64_t length) {
    if (ms < 0) {
        return TimeEntry::NotATime;
    }
    return length > 0 && ms > length ? TimeEntry::PastTheEnd : TimeEntry::Jump;
}

}  // namespace watching
