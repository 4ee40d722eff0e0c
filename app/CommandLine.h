#pragma once

#include <string>

// The command tail names one file. Explorer quotes a path that holds blanks ("C:\My Videos\a.mpg"), so
// one pair of enclosing double quotes is taken off; everything else is kept verbatim.
std::wstring commandTailPath(const wchar_t* tail);

// True when the file exists and opens for reading; nothing is read.
bool fileOpensForReading(const std::wstring& path);
