// Runs of orlix6-cli stopped part-way, for tables of them: how each run is
// stopped (a command on the simulated unit's console, or a signal to the
// program), the exit code and a part of the message expected. Header-only;
// for targets that define ORLIX6_CLI_BIN and ORLIX6_SIM_BIN.
#pragma once

#include "windows_support/cli_program.h"
#include "windows_support/sim_process.h"

#include <signal.h>

#include <functional>
#include <ostream>

namespace orlix::test {

using Stop = std::function<void(SimProgram&, CliProgram&)>;

struct StopCase {
    const char* name;
    Stop stop;
    int code;
    QString err;
};

// The case's name in test listings, not its bytes.
inline void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.name;
}

// "hangup", "reject 1": the unit's console.
inline Stop simConsole(const char* command) {
    return [command](SimProgram& sim, CliProgram&) { sim.console(command); };
}

inline Stop signalToCli(int number) {
    return [number](SimProgram&, CliProgram& cli) { ::kill(pid_t(cli.processId()), number); };
}

} // namespace orlix::test
