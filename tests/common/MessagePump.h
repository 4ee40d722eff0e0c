#pragma once

#include <windows.h>

// Dispatches the calling thread's messages until done() holds or timeoutMs has passed; answers done().
template <typename Predicate>
bool pumpUntil(Predicate done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Dispatches whatever is queued now.
inline void pumpPending() {
    pumpUntil([] { return true; }, 0);
}
