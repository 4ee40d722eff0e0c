#include <gtest/gtest.h>

#include "ui/GdiplusSession.h"
#include "ui/WindowLibrary.h"

// GDI+ and the window library live around every test, as they do around the player's windows.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    GdiplusSession gdiplus;
    if (!gdiplus.started()) {
        return 2;
    }
    initWindowLibrary(GetModuleHandleW(nullptr));
    const int result = RUN_ALL_TESTS();
    shutdownWindowLibrary(GetModuleHandleW(nullptr));
    return result;
}
