#include <shlobj.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/desktop/Desktop.h"
#include "ui/SystemLibrary.h"

namespace {

// The paths waiting to be added, and whether a thread is adding them. Shared with that thread, so that it
// may outlive the player's own objects at exit.
struct PendingPaths {
    std::mutex mutex;
    std::condition_variable done;  // told when the thread has added the last path
    std::deque<std::wstring> paths;
    bool adding = false;
    RecentDocumentAdder adder = nullptr;  // a test's, else the shell's
};

std::shared_ptr<PendingPaths> pendingPaths() {
    static const auto pending = std::make_shared<PendingPaths>();
    return pending;
}

void addWithShell(const wchar_t* path) {
    static const auto add = systemFunction<decltype(&SHAddToRecentDocs)>(L"shell32.dll", "SHAddToRecentDocs");
    if (add != nullptr) {
        add(SHARD_PATHW, path);
    }
}

// The shell writes a shortcut and updates its lists, which takes from tens to hundreds of milliseconds
// (the first call here under Wine: 300 ms, and 60 ms more to load the shell's library): too long for the
// window's thread.
void addEach(const std::shared_ptr<PendingPaths>& pending) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    for (;;) {
        std::wstring path;
        RecentDocumentAdder add = nullptr;
        {
            std::lock_guard<std::mutex> guard(pending->mutex);
            if (pending->paths.empty()) {
                pending->adding = false;
                pending->done.notify_all();
                break;
            }
            path = std::move(pending->paths.front());
            pending->paths.pop_front();
            add = pending->adder != nullptr ? pending->adder : &addWithShell;
        }
        add(path.c_str());
    }
    if (com) {
        CoUninitialize();
    }
}

}  // namespace

// The system keeps the list (the taskbar's and Start's jump lists, Explorer's Recent) and honours the
// user's choice not to keep one.
void addToRecentDocuments(const std::wstring& path) {
    const std::shared_ptr<PendingPaths> pending = pendingPaths();
    {
        std::lock_guard<std::mutex> guard(pending->mutex);
        pending->paths.push_back(path);
        if (pending->adding) {
            return;
        }
        pending->adding = true;
    }
    try {
        std::thread([pending] {
            // Behind the player's own work, the disk's included.
            SetThreadPriority(GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN);
            addEach(pending);
        }).detach();
    } catch (const std::system_error&) {
        addEach(pending);  // no thread to be had: here and now
    }
}

// The thread stays detached: a shell that hangs must not hold the player's exit for longer than the bound.
void finishRecentDocuments(DWORD boundMs) {
    const std::shared_ptr<PendingPaths> pending = pendingPaths();
    std::unique_lock<std::mutex> lock(pending->mutex);
    pending->done.wait_for(lock, std::chrono::milliseconds(boundMs), [&] { return !pending->adding; });
}

void useRecentDocumentAdder(RecentDocumentAdder adder) {
    const std::shared_ptr<PendingPaths> pending = pendingPaths();
    std::lock_guard<std::mutex> guard(pending->mutex);
    pending->adder = adder;
}
