#include "cli/command_line.h"

#include "cli/exit_codes.h"
#include "core/net/network_address.h"
#include "orlix6/version.h"
#include "sim/firmware_version.h"

#include <QRegularExpression>

namespace orlix::cli {

namespace {

const QString kProgram = QStringLiteral("orlix6-cli");
constexpr int kHelpWidth = 79;

QString versionLine() {
    return QStringLiteral("%1 %2.%3.%4")
        .arg(kProgram)
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

// The options every command takes.
struct CommonOptions {
    QCommandLineOption help{{"h", "help"}, "Show this help and the exit codes."};
    QCommandLineOption version{"version", "Show the program's version."};
    QCommandLineOption port{"port",
                            "The unit's serial port: a device (/dev/ttyUSB0), a serial "
                            "server on the network (tcp://HOST:PORT raw, rfc2217://HOST:PORT "
                            "Telnet with port control) or a port of the settings (Com1..Com8). "
                            "Default: the port the windowed tool last used.",
                            "DEV|URL|ComN"};
    QCommandLineOption settings{"settings",
                                "Read the settings from this INI file instead of the "
                                "per-user one. orlix6-cli never writes the settings.",
                                "FILE"};
    QCommandLineOption simulator{"simulator",
                                 "Talk to the built-in simulated display instead of a port."};
    QCommandLineOption simFirmware{
        "sim-firmware", "Firmware version of the simulated display (1.39, 2.24, 3.10).", "X.YY"};
    QCommandLineOption simBoot{"sim-boot", "Start the simulated display in its boot loader."};
    QCommandLineOption timeout{"timeout",
                               "Give up after this many seconds in all (0: no limit). "
                               "Each command has its own default.",
                               "SECONDS"};

    void addTo(QCommandLineParser& parser) const {
        parser.addOptions(
            {help, version, port, settings, simulator, simFirmware, simBoot, timeout});
    }
};

QString commandNames() {
    QStringList names;
    for (const CommandEntry& entry : commands()) {
        names << entry.name;
    }
    return names.join(", ");
}

QString commandList() {
    QString text = QStringLiteral("Commands:\n");
    for (const CommandEntry& entry : commands()) {
        text += QStringLiteral("  %1  %2\n").arg(QLatin1String(entry.name), -9).arg(entry.summary);
    }
    return text;
}

void configure(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
}

// One paragraph broken into lines of at most kHelpWidth characters, for a
// place that starts at column `indent`; the lines after the first are
// indented.
QString wrappedParagraph(const QString& text, int indent) {
    QString out;
    int column = indent;
    bool first = true;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        if (!first && column + 1 + word.size() > kHelpWidth) {
            out += '\n' + QString(indent, ' ');
            column = indent;
        } else if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += int(word.size());
        first = false;
    }
    return out;
}

// `text` wrapped paragraph by paragraph (a line break starts a new one); a
// line that starts with two blanks is kept as it stands (an example).
QString wrapped(const QString& text, int indent) {
    QStringList lines;
    for (const QString& line : text.split('\n')) {
        lines << (line.startsWith(QLatin1String("  ")) ? line : wrappedParagraph(line, indent));
    }
    return lines.join('\n' + QString(indent, ' '));
}

// Qt's help text with our own usage line and a wrapped description.
QString helpWith(const QCommandLineParser& parser, const QString& usage,
                 const QString& description) {
    QString text = parser.helpText();
    text = text.mid(text.indexOf('\n') + 1); // Qt's usage line
    while (text.startsWith('\n')) {
        text.remove(0, 1);
    }
    return usage + "\n\n" + description + "\n\n" + text + "\n" + exitCodeHelp();
}

QString generalHelp(const CommonOptions& common) {
    QCommandLineParser parser;
    configure(parser);
    common.addTo(parser);
    const QString description =
        wrapped("The Orlix6 service tool without windows, for scripts, production lines and "
                "quick checks. It drives the same core as the windowed tool.",
                0) +
        "\n\n" + commandList();
    return helpWith(parser, "Usage: " + kProgram + " COMMAND [options]", description) + "\nRun '" +
           kProgram + " COMMAND --help' for the options of one command.\n";
}

QString commandHelp(const QCommandLineParser& parser, const CommandEntry& entry) {
    QString usage = QStringLiteral("Usage: %1 %2 [options]").arg(kProgram, entry.name);
    if (*entry.synopsis != '\0') {
        usage += ' ' + QLatin1String(entry.synopsis);
    }
    return helpWith(parser, usage, wrapped(entry.description, 0));
}

ParseOutcome usageError(const QString& message, const CommandEntry* entry = nullptr) {
    ParseOutcome outcome;
    outcome.kind = ParseOutcome::Kind::UsageError;
    QString text = message;
    while (text.endsWith('.')) {
        text.chop(1); // Qt's texts end in a full stop
    }
    outcome.text = text + QStringLiteral(". See '%1%2 --help'.")
                              .arg(kProgram, entry ? QStringLiteral(" ") + entry->name : QString());
    return outcome;
}

std::optional<int> parseSeconds(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 7 * 24 * 3600) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<PortArgument> parsePortArgument(std::string_view text, std::string& error) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        error = "--port wants a device or a port of the settings (Com1..Com8)";
        return std::nullopt;
    }
    PortArgument port;
    const bool comName = text.size() == 4 && (text[0] == 'C' || text[0] == 'c') &&
                         (text[1] == 'O' || text[1] == 'o') && (text[2] == 'M' || text[2] == 'm') &&
                         text[3] >= '1' && text[3] <= '8';
    if (comName) {
        port.comNumber = text[3] - '0';
    } else if (std::string problem = net::deviceNameProblem(text); !problem.empty()) {
        error = "--port: " + problem;
        return std::nullopt;
    } else {
        port.device = std::string(text);
    }
    return port;
}

QString exitCodeHelp() {
    QString text = QStringLiteral("Exit codes:\n");
    for (const ExitCodeRow& row : kExitCodes) {
        const QString meaning =
            QString::fromUtf8(row.meaning.data(), static_cast<qsizetype>(row.meaning.size()));
        text += QStringLiteral("  %1  %2\n").arg(toInt(row.code), 3).arg(wrapped(meaning, 7));
    }
    return text;
}

ParseOutcome parseCommandLine(const QStringList& arguments) {
    const CommonOptions common;

    // The command is the first argument that is neither an option nor an
    // option's value, and which options take a value depends on the
    // command: each command's parser is tried in turn.
    // A parser that reads the arguments without an error wins over one
    // that only finds its name (an unknown option's value may be a name).
    const CommandEntry* entry = nullptr;
    std::shared_ptr<QCommandLineParser> parser;
    bool parsed = false;
    for (const CommandEntry& candidate : commands()) {
        auto p = std::make_shared<QCommandLineParser>();
        configure(*p);
        candidate.addOptions(*p);
        common.addTo(*p);
        const bool ok = p->parse(arguments);
        const QStringList positional = p->positionalArguments();
        if (positional.isEmpty() || positional.first() != QLatin1String(candidate.name)) {
            continue;
        }
        if (!entry || (ok && !parsed)) {
            entry = &candidate;
            parser = p;
            parsed = ok;
        }
    }
    if (!entry) {
        QCommandLineParser plain;
        configure(plain);
        common.addTo(plain);
        const bool plainParsed = plain.parse(arguments);
        const QStringList positional = plain.positionalArguments();
        if (!positional.isEmpty()) {
            return usageError(QStringLiteral("unknown command '%1' (commands: %2)")
                                  .arg(positional.first(), commandNames()));
        }
        if (plain.isSet(common.version)) {
            return {ParseOutcome::Kind::Version, versionLine(), {}};
        }
        if (plain.isSet(common.help)) {
            return {ParseOutcome::Kind::Help, generalHelp(common), {}};
        }
        return usageError(
            plainParsed ? QStringLiteral("no command given (commands: %1)").arg(commandNames())
                        : plain.errorText());
    }
    if (!parsed) {
        if (parser->isSet(common.help)) {
            return {ParseOutcome::Kind::Help, commandHelp(*parser, *entry), {}};
        }
        return usageError(parser->errorText(), entry);
    }
    if (parser->isSet(common.help)) {
        return {ParseOutcome::Kind::Help, commandHelp(*parser, *entry), {}};
    }
    if (parser->isSet(common.version)) {
        return {ParseOutcome::Kind::Version, versionLine(), {}};
    }

    ParseOutcome outcome;
    outcome.kind = ParseOutcome::Kind::Run;
    Invocation& inv = outcome.invocation;
    inv.entry = entry;
    inv.arguments = parser->positionalArguments().mid(1);
    inv.settingsPath = parser->value(common.settings);
    inv.simulator = parser->isSet(common.simulator);
    inv.timeoutSeconds = entry->defaultTimeoutSeconds;

    if (parser->isSet(common.port)) {
        if (inv.simulator) {
            return usageError("--port and --simulator exclude each other", entry);
        }
        std::string error;
        inv.port = parsePortArgument(parser->value(common.port).toStdString(), error);
        if (!inv.port) {
            return usageError(QString::fromStdString(error), entry);
        }
    }
    if (parser->isSet(common.timeout)) {
        const auto seconds = parseSeconds(parser->value(common.timeout));
        if (!seconds) {
            return usageError(QStringLiteral("--timeout wants a whole number of seconds "
                                             "(0: no limit), not '%1'")
                                  .arg(parser->value(common.timeout)),
                              entry);
        }
        inv.timeoutSeconds = *seconds;
    }
    if (parser->isSet(common.simFirmware)) {
        inv.simulatedUnit.firmwareVersion = parser->value(common.simFirmware).toStdString();
        if (!sim::parseFirmwareVersion(inv.simulatedUnit.firmwareVersion)) {
            return usageError(QStringLiteral("--sim-firmware wants a version such as 2.24, "
                                             "not '%1'")
                                  .arg(parser->value(common.simFirmware)),
                              entry);
        }
    }
    inv.simulatedUnit.startInBootLoader = parser->isSet(common.simBoot);
    inv.parser = parser;
    if (const QString error = entry->validate(inv); !error.isEmpty()) {
        return usageError(error, entry);
    }
    return outcome;
}

} // namespace orlix::cli
