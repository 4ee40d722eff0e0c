#pragma once

#include <windows.h>

// The main window's placement from one run to the next: read once at start-up into AppState, written
// once at the very end. Registry failures are silent; both answer whether they read or wrote a value.

bool loadPlacement();
bool savePlacement();
// A placement as worth keeping or applying: a minimised window comes back restored, or maximised when
// it was maximised before it was minimised; the normal rectangle stays.
void keepRestorable(WINDOWPLACEMENT& placement);
