// Process entry of orlix6-cli: the windowed tool's core on QCoreApplication,
// driven from the command line (see command_line.h for the commands).
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/terminal_output.h"
#include "cli/unit_session.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char** argv) {
    using namespace orlix::cli;
    // A closed output pipe shows as a failed write, not as sudden death.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("orlix6-cli");
    QCoreApplication::setOrganizationName("Orlix6");

    const ParseOutcome outcome = parseCommandLine(QCoreApplication::arguments());
    switch (outcome.kind) {
    case ParseOutcome::Kind::Help:
    case ParseOutcome::Kind::Version:
        writeOut(outcome.text.toStdString() + (outcome.text.endsWith('\n') ? "" : "\n"));
        return toInt(ExitCode::Ok);
    case ParseOutcome::Kind::UsageError:
        errorLine(outcome.text.toStdString());
        return toInt(ExitCode::Usage);
    case ParseOutcome::Kind::Run:
        break;
    }
    const Invocation& invocation = outcome.invocation;
    if (!invocation.entry->talksToUnit()) {
        return invocation.entry->run(invocation);
    }
    const auto command = invocation.entry->make(invocation);
    UnitSession session(invocation, *command);
    return session.run();
}
