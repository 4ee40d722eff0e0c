#pragma once

#include <cstddef>
#include <string>

// The main window's title: the product name, and while a file plays or is paused " - " and its name.
constexpr std::size_t kTitleCapacity = 260;  // wide characters, terminator included

// Writes the title into buffer (capacity wide characters, capacity > 0), always terminated. A text too
// long for the buffer is cut at the capacity, never in the middle of a surrogate pair.
void composeTitle(const wchar_t* productName, int playerState, const std::wstring& displayName,
                  wchar_t* buffer, std::size_t capacity);
