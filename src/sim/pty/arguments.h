// The command line of orlix6-sim.
#pragma once

#include "sim/unit_options.h"

#include <string>
#include <vector>

namespace orlix::sim::pty {

struct Arguments {
    std::string linkPath;
    UnitOptions unit;
    std::vector<std::string> faultCommands; // console commands run at start
    int replugAfterMs = -1;                 // after a hang-up; -1 waits for "plug"
    bool quiet = false;                     // do not print the command lines
    bool trace = false;                     // print every byte both ways
    bool help = false;
};

// Fills `args` from argv; false and a message on a bad command line.
bool parseArguments(int argc, char** argv, Arguments& args, std::string& error);

extern const char* const kUsage;

} // namespace orlix::sim::pty
