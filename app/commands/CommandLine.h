#pragma once

#include <string>

// The command tail names one file. Explorer quotes a path that holds blanks ("C:\My Videos\a.mpg"), so
// one pair of enclosing double quotes is taken off; everything else is kept verbatim.
std::wstring commandTailPath(const wchar_t* tail);

// The path made absolute against this process's current folder, as the system resolves it: a bare name
// typed in a console means the file in that console's folder. The path as given when that fails.
std::wstring absolutePath(const std::wstring& path);
