#include <windows.h>

#include "app/Startup.h"
#include "ui/GdiplusSession.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandTail, int showCommand) {
    // GDI+ outlives every image of the run: the session ends only after the player has shut down.
    GdiplusSession gdiplus;
    return runPlayer(instance, commandTail, showCommand);
}
