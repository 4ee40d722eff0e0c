#pragma once

#include <string>

constexpr wchar_t kVersionText[] = L"1.0";

// The about box's version line, e.g. "Velmora Player, Version 1.0".
std::wstring aboutText(const wchar_t* productName);
