// The rules behind the player's place on the desktop: what the screen is kept on for, what a media key
// becomes, how the wheel's turns make notches, and what the taskbar button's progress shows.
#include <gtest/gtest.h>

#include "app/desktop/DesktopRules.h"
#include "playback/MediaPlayer.h"
#include "resources/resource.h"

namespace {

using namespace desktoprules;

constexpr EXECUTION_STATE kNothing = ES_CONTINUOUS;
constexpr EXECUTION_STATE kSystem = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
constexpr EXECUTION_STATE kDisplay = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;

TEST(ExecutionStateFor, KeepsTheDisplayOnForAPlayingVideoAndTheSystemForAPlayingSound) {
    struct Case {
        int state;
        bool video;
        EXECUTION_STATE expected;
        bool minimised;
    };
    // The last three minimised: a video is heard only, as a sound is.
    const Case cases[] = {
        {StatePlaying, true, kDisplay, false},  {StatePlaying, false, kSystem, false},
        {StatePaused, true, kNothing, false},   {StatePaused, false, kNothing, false},
        {StateStopped, true, kNothing, false},  {StateEnded, true, kNothing, false},
        {StateNothing, false, kNothing, false}, {StateOpening, true, kNothing, false},
        {StateError, true, kNothing, false},    {StatePlaying, true, kSystem, true},
        {StatePlaying, false, kSystem, true},   {StatePaused, true, kNothing, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(executionStateFor(c.state, c.video, c.minimised), c.expected)
            << "state " << c.state << " video " << c.video << " minimised " << c.minimised;
    }
}

TEST(ActionForAppCommand, MediaKeysBecomeTheKeysCommandsAndTheRestIsLeftAlone) {
    struct Case {
        int appCommand;
        bool playing;
        bool handled;
        UINT command;
    };
    const Case cases[] = {
        {APPCOMMAND_MEDIA_PLAY_PAUSE, true, true, ID_PLAY},
        {APPCOMMAND_MEDIA_PLAY_PAUSE, false, true, ID_PLAY},
        // Play and Pause act only where they change something.
        {APPCOMMAND_MEDIA_PLAY, false, true, ID_PLAY},
        {APPCOMMAND_MEDIA_PLAY, true, true, 0},
        {APPCOMMAND_MEDIA_PAUSE, true, true, ID_PAUSE},
        {APPCOMMAND_MEDIA_PAUSE, false, true, 0},
        {APPCOMMAND_MEDIA_STOP, true, true, ID_STOP},
        {APPCOMMAND_MEDIA_NEXTTRACK, false, true, ID_NEXT},
        {APPCOMMAND_MEDIA_PREVIOUSTRACK, true, true, ID_PREVIOUS},
        // The system's volume keys stay the system's.
        {APPCOMMAND_VOLUME_UP, true, false, 0},
        {APPCOMMAND_VOLUME_DOWN, true, false, 0},
        {APPCOMMAND_VOLUME_MUTE, true, false, 0},
        {APPCOMMAND_BROWSER_BACKWARD, false, false, 0},
        {APPCOMMAND_MEDIA_FAST_FORWARD, true, false, 0},
    };
    for (const Case& c : cases) {
        const AppCommandAction action = actionForAppCommand(c.appCommand, c.playing);
        EXPECT_EQ(action.handled, c.handled) << c.appCommand << (c.playing ? " playing" : "");
        EXPECT_EQ(action.command, c.command) << c.appCommand << (c.playing ? " playing" : "");
    }
}

TEST(WheelNotches, AddUpSmallDeltasAndStartAfreshOnATurnBack) {
    struct Case {
        const char* what;
        std::vector<int> deltas;
        std::vector<int> notches;       // after each delta
        std::vector<DWORD> times = {};  // of each delta; none: all at once
    };
    const Case cases[] = {
        {"a notch each way", {120, -120}, {1, -1}},
        {"a fast turn", {360, -240}, {3, -2}},
        {"a high-resolution wheel", {40, 40, 40, 40}, {0, 0, 1, 0}},
        {"what is left carries on", {100, 100, 100}, {0, 1, 1}},
        {"a turn back drops what was left", {100, -30, -90, 30}, {0, 0, -1, 0}},
        {"a turn back mid-way", {60, -60, -60, 60, 60}, {0, 0, -1, 0, 1}},
        {"nothing", {0, 0}, {0, 0}},
        {"a part goes after a second at rest", {100, 20, 100, 20}, {0, 1, 0, 0}, {0, 999, 1000, 2000}},
    };
    for (const Case& c : cases) {
        WheelNotches wheel;
        std::vector<int> notches;
        for (size_t i = 0; i < c.deltas.size(); ++i) {
            notches.push_back(wheel.add(c.deltas[i], c.times.empty() ? 0 : c.times[i]));
        }
        EXPECT_EQ(notches, c.notches) << c.what;
    }
}

TEST(TaskbarProgressFor, ShowsThePositionOverTheLengthWhilePlayingOrPaused) {
    struct Case {
        int state;
        std::int64_t position;
        std::int64_t length;
        TaskbarProgress expected;
    };
    const Case cases[] = {
        {StatePlaying, 1000, 60000, {TBPF_NORMAL, 1000, 60000}},
        {StatePlaying, 0, 60000, {TBPF_NORMAL, 0, 60000}},
        {StatePaused, 30000, 60000, {TBPF_PAUSED, 30000, 60000}},
        // A position the library reports past the end, or before the start, stays on the button.
        {StatePlaying, 61000, 60000, {TBPF_NORMAL, 60000, 60000}},
        {StatePlaying, -1, 60000, {TBPF_NORMAL, 0, 60000}},
        // No known length: no progress.
        {StatePlaying, 1000, 0, {}},
        {StatePlaying, 1000, -1, {}},
        {StatePaused, 1000, 0, {}},
        {StateStopped, 1000, 60000, {}},
        {StateEnded, 60000, 60000, {}},
        {StateNothing, 0, 0, {}},
    };
    for (const Case& c : cases) {
        const TaskbarProgress progress = taskbarProgressFor(c.state, c.position, c.length);
        EXPECT_TRUE(progress == c.expected)
            << "state " << c.state << " at " << c.position << " of " << c.length << ": " << progress.state
            << " " << progress.completed << "/" << progress.total;
    }
}

}  // namespace
