#pragma once

#include <utility>

#include "resources/resource.h"

// The bar's picture buttons with the text of each one's tooltip, which is also the button's window text:
// the name a screen reader gives it.
constexpr std::pair<int, const wchar_t*> kBarButtonNames[] = {
    {IDC_BTN_OPEN, L"Open"},
    {IDC_BTN_PLAY, L"Play"},
    {IDC_BTN_PAUSE, L"Pause"},
    {IDC_BTN_STOP, L"Stop"},
    {IDC_BTN_PREV, L"Prev"},
    {IDC_BTN_NEXT, L"Next"},
    {IDC_BTN_MUTE, L"Mute On/Off"},
    {IDC_BTN_FULLSCREEN, L"Full Screen"},
    {IDC_BTN_LEAVE_FULLSCREEN, L"Leave Full Screen"}};
