#pragma once

#include <chrono>

// How fast a library's clock runs, from two of its own time reports a and b against the test's clock, so
// that neither the machine's speed nor delays in delivery can move the answer past the truth. A report
// left the library at a moment the test only knows between a mark taken before it and its arrival (the
// second report after a mark left after it: the library sends one only once the one before has been
// delivered). So the span between the two reports is bounded both ways: `slowest` divides what the
// library played by the longest span it can have taken (from the mark before a to the arrival of b),
// `fastest` by the shortest (from the arrival of a to the mark before b). The library's true rate lies
// in [slowest, fastest]: a test that expects at least some rate asserts on `fastest`, one that expects
// at most some rate on `slowest`, and a slow machine only widens the range.
namespace clockrate {

using Clock = std::chrono::steady_clock;

struct Report {
    long long time = 0;            // the library's time in the report, in milliseconds
    Clock::time_point markBefore;  // taken before the report left
    Clock::time_point arrival;     // when the test saw it
};

struct Rate {
    double slowest = 0;
    double fastest = 0;
};

inline double msBetween(Clock::time_point from, Clock::time_point to) {
    return static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(to - from).count()) /
           1000.0;
}

inline Rate between(const Report& a, const Report& b) {
    const double played = static_cast<double>(b.time - a.time);
    return {played / msBetween(a.markBefore, b.arrival), played / msBetween(a.arrival, b.markBefore)};
}

}  // namespace clockrate
