#pragma once

#include <string>

#include "playback/PlayerType.h"

// The rules the playlist and the controller apply to paths: pure text work, free of platform calls, so
// that they compile and can be checked anywhere. Paths are wide strings whose units are UTF-16 code
// units, with '\' between folders.

// The text up to and including the last backslash; empty when there is none.
std::wstring folderOf(const std::wstring& path);
// The text after the last backslash; the whole path when there is none.
std::wstring fileNameOf(const std::wstring& path);
// Extensions compare without case the way the C library's tolower does in the default C locale:
// only 'A'..'Z' change.
std::wstring asciiLowerCase(std::wstring text);

namespace pathrules {

// Code unit by code unit as unsigned 16-bit values; a prefix sorts before the longer path.
bool pathPrecedes(const std::wstring& a, const std::wstring& b);
// The player type for a path by its extension (after the last '.'): Flash media for "swf" and "fla",
// the libvlc player for anything else.
PlayerType playerTypeFor(const std::wstring& path);

}  // namespace pathrules
