#pragma once

#include <windows.h>

#include <vector>

#include "playback/MediaPlayer.h"
#include "playback/WatchRules.h"
#include "ui/WindowLinks.h"

// What the video area's context menu depends on.
struct ContextMenuInputs {
    bool hasPlayer = false;
    bool isPlaying = false;
    int playerState = 0;  // the player's state; 0 without a player
    int playlistCount = 0;
    bool canStep = false;  // the playlist can go to a previous or next file
    // The Audio, Subtitles and Speed submenus: what the player can do while a file plays or is paused
    // (PlayerFeature bits; none otherwise), its tracks, the current ones and the speed.
    unsigned features = 0;
    std::vector<MediaTrack> audioTracks;
    int audioTrack = kNoTrack;
    std::vector<MediaTrack> subtitleTracks;
    int subtitleTrack = kNoTrack;
    float speed = watching::kNormalSpeed;
    bool fullScreen = false;
    bool alwaysOnTop = false;  // the main window stays above the others
    // The place where the viewer stopped the file that plays, while it is offered (ms); -1 without one.
    std::int64_t resumeOffer = -1;
};

// Reads the inputs through the video window's links (a missing controller or player counts as nothing
// loaded).
ContextMenuInputs currentContextMenuInputs(const WindowLinks& links);

// Greys and removes the items of the context menu's pop-up (sub-menu 0 of menu 131) for the inputs, and
// fills and checks its Audio, Subtitles and Speed submenus; while a place is offered, "Resume from
// 00:03:44" comes first. Returns the pop-up, or null when the menu has none.
HMENU prepareContextMenu(HMENU menu, const ContextMenuInputs& inputs);
