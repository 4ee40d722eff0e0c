#pragma once

#include <windows.h>

#include <string>

// The commands of watching a film that aren't the controller's alone: subtitle files chosen in a dialog or
// dropped on the window (the submenus' and the keys' commands are in MainCommands.cpp).

// The open dialog on the video's folder, for subtitle files; a confirmed choice is added to the video.
void chooseSubtitleFile();
// A subtitle file dropped while a video plays or is paused is added to it: true when the path was taken
// so, false when it is to be opened as any other file.
bool takeDroppedSubtitleFile(const std::wstring& path);
