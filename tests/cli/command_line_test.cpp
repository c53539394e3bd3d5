// The command line: what each command accepts, the usage errors a script
// can make (every one a message that names the fix), and the choices that
// reach the session.
#include "cli/command_line.h"
#include "cli/exit_codes.h"

#include <gtest/gtest.h>

#include <set>

namespace orlix::cli {
namespace {

using Kind = ParseOutcome::Kind;

ParseOutcome parse(const QStringList& args) {
    return parseCommandLine(QStringList{"orlix6-cli"} + args);
}

TEST(CommandLine, UsageErrorsAreRefusedWithAMessageThatPointsToTheHelp) {
    struct Case {
        const char* name;
        QStringList args;
        const char* message; // part of the message
    };
    for (const Case& c : {
             Case{"NoCommand",
                  {},
                  "no command given (commands: ports, ping, read, show, diff, flash, console)"},
             Case{"UnknownCommand", {"flsh"}, "unknown command 'flsh'"},
             Case{"UnknownOption", {"ping", "--prot", "x"}, "Unknown option 'prot'"},
             Case{"OptionOfAnotherCommand", {"ping", "--json"}, "Unknown option 'json'"},
             Case{"MissingValue", {"ping", "--port"}, "Missing value after '--port'"},
             Case{"EmptyPort", {"ping", "--port", " "}, "--port wants a device"},
             Case{"MalformedNetworkPort",
                  {"ping", "--port", "rfc2217://127.0.0.1"},
                  "--port: \"rfc2217://127.0.0.1\" is not a network port: the port number"},
             Case{"PortAndSimulator", {"ping", "--port", "Com1", "--simulator"}, "exclude"},
             Case{"TimeoutNotANumber", {"read", "-o", "a.mdv", "--timeout", "1m"}, "'1m'"},
             Case{"NegativeTimeout", {"ping", "--timeout", "-5"}, "whole number of seconds"},
             Case{"BadSimFirmware", {"ping", "--simulator", "--sim-firmware", "two"}, "'two'"},
             Case{"ReadWithoutOutput", {"read"}, "-o FILE.mdv"},
             Case{"BadScanSets", {"read", "-o", "a.mdv", "--scan-sets", "some"}, "'some'"},
             Case{"BadExpect", {"ping", "--expect", "loader"}, "app or boot"},
             Case{"StrayArgument", {"console", "extra"}, "takes no arguments"},
             Case{"ShowWithoutFile", {"show"}, "show wants one data file"},
             Case{"FlashWithoutImage", {"flash", "--no-erase"}, "flash IMAGE.hex"},
             Case{"DiffWithOneFile", {"diff", "a.mdv"}, "diff wants two data files"},
         }) {
        SCOPED_TRACE(c.name);
        const ParseOutcome outcome = parse(c.args);
        EXPECT_EQ(outcome.kind, Kind::UsageError);
        EXPECT_TRUE(outcome.text.contains(c.message)) << outcome.text.toStdString();
        EXPECT_TRUE(outcome.text.contains("--help")) << outcome.text.toStdString();
    }
}

TEST(CommandLine, OptionsMayComeBeforeOrAfterTheCommand) {
    for (const QStringList& args :
         {QStringList{"--port", "/dev/ttyUSB0", "read", "-o", "a.mdv", "--timeout", "9"},
          QStringList{"read", "--port=/dev/ttyUSB0", "--output", "a.mdv", "--timeout=9"}}) {
        const ParseOutcome outcome = parse(args);
        ASSERT_EQ(outcome.kind, Kind::Run) << outcome.text.toStdString();
        const Invocation& inv = outcome.invocation;
        EXPECT_STREQ(inv.entry->name, "read");
        ASSERT_TRUE(inv.port);
        EXPECT_EQ(inv.port->device, "/dev/ttyUSB0");
        EXPECT_EQ(inv.timeoutSeconds, 9);
        EXPECT_EQ(inv.value("output"), "a.mdv");
    }
}

TEST(CommandLine, AnOptionsValueIsNeverTakenForTheCommand) {
    const ParseOutcome outcome = parse({"-o", "ping", "read"});
    ASSERT_EQ(outcome.kind, Kind::Run) << outcome.text.toStdString();
    EXPECT_STREQ(outcome.invocation.entry->name, "read");
    EXPECT_EQ(outcome.invocation.value("output"), "ping");
}

TEST(CommandLine, EachCommandHasItsOwnTimeLimitUnlessOneIsGiven) {
    EXPECT_EQ(parse({"ping"}).invocation.timeoutSeconds, 30);
    EXPECT_EQ(parse({"read", "-o", "a.mdv"}).invocation.timeoutSeconds, 150);
    EXPECT_EQ(parse({"console"}).invocation.timeoutSeconds, 0);
    EXPECT_EQ(parse({"console", "--timeout", "0"}).invocation.timeoutSeconds, 0);
    EXPECT_EQ(parse({"ping", "--timeout", "5"}).invocation.timeoutSeconds, 5);
}

TEST(CommandLine, PortNamesAConfiguredComOrADevice) {
    struct Case {
        std::string text;
        int com;
        std::string device;
    };
    for (const Case& c :
         {Case{"Com3", 3, ""}, Case{"COM8", 8, ""}, Case{"com1", 1, ""}, Case{"Com9", 0, "Com9"},
          Case{"COM12", 0, "COM12"}, Case{"/dev/ttyUSB0", 0, "/dev/ttyUSB0"},
          Case{"tcp://127.0.0.1:4001", 0, "tcp://127.0.0.1:4001"}}) {
        std::string error;
        const auto port = parsePortArgument(c.text, error);
        ASSERT_TRUE(port) << c.text;
        EXPECT_EQ(port->comNumber, c.com) << c.text;
        EXPECT_EQ(port->device, c.device) << c.text;
    }
}

TEST(CommandLine, HelpListsEveryCommandAndEveryExitCode) {
    const ParseOutcome general = parse({"--help"});
    ASSERT_EQ(general.kind, Kind::Help);
    for (const CommandEntry& entry : commands()) {
        EXPECT_TRUE(general.text.contains(QStringLiteral("  %1 ").arg(entry.name))) << entry.name;
        const ParseOutcome own = parse({entry.name, "--help"});
        ASSERT_EQ(own.kind, Kind::Help) << entry.name;
        EXPECT_TRUE(own.text.startsWith(QStringLiteral("Usage: orlix6-cli %1").arg(entry.name)));
        EXPECT_TRUE(own.text.contains("Exit codes:")) << entry.name;
    }
    std::set<int> codes;
    for (const ExitCodeRow& row : kExitCodes) {
        EXPECT_TRUE(codes.insert(toInt(row.code)).second) << "twice: " << toInt(row.code);
        EXPECT_TRUE(general.text.contains(QStringLiteral("%1  ").arg(toInt(row.code), 3)))
            << toInt(row.code);
    }
    EXPECT_EQ(parse({"--version"}).text, "orlix6-cli 6.0.3");
}

TEST(CommandLine, HelpKeepsParagraphsAndExamplesAsWritten) {
    // The JSON shape in the help of show is an example: its lines stay as
    // they are, while the prose around it is wrapped.
    const QString help = parse({"show", "--help"}).text;
    EXPECT_TRUE(help.contains("\n\nWith --json, one object:\n  {\"file\": PATH,\n   \"identity\""))
        << help.toStdString();
    for (const QString& line : help.split('\n')) {
        EXPECT_LE(line.size(), 80) << line.toStdString();
    }
}

} // namespace
} // namespace orlix::cli
