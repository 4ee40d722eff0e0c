#pragma once

#include <windows.h>

// The advertisement library, called once when the main window is asked to close. It gets the main
// window, the product name and the advertisement address; a result of 2 cancels the close.
#ifdef LIBADS_BUILD
#define LIBADS_API extern "C" __declspec(dllexport)
#else
#define LIBADS_API extern "C" __declspec(dllimport)
#endif

constexpr int kLibadsCancelClose = 2;

LIBADS_API int __stdcall libads_show(HWND window, const wchar_t* productName, const wchar_t* adsUrl);
