// Port: named timers. A started timer ticks every interval until it is
// stopped; starting a running timer restarts its count with the new interval.
#pragma once

#include "core/ports/timer_id.h"

namespace orlix {

class Timers {
public:
    virtual ~Timers() = default;
    virtual void start(TimerId id, int intervalMs) = 0;
    virtual void stop(TimerId id) = 0;
};

} // namespace orlix
