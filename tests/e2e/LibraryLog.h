#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "common/ClockRate.h"
#include "e2e/PlayerProcess.h"

namespace e2e {

// What the library did in a player that runs on the bridge (tests/bridge/CallLog.c): its time reports as
// it made them, the seeks asked of it, and the track and rate it reads back after a choice. The bridge
// writes it where VELMORA_BRIDGE_LOG in the player's environment says.
class LibraryLog {
public:
    // A new log at that path (an old one goes).
    explicit LibraryLog(std::wstring path) : path_(std::move(path)) { DeleteFileW(path_.c_str()); }

    const std::wstring& path() const { return path_; }
    std::vector<std::string> lines() const {
        std::ifstream in(path_.c_str());
        std::vector<std::string> found;
        for (std::string line; std::getline(in, line);) {
            found.push_back(line);
        }
        return found;
    }
    // The numbers of the lines that start with the word ("time", "set_time"), in order.
    std::vector<long long> values(const std::string& word) const {
        std::vector<long long> found;
        for (const std::string& line : lines()) {
            if (line.rfind(word + " ", 0) == 0) {
                found.push_back(std::atoll(line.c_str() + word.size() + 1));
            }
        }
        return found;
    }
    // Waits until the log holds that line as often as `times`.
    bool waitFor(const std::string& line, DWORD timeoutMs, size_t times = 1) const {
        return waitUntil(
            [&] {
                const std::vector<std::string> all = lines();
                return static_cast<size_t>(std::count(all.begin(), all.end(), line)) >= times;
            },
            timeoutMs, 10);
    }
    // The second time report after now, with the moments that bracket when it left the library (see
    // ClockRate.h: the first may have been on its way already).
    bool reportAfter(clockrate::Report& report, DWORD timeoutMs = 5000) const {
        report.markBefore = clockrate::Clock::now();
        const size_t count = values("time").size();
        std::vector<long long> times;
        const bool seen = waitUntil(
            [&] {
                times = values("time");
                report.arrival = clockrate::Clock::now();
                return times.size() >= count + 2;
            },
            timeoutMs, 10);
        report.time = seen ? times[count + 1] : 0;
        return seen;
    }

private:
    std::wstring path_;
};

}  // namespace e2e
