// orlix6-cli diff: the differences between two data files, found by the
// compare the Monitor Data window uses, one line each, or as JSON. Like
// diff(1) it prints nothing when the two are the same; the exit code
// tells the two cases apart.
#include "cli/commands.h"
#include "cli/data_file_input.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "cli/terminal_output.h"
#include "core/dataview/data_set_compare.h"

#include <QJsonArray>
#include <QJsonObject>

namespace orlix::cli {

namespace {

const QString kJson = QStringLiteral("json");

const char* kindName(DataSetDifference::Kind kind) {
    using Kind = DataSetDifference::Kind;
    switch (kind) {
    case Kind::Identity:
        return "identity";
    case Kind::ScanSetOnlyInFirst:
        return "scanSetOnlyInFirst";
    case Kind::ScanSetOnlyInSecond:
        return "scanSetOnlyInSecond";
    case Kind::ScanSetName:
        return "scanSetName";
    case Kind::Dac:
        break;
    }
    return "dac";
}

QJsonObject differenceJson(const DataSetDifference& d) {
    using Kind = DataSetDifference::Kind;
    QJsonObject object{{"kind", kindName(d.kind)},
                       {"line", qtext(differenceLine(d))},
                       {"first", textOrNull(d.first)},
                       {"second", textOrNull(d.second)}};
    if (d.kind == Kind::Identity || d.kind == Kind::Dac) {
        object.insert("item", qtext(d.item));
    }
    if (d.kind != Kind::Identity) {
        object.insert("scanSet", d.scanSet);
        object.insert("scanSetName", qtext(d.scanSetName));
    }
    if (d.kind == Kind::Dac) {
        object.insert("group", qtext(groupName(d.group)));
        object.insert("dac", d.dac);
        object.insert("column", qtext(columnName(d.column)));
    }
    return object;
}

void addOptions(QCommandLineParser& parser) {
    parser.addOption({kJson, "Print a JSON object for scripts (its shape is above)."});
}

QString validate(const Invocation& invocation) {
    return expectArguments(invocation, 2, "two data files: diff A.mdv B.mdv");
}

int run(const Invocation& invocation) {
    const QString& first = invocation.arguments.at(0);
    const QString& second = invocation.arguments.at(1);
    // Both are read, so that one run names every file that needs mending.
    const std::optional<MonitorData> a = loadDataFile(first);
    const std::optional<MonitorData> b = loadDataFile(second);
    if (!a || !b) {
        return toInt(ExitCode::FileError);
    }
    const std::vector<DataSetDifference> differences = compareDataSets(*a, *b);
    std::string text;
    if (invocation.isSet(kJson)) {
        QJsonArray array;
        for (const DataSetDifference& d : differences) {
            array.append(differenceJson(d));
        }
        const QJsonObject root{{"first", first}, {"second", second}, {"differences", array}};
        text = jsonText(QJsonDocument(root));
    } else {
        for (const DataSetDifference& d : differences) {
            text += differenceLine(d) + "\n";
        }
    }
    if (!writeOut(text)) {
        return toInt(ExitCode::FileError);
    }
    return toInt(differences.empty() ? ExitCode::Ok : ExitCode::Differ);
}

} // namespace

CommandEntry diffCommand() {
    return {"diff",
            "A.mdv B.mdv",
            "print the differences between two .mdv data files",
            "Reads both files as the windowed tool's File > Open does and compares them as "
            "the Monitor Data window does: the identity lines, the scan sets each carries "
            "and their names, and every DAC value (Value, F, P) of the scan sets both carry. "
            "Prints one line per difference, for example\n"
            "  Serial Number: SN-1001 -> SN-1002\n"
            "  Scan set 0 \"640x480 60Hz\", L Red Gain, F: 113 -> 140\n"
            "  Scan set 3 \"1280x1024 60Hz\": only in the second\n"
            "(\"(none)\" for a value one side lacks) and nothing when they are the same. "
            "Exit code 0: the same; 1: they differ; 8: a file cannot be read (the reader's "
            "message names the file and the line)."
            "\n\n"
            "With --json, one object:\n"
            "  {\"first\": PATH, \"second\": PATH,\n"
            "   \"differences\": [{\"kind\": \"identity\"|\"scanSetOnlyInFirst\"|\n"
            "                             \"scanSetOnlyInSecond\"|\"scanSetName\"|\"dac\",\n"
            "                    \"line\": the line above, \"first\", \"second\": text,\n"
            "                    \"item\": the identity line's or the DAC's name,\n"
            "                    \"scanSet\": number, \"scanSetName\": text,\n"
            "                    \"group\": \"L\"|\"B\"|\"H\"|\"V\"|\"N\", \"dac\": number,\n"
            "                    \"column\": \"Value\"|\"F\"|\"P\"}]}\n"
            "\"first\" and \"second\" are null where that side has none; \"item\" is given "
            "for identity and dac, \"scanSet\" and \"scanSetName\" for all but identity, "
            "\"group\", \"dac\" and \"column\" for dac.",
            0,
            addOptions,
            validate,
            run,
            nullptr};
}

} // namespace orlix::cli
