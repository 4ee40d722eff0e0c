#pragma once

#include <windows.h>

#include <atomic>

// The lock around the control bar's off-screen buffers: an auto-reset event, created signalled, used as
// a mutex (waiting without time-out takes it, signalling gives it back). A second wait by the thread that
// already holds it would never return, so a nested hold on the same thread takes nothing and gives
// nothing back; only the outermost hold waits and signals.
class BufferLock {
public:
    BufferLock() : event_(CreateEventW(nullptr, FALSE, TRUE, nullptr)) {}
    ~BufferLock() {
        if (event_ != nullptr) {
            CloseHandle(event_);
        }
    }
    BufferLock(const BufferLock&) = delete;
    BufferLock& operator=(const BufferLock&) = delete;

    HANDLE event() const { return event_; }

    // Holds the lock for as long as it lives.
    class Hold {
    public:
        explicit Hold(BufferLock& lock) : lock_(lock) {
            const DWORD self = GetCurrentThreadId();
            if (lock_.event_ == nullptr || lock_.owner_ == self) {
                return;
            }
            WaitForSingleObject(lock_.event_, INFINITE);
            lock_.owner_ = self;
            outermost_ = true;
        }
        ~Hold() {
            if (outermost_) {
                lock_.owner_ = 0;
                SetEvent(lock_.event_);
            }
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        BufferLock& lock_;
        bool outermost_ = false;
    };

private:
    HANDLE event_;
    std::atomic<DWORD> owner_{0};  // thread holding the lock; 0 when free
};
