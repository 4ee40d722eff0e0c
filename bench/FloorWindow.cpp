// The floor the player is measured against: a minimal window program built with the same toolchain and
// runtime, with a main window of the player's class name and size and the same 260 ms timer, whose tick
// does nothing.
#include "bench/FloorWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    HWND window = floorwindow::create(instance);
    return window != nullptr ? floorwindow::showAndRun(window, showCommand) : 1;
}
