#pragma once

#include "playback/MediaPlayer.h"

// What the playback controller asks of the windows that show playback: the video window and the
// control bar. The controller reaches them, and the main window, only through these calls, which do
// nothing (or answer as if nothing needed doing) while that window object doesn't exist.
namespace playbackview {

// The main window, which owns the player's output; null before it exists.
OutputWindow ownerWindow();

// Prepares a hidden video surface suited to the player type; false when there is none for the type.
// Without a video window there is nothing to prepare and the answer is true.
bool prepareSurface(PlayerType playerType);
// The surface the player renders into; null while there is none.
OutputWindow surfaceWindow();
void showSurface(bool show);
// True when the surface exists and is hidden.
bool surfaceHidden();

// The control bar: button states after a player state change, the time display, the volume display.
void updateButtons();
void refreshTime();
void refreshVolume();
// After a stop: the bar lets go of a slider drag, switches its auto-hide off and forgets the length.
void resetBarAfterStop();

}  // namespace playbackview
