#pragma once

#include <cstdint>
#include <string>

#include "playback/Change.h"
#include "playback/MediaPlayer.h"

// What the playback controller asks of the windows that show playback: the main window, the video
// window and the control bar. The controller is given one view when it is made and calls it on the
// user-interface thread only; a controller given none behaves as if none of those windows existed.
class PlaybackView {
public:
    virtual ~PlaybackView() = default;

    // The main window, which owns the player's output; null before it exists.
    virtual OutputWindow ownerWindow() = 0;

    // Prepares a hidden video surface suited to the player type; false when there is none for the type.
    // Without a video window there is nothing to prepare and the answer is true.
    virtual bool prepareSurface(PlayerType playerType) = 0;
    // The surface the player renders into; null while there is none.
    virtual OutputWindow surfaceWindow() = 0;
    virtual void showSurface(bool show) = 0;
    // True when the surface exists and is hidden.
    virtual bool surfaceHidden() = 0;

    // The control bar: button states after a player state change, the time display, the volume display.
    virtual void updateButtons() = 0;
    virtual void refreshTime() = 0;
    virtual void refreshVolume() = 0;
    // The time display at a position the controller just asked the player for: a seek shows at once, also
    // while paused, when the library reports no time.
    virtual void showPosition(std::int64_t positionMs) = 0;
    // Something changed (a volume, a track, the speed, a seek by key, a file the library gave up on): the
    // view tells it for a moment, in words and at a place of its choosing.
    virtual void tell(const Change& change) = 0;
    // After a stop: the bar lets go of a slider drag, switches its auto-hide off and forgets the length.
    virtual void resetBarAfterStop() = 0;
    // Playback starts or resumes: in full screen the bar's auto-hide counts its rest from now.
    virtual void playbackStarted() = 0;

    // A file the user chose opened: from the command line, the open dialog, a drop, a second start's
    // hand-off, Previous or Next; the move to the next file at the end of one is none.
    virtual void fileChosen(const std::wstring& path) = 0;
};
