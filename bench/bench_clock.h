// The clock the benchmarks time their operations with.
#pragma once

#include <chrono>

using Clock = std::chrono::steady_clock;

// Milliseconds from `start` to now.
inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}
