// The commands of orlix6-cli, one file each; commands() in commands.cpp
// lists them for the command line and the help.
#pragma once

#include "cli/command_line.h"

namespace orlix::cli {

CommandEntry portsCommand();
CommandEntry pingCommand();
CommandEntry readCommand();
CommandEntry consoleCommand();
CommandEntry showCommand();
CommandEntry diffCommand();
CommandEntry flashCommand();

// A usage error when the command got other than `count` arguments.
QString expectArguments(const Invocation& invocation, qsizetype count, const char* what);

} // namespace orlix::cli
