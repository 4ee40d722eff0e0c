#pragma once

#include <cstdint>
#include <string>

// Something that changed at the viewer's command, or befell what plays, as the controller tells it to
// its view: the view chooses the words and where they show (over the picture, on the bar).
struct Change {
    enum class Kind {
        Volume,               // percent
        Mute,                 // muted
        AudioTrack,           // name: the track's
        Subtitles,            // name: the track's; empty when subtitles went off
        SubtitleFile,         // name: the file's
        SubtitleFileRefused,  // the library would not take the subtitle file
        Speed,                // speed
        Position,             // time, length: where a seek by key went
        CouldNotPlay,         // name: the file's; the library gave up on it
        Chapter,              // index: its place (0 for the first); name: the file's for it, if any
        SubtitleDelay,        // delay: how much later the subtitles show
        AudioDelay,           // delay: how much later the sound plays
        ResumeOffer,          // time: where the viewer left the file, offered to carry on from (R)
    };
    explicit Change(Kind what) : kind(what) {}

    Kind kind;
    int percent = 0;
    bool muted = false;
    float speed = 1.0f;
    std::wstring name;
    std::int64_t time = 0;    // milliseconds
    std::int64_t length = 0;  // milliseconds
    int index = 0;
    std::int64_t delay = 0;  // milliseconds; negative: earlier

    bool operator==(const Change& other) const {
        return kind == other.kind && percent == other.percent && muted == other.muted &&
               speed == other.speed && name == other.name && time == other.time && length == other.length &&
               index == other.index && delay == other.delay;
    }
};
