#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playback/MediaPlayer.h"

// The rules of watching a film, free of windows and of the library so that they can be checked alone:
// the speed steps, the order A and S go through the tracks, and where a 5-second step starts while the
// seek before it is still on its way.
namespace watching {

// The speeds of the Speed menu, slowest first; ] and [ go one step along them.
inline constexpr float kSpeeds[] = {0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 2.0f};
inline constexpr int kSpeedCount = static_cast<int>(sizeof(kSpeeds) / sizeof(kSpeeds[0]));
inline constexpr float kNormalSpeed = 1.0f;

bool isNormalSpeed(float speed);
// The index of the step the speed is; -1 when it is none of them.
int speedIndex(float speed);
// One step faster (direction > 0) or slower than the speed; the fastest and the slowest stay where they
// are. A speed between two steps goes to the next step in that direction.
float stepSpeed(float speed, int direction);
// "0.5×", "1.25×", "2×"; "Normal" for normal speed.
std::wstring speedName(float speed);

// The audio track after `current`: after the last, the first; the first too when current is not listed.
// kNoTrack without tracks.
int nextAudioTrack(const std::vector<MediaTrack>& tracks, int current);
// The subtitle choice after `current`: Off (kNoTrack), each track in order, then Off again. A current
// track that is not listed counts as Off.
int nextSubtitleChoice(const std::vector<MediaTrack>& tracks, int current);
// The place of the track of that id in the list; -1 when the list has none (and for kNoTrack).
int trackIndex(const std::vector<MediaTrack>& tracks, int id);

// A time as hours, minutes and seconds of at least two digits each ("01:02:03", "100:00:00"); a negative
// time (an unknown length) reads as zero.
std::wstring clockText(std::int64_t ms);

// Chapters: Ctrl+Page Down goes to the next chapter; Ctrl+Page Up to the start of the one that plays,
// or to the one before when pressed this soon after that start.
constexpr std::int64_t kChapterBackMs = 2000;
// The chapter a time is in: the last one starting at or before it (the first before any start); -1
// without chapters.
int chapterAt(const std::vector<MediaChapter>& chapters, std::int64_t time);
// Where Ctrl+Page Down (direction > 0) or Ctrl+Page Up goes from the time: the next chapter, none (-1)
// after the last; the start of this one, or the one before within kChapterBackMs of its start (the first
// chapter's start from within the first).
int chapterStep(const std::vector<MediaChapter>& chapters, std::int64_t time, int direction);
// A chapter's item in the Chapters menu: its name, or "Chapter 2" without one, and its start
// ("The Storm - 00:12:30").
std::wstring chapterMenuText(const std::vector<MediaChapter>& chapters, int index);

// G and H move the subtitles, J and K the sound, a step earlier or later, within a minute either way.
constexpr std::int64_t kDelayStepMs = 100;
constexpr std::int64_t kLongestDelayMs = 60000;
std::int64_t stepDelay(std::int64_t delayMs, int direction);

// A seek by key that the library may not have carried out yet: libvlc moves its time a while after it
// is asked to, and a step taken from the time it still reports would aim where the step before did.
struct PendingSeek {
    bool active = false;
    std::int64_t target = 0;  // milliseconds
    std::uint32_t since = 0;  // tick count when it was asked for
};
// The library has arrived once it reports a time this near the target...
constexpr std::int64_t kSeekNearMs = 1000;
// ...and a seek it hasn't reported arriving after this long is no longer waited for.
constexpr std::uint32_t kSeekWaitMs = 1500;
// The steps of the seek keys: Left and Right, and with Ctrl a minute.
constexpr std::int64_t kSeekStepMs = 5000;
constexpr std::int64_t kMinuteStepMs = 60000;

// True while the seek is on its way: asked for, not yet reported near, and not given up on.
bool seekOnItsWay(const PendingSeek& seek, std::int64_t reportedTime, std::uint32_t now);
// The target of one step of `step` ms from `from` (negative: back): back, not before the start; on, not
// past a known length (without one, 0 or less, the step goes ahead: the library treats a time past the
// end as the end).
std::int64_t stepTarget(std::int64_t from, std::int64_t step, std::int64_t length);

// A time the viewer types (Go to Time): "90" (seconds), "1:30" (minutes:seconds) or "1:02:03"
// (hours:minutes:seconds), blanks around it allowed; the first part may be as large as it likes (up to
// six digits), the ones after it below 60. Its milliseconds, or -1 when the text is none of those (a sign,
// a fraction, letters, an empty part, four parts).
std::int64_t parseTime(const std::wstring& text);
// How a typed time fits the file: one to jump to, not a time at all, or past the end of a file whose
// length is known (0 or less: unknown, and any time goes).
enum class TimeEntry { Jump, NotATime, PastTheEnd };
TimeEntry checkTime(std::int64_t ms, std::int64_t length);

}  // namespace watching
