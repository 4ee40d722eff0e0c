#pragma once

#include <chrono>
#include <thread>

// Polls the condition until it holds or the limit has passed; true when it held. Every wait of the
// tests is bounded like this, so that a broken program fails its test instead of hanging the suite, and
// waits for a condition rather than for a fixed time, so that a loaded machine doesn't fail it.
namespace testwait {

template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds poll = std::chrono::milliseconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(poll);
    }
}

}  // namespace testwait
