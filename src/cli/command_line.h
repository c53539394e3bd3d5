// The command line of orlix6-cli: the table of commands, the options every
// command takes, each command's own options, and the help texts.
//
//   orlix6-cli COMMAND [options] [arguments]
//
// A command either works without the unit (`run`) or talks to it (`make`):
// then the session opens the port, connects as the windowed tool does and
// hands the link to the command. A new command is one row in commands()
// and one file with its functions.
#pragma once

#include "sim/unit_options.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::cli {

struct Invocation;
class UnitCommand;

struct CommandEntry {
    const char* name;
    const char* synopsis; // what follows the name on the usage line
    const char* summary;  // one line in the general help
    const char* description;
    // The total time allowed when --timeout is not given, in seconds;
    // 0: no limit. Unused for commands that do not talk to the unit.
    int defaultTimeoutSeconds;
    // Adds the command's own options.
    void (*addOptions)(QCommandLineParser&);
    // A usage error in the command's own options or arguments, or empty.
    QString (*validate)(const Invocation&);
    // Exactly one of the two: the command runs without the unit and
    // returns its exit code, or it is made and driven by a session.
    int (*run)(const Invocation&);
    std::unique_ptr<UnitCommand> (*make)(const Invocation&);

    bool talksToUnit() const { return make != nullptr; }
};

// Every command, in the order the help lists them (commands.cpp).
const std::vector<CommandEntry>& commands();

// --port: "Com3" (any case) names a port of the settings, anything else
// is a device ("/dev/ttyUSB0", "COM7" on Windows is a ComN too) or a
// network port ("rfc2217://127.0.0.1:3001"; a malformed one is an error).
struct PortArgument {
    int comNumber = 0; // 1..8, or 0 for a device
    std::string device;
};
std::optional<PortArgument> parsePortArgument(std::string_view text, std::string& error);

struct Invocation {
    const CommandEntry* entry = nullptr;
    QStringList arguments; // after the command's name
    std::optional<PortArgument> port;
    QString settingsPath; // empty: the per-user settings
    bool simulator = false;
    sim::UnitOptions simulatedUnit;
    int timeoutSeconds = 0; // 0: no limit
    std::shared_ptr<const QCommandLineParser> parser;

    bool isSet(const QString& option) const { return parser && parser->isSet(option); }
    QString value(const QString& option) const {
        return parser ? parser->value(option) : QString();
    }
};

struct ParseOutcome {
    enum class Kind { Run, Help, Version, UsageError };
    Kind kind = Kind::UsageError;
    QString text; // the help, the version line or the error message
    Invocation invocation;
};

// `arguments` as QCoreApplication::arguments() gives them (program first).
ParseOutcome parseCommandLine(const QStringList& arguments);

// The exit code table as --help shows it.
QString exitCodeHelp();

} // namespace orlix::cli
