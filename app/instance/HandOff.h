#pragma once

#include <windows.h>

#include <string>

// One running copy of the player: a new start with a file hands the file to the copy that published its
// main window, which opens it and comes to the front. The rendezvous is the key "Software\" + product
// name with the values "MainFrame_Handle" and "MainFrame_NewFile", plus two private messages.

constexpr UINT kInstancePingMessage = WM_APP + 503;        // answered with its own number by a running copy
constexpr UINT kOpenHandedOverFileMessage = WM_APP + 504;  // the path is waiting in "MainFrame_NewFile"
static_assert(kInstancePingMessage == 0x81F7 && kOpenHandedOverFileMessage == 0x81F8,
              "other versions of the player use these numbers");

// How long a new start waits for the running copy's answer before it starts on its own.
constexpr UINT kPingTimeoutMs = 3000;

// Makes this window the one later starts hand their files to; true when the handle was stored (never
// for a null window).
bool publishMainWindow(const wchar_t* productName, HWND window);
// True when a running copy answered and the path is on its way to it; false means this process starts
// as a normal copy (no copy runs, it doesn't answer in time, or it couldn't take a path this long).
bool handOffToRunningInstance(const wchar_t* productName, const std::wstring& path);
// The running copy's side: opens the handed-over file and, when it plays, comes to the front.
void receiveHandedOverFile();
