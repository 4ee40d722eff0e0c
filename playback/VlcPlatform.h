#pragma once

#include <string>

#include "playback/MediaPlayer.h"
#include "playback/VlcApi.h"

// The two things the backend does differently on each target.

// The library takes paths as UTF-8. The whole path is converted, however long; false only when the
// wide text can't be expressed in UTF-8.
bool pathToUtf8(const wchar_t* path, std::string& utf8);

// Tells the library which window to render the video into.
void setOutputWindow(const VlcApi& api, libvlc_media_player_t* player, OutputWindow window);
