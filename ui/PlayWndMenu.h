#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "playback/MediaPlayer.h"
#include "playback/WatchRules.h"
#include "ui/WindowLinks.h"

class PlayLogic;

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
    // The Chapters submenu and the delays the Subtitles and Audio submenus show (ms).
    std::vector<MediaChapter> chapters;
    int chapter = -1;
    std::int64_t subtitleDelay = 0;
    std::int64_t audioDelay = 0;
    bool fullScreen = false;
    bool alwaysOnTop = false;  // the main window stays above the others
    std::wstring path;         // the controller's current file, which the chapter and track items belong to
    // The place where the viewer stopped the file that plays, while it is offered (ms); -1 without one.
    std::int64_t resumeOffer = -1;
};

// Reads the inputs through the video window's links (a missing controller or player counts as nothing
// loaded).
ContextMenuInputs currentContextMenuInputs(const WindowLinks& links);

// Greys and removes the items of the context menu's pop-up (sub-menu 0 of menu 131) for the inputs, and
// fills and checks its Audio, Subtitles, Speed and Chapters submenus; while a place is offered, "Resume
// from 00:03:44" comes first. Returns the pop-up, or null when the menu has none.
HMENU prepareContextMenu(HMENU menu, const ContextMenuInputs& inputs);

// False for an item that stands for a place in the file's own list (a chapter) when another file plays
// (`pathNow`) than the one the menu was made for: its place would mean something else there.
bool menuChoiceApplies(UINT command, const ContextMenuInputs& shown, const std::wstring& pathNow);
// The item of an Audio or Subtitles track that was clicked: which list and the track's own id.
struct TrackItem {
    bool audio = false;
    int id = kNoTrack;
};
// False for a command of the prepared pop-up that is no track's item.
bool trackItemOf(HMENU popup, UINT command, TrackItem& item);
// Chooses the clicked track, unless another file plays now than the one the menu was made for (the
// main window's timer runs inside the menu's loop, so the folder may have moved on meanwhile).
void chooseTrackItem(PlayLogic* controller, const std::wstring& menuPath, const TrackItem& item);
