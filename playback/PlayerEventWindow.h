#pragma once

#include <windows.h>

// A message-only window on the thread that creates it. The library delivers player events on a thread
// of its own; post() carries each event's type over to this window, whose thread then runs the handler.
// One such window exists per process, so post() finds it without any user data.
class PlayerEventWindow {
public:
    using Handler = void (*)(void* context, int eventType);

    PlayerEventWindow(Handler handler, void* context);
    ~PlayerEventWindow();
    PlayerEventWindow(const PlayerEventWindow&) = delete;
    PlayerEventWindow& operator=(const PlayerEventWindow&) = delete;

    bool valid() const { return window_ != nullptr; }
    HWND handle() const { return window_; }

    // Safe from any thread: queues the event for the window's thread and never waits for it. False
    // when no window exists (nothing listens any more) or the queue refused the message.
    static bool post(int eventType);

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void deliver(int eventType) { handler_(context_, eventType); }

    Handler handler_;
    void* context_;
    HWND window_ = nullptr;
};
