#include "ui/ToldText.h"

#include "playback/WatchRules.h"

namespace told {

namespace {

constexpr int kShowMs = 2000;
constexpr int kFailureShowMs = 4000;
// The offer to carry on asks for a key: it stays long enough to be read and taken.
constexpr int kResumeOfferShowMs = 8000;

// "+300 ms", "-100 ms", "0 ms".
std::wstring delayText(std::int64_t delayMs) {
    return (delayMs > 0 ? L"+" : L"") + std::to_wstring(delayMs) + L" ms";
}

}  // namespace

std::wstring words(const Change& change) {
    using Kind = Change::Kind;
    switch (change.kind) {
        case Kind::Volume:
            return L"Volume " + std::to_wstring(change.percent) + L" %";
        case Kind::Mute:
            return change.muted ? L"Muted" : L"Sound on";
        case Kind::AudioTrack:
            return L"Audio: " + change.name;
        case Kind::Subtitles:
            return L"Subtitles: " + (change.name.empty() ? std::wstring(L"Off") : change.name);
        case Kind::SubtitleFile:
            return L"Subtitles: " + change.name;
        case Kind::SubtitleFileRefused:
            return L"Could not load the subtitle file";
        case Kind::Speed:
            return L"Speed: " + watching::speedName(change.speed);
        case Kind::Position:
            return watching::clockText(change.time) + L" / " + watching::clockText(change.length);
        case Kind::CouldNotPlay:
            return L"Could not play " + change.name;
        case Kind::Chapter:
            return L"Chapter " + std::to_wstring(change.index + 1) +
                   (change.name.empty() ? std::wstring() : L": " + change.name);
        case Kind::SubtitleDelay:
            return L"Subtitle delay: " + delayText(change.delay);
        case Kind::AudioDelay:
            return L"Audio delay: " + delayText(change.delay);
        case Kind::ResumeOffer:
            return L"Resume from " + watching::clockText(change.time) + L": press R";
    }
    return {};
}

Place placeFor(const Change& change, bool pictureCanShow) {
    if (change.kind == Change::Kind::CouldNotPlay) {
        return Place::Bar;
    }
    if (pictureCanShow) {
        return Place::Picture;
    }
    return change.kind == Change::Kind::Position ? Place::Nowhere : Place::Bar;
}

int showMs(const Change& change) {
    switch (change.kind) {
        case Change::Kind::CouldNotPlay:
            return kFailureShowMs;
        case Change::Kind::ResumeOffer:
            return kResumeOfferShowMs;
        default:
            return kShowMs;
    }
}

}  // namespace told
