// The millisecond tick counter: a monotonic clock, so it never wraps around.
#pragma once

#include <chrono>
#include <cstdint>

inline std::int64_t TickCountMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The same clock with a fraction, for timing a think.
inline double TickCountMsPrecise() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}
