// The millisecond tick counter: a monotonic clock, so it never wraps around.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

inline std::int64_t TickCountMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The same clock with a fraction, for timing a think.
inline double TickCountMsPrecise() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The tick counter that COM's 8-second deadline is set and tested with. The danger scan reads it after
// every move it examines, so it must be cheap: the coarse monotonic clock reads in a few nanoseconds
// and advances in steps of a few milliseconds, like a system tick.
inline std::int64_t DeadlineTickMs() {
#if defined(CLOCK_MONOTONIC_COARSE)
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return std::int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
#else
    return TickCountMs();
#endif
}
