#pragma once

#include <string>

#include "VelmoraVersion.h"

constexpr wchar_t kVersionText[] = VELMORA_VERSION_WIDE_TEXT;

// The about box's version line, e.g. "Velmora Player, Version 1.0".
std::wstring aboutText(const wchar_t* productName);
