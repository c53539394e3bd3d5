// The simulator's console: one text command changes a fault or a piece of
// the unit's state. Used by orlix6-sim on its standard input and by its
// --fault option; anything with a text channel to the unit can use it.
//
//   silent on|off          the unit stops (or resumes) reading and answering
//   reject N               answer '!' to every Nth command line (0 = never)
//   drop N / drop-in N     lose every Nth character sent / received
//   nul N                  a NUL byte after every Nth character sent
//   garbage N [TEXT]       TEXT (default: noise) before every Nth reply's data
//   inject TEXT            TEXT on the line now
//   hangup / plug          close the line / offer a new one
//   reboot                 reset into the boot loader
//   dac G S K V            DAC K of group G (l b h v n a d e g i k), set S
//                          (c f p), becomes V
//   delay MS               reply delay
//   wire on|off            wire-rate emulation
//   status, help
//
// TEXT understands \r \n \t \0 \\ and \xHH.
#pragma once

#include "sim/simulated_unit.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orlix::sim {

struct ControlResult {
    bool ok = false;
    std::string message; // what was done, or why not
};

ControlResult runControlCommand(SimulatedUnit& unit, std::string_view command, std::int64_t nowMs);

// A one-paragraph summary of the unit's state.
std::string describeUnit(const SimulatedUnit& unit, std::int64_t nowMs);

// Decodes the escapes of a TEXT argument.
std::string unescapeText(std::string_view text);

inline constexpr std::string_view kControlHelp =
    "silent on|off, reject N, drop N, drop-in N, nul N, garbage N [TEXT], inject TEXT,\n"
    "hangup, plug, reboot, dac G S K V, delay MS, wire on|off, status, help\n"
    "(TEXT takes \\r \\n \\t \\0 \\\\ \\xHH)";

} // namespace orlix::sim
