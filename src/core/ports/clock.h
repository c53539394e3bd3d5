// Port: the time. Core never reads a clock of its own.
#pragma once

#include <cstdint>

namespace orlix {

struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale with an arbitrary origin.
    virtual std::int64_t nowMs() const = 0;
    // The local date and time of day.
    virtual DateTime localNow() const = 0;
};

} // namespace orlix
