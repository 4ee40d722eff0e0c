#pragma once

// Volume Up and Volume Down move the volume by 10 within 0..100. A muted player counts as volume 0, so
// Volume Up while muted gives 10 (and the new volume unmutes).
constexpr int kVolumeStep = 10;

// direction: +1 up, -1 down.
int volumeAfterStep(int volume, bool muted, int direction);
