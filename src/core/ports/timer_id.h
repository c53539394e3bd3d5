// Every timer of the tool, named after the window control it stands for.
// Core starts and stops them through the Timers port; a tick comes back to
// App::onTimer with the same id.
#pragma once

#include <cstddef>

namespace orlix {

enum class TimerId : std::size_t {
    tmrSave,                   // frmMain: one data request per tick
    tmrKickXmitQueue,          // frmConnect: retries the transmit queue
    tmrKeepAlive,              // frmConnect: ping when the line has been quiet
    tmrConnect,                // frmConnect: watchdog for the ping's prompt
    frmTrying_tmrConnect,      // frmTrying: one connection try per tick
    frmTimedOut_Timer1,        // frmTimedOut: closes the notice
    frmMonitorData_tmrRefresh, // frmMonitorData: rebuilds the view while it is shown
    WritePause,                // the pause before each line is written
    ReplyTimeout,              // the outstanding line's prompt is overdue
    Count
};

inline constexpr std::size_t kTimerCount = static_cast<std::size_t>(TimerId::Count);

} // namespace orlix
