#pragma once

// Include this instead of <gdiplus.h>. The build defines NOMINMAX, but the GDI+ headers use unqualified
// min and max, so the standard ones are brought in first; <windows.h> must precede them as well.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
using std::max;
using std::min;

#include <gdiplus.h>
