#include <shlobj.h>

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
    std::deque<std::wstring> paths;
    bool adding = false;
};

std::shared_ptr<PendingPaths> pendingPaths() {
    static const auto pending = std::make_shared<PendingPaths>();
    return pending;
}

// The shell writes a shortcut and updates its lists, which takes from tens to hundreds of milliseconds
// (the first call here under Wine: 300 ms, and 60 ms more to load the shell's library): too long for the
// window's thread.
void addEach(const std::shared_ptr<PendingPaths>& pending) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const auto add = systemFunction<decltype(&SHAddToRecentDocs)>(L"shell32.dll", "SHAddToRecentDocs");
    for (;;) {
        std::wstring path;
        {
            std::lock_guard<std::mutex> guard(pending->mutex);
            if (pending->paths.empty()) {
                pending->adding = false;
                break;
            }
            path = std::move(pending->paths.front());
            pending->paths.pop_front();
        }
        if (add != nullptr) {
            add(SHARD_PATHW, path.c_str());
        }
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
