#pragma once

#include <windows.h>

#include "playback/PlaybackView.h"

// The windows the shell makes below the main window, the video window and the control bar, as one
// object: start-up makes them, tear-down destroys them, and the controller sees them through it. It keeps
// no state of its own: the windows are the ones the process record holds, so once tear-down has cleared
// them every call finds nothing to do, and a controller that outlives them stays safe.
class PlayerWindows final : public PlaybackView {
public:
    // The video window and the control bar as children of the record's main window; false when either
    // can't be made.
    bool create();
    // Destroys both windows and their single objects.
    void destroy();

    OutputWindow ownerWindow() override;
    bool prepareSurface(PlayerType playerType) override;
    OutputWindow surfaceWindow() override;
    void showSurface(bool show) override;
    bool surfaceHidden() override;
    void updateButtons() override;
    void refreshTime() override;
    void refreshVolume() override;
    void showPosition(std::int64_t positionMs) override;
    void tell(const Change& change) override;
    void resetBarAfterStop() override;
    void playbackStarted() override;
    void fileChosen(const std::wstring& path) override;
};

// The one object, for the life of the process.
PlayerWindows& playerWindows();
