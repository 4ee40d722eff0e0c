#include "app/desktop/Desktop.h"
#include "app/desktop/DesktopRules.h"
#include "app/window/MainWindow.h"
#include "resources/resource.h"

// Every notch runs the command of the Up or Down key, so the wheel does exactly what they do.
void onMouseWheel(int delta) {
    static desktoprules::WheelNotches wheel;
    int notches = wheel.add(delta);
    for (; notches > 0; --notches) {
        runCommand(ID_VOLUME_UP);
    }
    for (; notches < 0; ++notches) {
        runCommand(ID_VOLUME_DOWN);
    }
}
