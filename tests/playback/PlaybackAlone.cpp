// The playback layer on its own: this program links every object of it and nothing of the layers above.
// A controller without a view (no windows to show anything in) takes every command safely.
#include <cstdio>

#include "playback/PlayLogic.h"

int main() {
    PlayLogic controller;
    controller.play();  // nothing opened: only a stop
    controller.changeVolume(-1);
    controller.toggleMute();
    controller.skip(+1);
    controller.timerProc();
    controller.onPlayerEvent(EventPlaying);
    const bool open = controller.open(L"C:\\no such folder\\clip.mpg");
    if (open || controller.volume() != 90 || !controller.muted() || controller.player() != nullptr) {
        std::fprintf(stderr, "playback alone: the controller without a view went wrong\n");
        return 1;
    }
    return 0;
}
