#pragma once

#include <string>

#include "playback/MediaPlayer.h"

struct VlcApi;
struct libvlc_media_player_t;

// The things the backend does differently on each target. Text conversion needs nothing of the library
// (FileUrl.cpp uses it too), so this header doesn't take in the library's own.

// The library takes paths, and any other text, as UTF-8. The whole text is converted, however long;
// false only when the wide text can't be expressed in UTF-8 (a lone surrogate).
bool pathToUtf8(const wchar_t* path, std::string& utf8);

// The library's own texts (track names), UTF-8, as wide text; a byte that isn't UTF-8 becomes U+FFFD.
std::wstring textFromUtf8(const char* utf8);

// Tells the library which window to render the video into.
void setOutputWindow(const VlcApi& api, libvlc_media_player_t* player, OutputWindow window);
