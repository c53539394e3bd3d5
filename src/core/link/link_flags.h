// The link state shared by the connection logic, the reply handlers and the
// windows: which of the four link states holds, whether a unit answered the
// last ping, and the switches that govern the keep-alive.
#pragma once

#include <cstdint>

namespace orlix {

struct LinkFlags {
    // Exactly one of the four is true after every state change.
    bool OnlineMode = false;
    bool OfflineMode = false;
    bool BootMode = false;
    bool DemoMode = false;
    // A unit is connected, in its application or its boot loader.
    bool linkUp() const { return OnlineMode || BootMode; }

    // The ping's reply carried a prompt (set by the P reply handler).
    bool MonitorConnected = false;
    // That prompt came from the boot loader.
    bool MonitorInBootMode = false;

    std::int32_t AppMode = 0; // 0 user mode; 1, 2 accepted; anything else an error
    std::int16_t CommPortNumber = 1;
    std::int16_t ConnectRetryLimit = 5;
    bool AutoPingEnabled = true;
    bool CommLogWindowEnabled = true;
    bool BypassXmitQueue = false;
};

} // namespace orlix
