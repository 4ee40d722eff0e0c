#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/AccessiblePart.h"

// The control bar's parts for screen readers in other processes: each part's window answers
// WM_GETOBJECT (OBJID_CLIENT) with the part's accessible object, made on the first request and handed out
// only through LresultFromObject. Events for the parts are raised only once a reader has asked for one
// (a window with no reader costs nothing). detach() (or the destructor) disconnects every object handed
// out, before the windows go.
class BarAccess {
public:
    // Raises UI Automation's notification of the text for the window; false when the system has no such
    // call (before Windows 10, under Wine) or no client listens.
    using Notifier = bool (*)(HWND window, const std::wstring& text);
    // Tests' fake in place of the system's call; null puts the system's back.
    static void setNotifier(Notifier notifier);

    BarAccess() = default;
    ~BarAccess();
    BarAccess(const BarAccess&) = delete;
    BarAccess& operator=(const BarAccess&) = delete;

    // Serves a part with the role through the window (null: nothing); false when the window can't be
    // subclassed.
    bool attach(HWND window, LONG role, AccessiblePart::Reader reader);
    // Disconnects every object handed out and lets go of the windows.
    void detach();
    // Whether a reader has asked for any part.
    bool listening() const { return listening_; }
    // EVENT_OBJECT_* (VALUECHANGE, STATECHANGE, NAMECHANGE) for the part of the window, when a reader
    // listens.
    void raise(DWORD event, HWND window) const;
    // The text as a UI Automation notification from the window, through the notifier.
    static bool notify(HWND window, const std::wstring& text);

private:
    struct Served {
        HWND window;
        LONG role;
        AccessiblePart::Reader reader;
        AccessiblePart* object;  // one reference, made on the first request
    };
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    // The answer to WM_GETOBJECT for the window: the part's object for OBJID_CLIENT, else 0 (the system's).
    LRESULT answer(HWND window, WPARAM wParam, LPARAM lParam);

    std::vector<Served> parts_;
    bool listening_ = false;
    bool comStarted_ = false;
};
