#pragma once

#include <string>

// The one test a path passes before the player takes it, from the command line, a running copy's
// hand-off or a folder listing alike: the file exists and opens for reading. Nothing is read.
bool fileOpensForReading(const std::wstring& path);
