#include "app/VolumeStep.h"

int volumeAfterStep(int volume, bool muted, int direction) {
    int start = muted ? 0 : volume;
    int next = direction > 0 ? start + kVolumeStep : start - kVolumeStep;
    if (next < 0) {
        return 0;
    }
    return next > 100 ? 100 : next;
}
