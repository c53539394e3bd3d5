// orlix6-cli ping: connects as the windowed tool does and says which
// firmware answered, "application firmware V x.xx" or "boot loader". The
// exit code says whether that is the one expected (--expect, by default
// the application): 0 when it is, 5 when the unit is in the other mode.
#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "cli/unit_session.h"

namespace orlix::cli {

namespace {

const QString kExpect = QStringLiteral("expect");

class Ping : public UnitCommand {
public:
    explicit Ping(bool bootExpected) : m_bootExpected(bootExpected) {}

    void connected(UnitSession& s) override {
        // In the application the connection asks for the firmware version
        // at once; its answer is awaited below.
        if (s.app().link.BootMode) {
            report(s);
        }
    }

    void afterEvent(UnitSession& s) override {
        if (!s.linkUp()) {
            s.finish(ExitCode::NoAnswer, "the line to the unit on " + s.device() + " was lost (" +
                                             s.linkLostReason() + "). Try again.");
        } else if (s.linkIdle()) {
            report(s);
        }
    }

    void timedOut(UnitSession& s) override {
        s.finish(ExitCode::NoAnswer, "the unit on " + s.device() +
                                         " did not report its firmware version in time; "
                                         "allow more time with --timeout.");
    }

private:
    void report(UnitSession& s) {
        writeOut(s.firmwareText() + "\n");
        const bool boot = s.app().link.BootMode;
        if (boot == m_bootExpected) {
            s.finish(ExitCode::Ok);
        } else {
            s.finish(ExitCode::WrongMode, boot ? s.bootLoaderText() : s.applicationText());
        }
    }

    bool m_bootExpected;
};

void addOptions(QCommandLineParser& parser) {
    parser.addOption({kExpect,
                      "The firmware that should answer: app (the application firmware, "
                      "the default) or boot (the boot loader). The other one gives exit code 5.",
                      "app|boot", "app"});
}

QString validate(const Invocation& invocation) {
    const QString expect = invocation.value(kExpect);
    if (expect != "app" && expect != "boot") {
        return QStringLiteral("--expect takes app or boot, not '%1'").arg(expect);
    }
    return expectArguments(invocation, 0, "");
}

std::unique_ptr<UnitCommand> make(const Invocation& invocation) {
    return std::make_unique<Ping>(invocation.value(kExpect) == "boot");
}

} // namespace

CommandEntry pingCommand() {
    return {"ping",
            "",
            "connect and say which firmware answers",
            "Connects to the unit as the windowed tool does (a ping every 2 s, as many "
            "tries as the settings allow) and prints \"application firmware V x.xx\" or "
            "\"boot loader\".",
            30,
            addOptions,
            validate,
            nullptr,
            make};
}

} // namespace orlix::cli
