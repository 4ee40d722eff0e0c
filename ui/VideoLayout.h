#pragma once

#include <windows.h>

// Where the video frame puts its children, for a frame client area of width x height.
struct VideoLayout {
    RECT link{};     // the branding link: its size, 5 pixels from the top and right edges
    RECT surface{};  // the video surface: full width, below the link strip
};

// linkSize is the link's current size, or null when there is no link (the surface then starts at 10).
// The surface reaches 5 pixels below the frame's client area, where the frame clips it. The margins are
// those of a 96-DPI screen, scaled to dpi.
VideoLayout computeVideoLayout(int width, int height, const SIZE* linkSize, UINT dpi = 96);
