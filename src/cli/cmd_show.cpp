// orlix6-cli show: a data file's contents as a technician reads them
// (identity, counts, a DAC table per scan set), or as JSON for scripts.
// The file is read by the windowed tool's own reader; what the table holds
// is what the Monitor Data window and diff see: the DACs each group's count
// covers and "Horiz S Cap", in the scan sets the file carries.
#include "cli/commands.h"
#include "cli/data_file_input.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "cli/terminal_output.h"
#include "core/dataview/data_set_compare.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace orlix::cli {

namespace {

const QString kJson = QStringLiteral("json");

// Room for the longest identity label ("CRT Serial Number:") and a blank.
constexpr std::size_t kLabelWidth = 20;
// Room for a 16-bit number ("-32768") and the header "Value".
constexpr std::size_t kNumberWidth = 6;

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string rightAligned(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string countKey(GroupId group) {
    return "Num" + std::string(groupName(group)) + "Dacs";
}

std::vector<int> carriedScanSets(const MonitorData& data) {
    std::vector<int> sets;
    for (int s = 0; s < kMaxScanSets; ++s) {
        if (carriesScanSet(data, s)) {
            sets.push_back(s);
        }
    }
    return sets;
}

// --- text -------------------------------------------------------------------

std::string identityText(const MonitorData& data) {
    std::string text;
    for (const IdentityItem& item : identityItems()) {
        if (const std::string value = item.text(data); !value.empty()) {
            text += padded(std::string(item.label) + ":", kLabelWidth) + value + "\n";
        }
    }
    return text.empty() ? padded("Identity:", kLabelWidth) + "none in the file\n" : text;
}

std::string countsText(const MonitorData& data) {
    std::string dacs;
    for (const GroupId g : kDacGroups) {
        dacs += (dacs.empty() ? "" : ", ") + std::string(groupName(g)) + " " +
                std::to_string(data.group(g).count);
    }
    std::string sets;
    for (const int s : carriedScanSets(data)) {
        sets += (sets.empty() ? "" : ", ") + std::to_string(s);
    }
    return padded("NumScanSets:", kLabelWidth) + std::to_string(data.NumScanSets) + "\n" +
           padded("DAC counts:", kLabelWidth) + dacs + "\n" +
           padded("Scan sets carried:", kLabelWidth) + (sets.empty() ? "none" : sets) + "\n";
}

std::string scanSetText(const MonitorData& data, int s) {
    struct Row {
        GroupId group;
        std::string name;
        std::string cells;
    };
    std::vector<Row> rows;
    std::size_t nameWidth = 3; // "DAC"
    for (const GroupId g : kDacGroups) {
        const DacGroup& group = data.group(g);
        for (const int k : dacIndexes(group, g)) {
            Row row{g, dacName(group, k), {}};
            for (const DacColumn column : kDacColumns) {
                const std::string value = dacText(group, column, s, k);
                row.cells += "  " + rightAligned(value.empty() ? "-" : value, kNumberWidth);
            }
            nameWidth = std::max(nameWidth, row.name.size());
            rows.push_back(std::move(row));
        }
    }
    std::string text =
        "\n" + scanSetTitle(s, scanSetName(data, s)) + "\n  Group  " + padded("DAC", nameWidth);
    for (const DacColumn column : kDacColumns) {
        text += "  " + rightAligned(std::string(columnName(column)), kNumberWidth);
    }
    text += "\n";
    for (const Row& row : rows) {
        text += "  " + padded(std::string(groupName(row.group)), 5) + "  " +
                padded(row.name, nameWidth) + row.cells + "\n";
    }
    return text;
}

std::string showText(const QString& path, const MonitorData& data) {
    std::string text = padded("File:", kLabelWidth) + path.toStdString() + "\n" +
                       identityText(data) + countsText(data);
    for (const int s : carriedScanSets(data)) {
        text += scanSetText(data, s);
    }
    return text;
}

// --- JSON -------------------------------------------------------------------

QJsonObject identityJson(const MonitorData& data) {
    QJsonObject identity;
    for (const IdentityItem& item : identityItems()) {
        const std::string value = item.text(data);
        const bool limit = item.name.starts_with("HV");
        identity.insert(qtext(item.name), limit ? numberOrNull(value) : textOrNull(value));
    }
    return identity;
}

QJsonObject countsJson(const MonitorData& data) {
    QJsonObject counts{{"NumScanSets", data.NumScanSets}};
    for (const GroupId g : kDacGroups) {
        counts.insert(QString::fromStdString(countKey(g)), data.group(g).count);
    }
    return counts;
}

QJsonArray scanSetsJson(const MonitorData& data) {
    QJsonArray sets;
    for (const int s : carriedScanSets(data)) {
        QJsonArray dacs;
        for (const GroupId g : kDacGroups) {
            const DacGroup& group = data.group(g);
            for (const int k : dacIndexes(group, g)) {
                QJsonObject dac{
                    {"group", qtext(groupName(g))},
                    {"index", k},
                    {"name", QString::fromStdString(group.names[static_cast<std::size_t>(k)])}};
                for (const DacColumn column : kDacColumns) {
                    dac.insert(qtext(columnName(column)),
                               numberOrNull(dacText(group, column, s, k)));
                }
                dacs.append(dac);
            }
        }
        sets.append(QJsonObject{{"scanSet", s},
                                {"name", QString::fromStdString(scanSetName(data, s))},
                                {"dacs", dacs}});
    }
    return sets;
}

std::string showJson(const QString& path, const MonitorData& data) {
    const QJsonObject root{{"file", path},
                           {"identity", identityJson(data)},
                           {"counts", countsJson(data)},
                           {"scanSets", scanSetsJson(data)}};
    return jsonText(QJsonDocument(root));
}

// --- the command -------------------------------------------------------------

void addOptions(QCommandLineParser& parser) {
    parser.addOption({kJson, "Print a JSON object for scripts (its shape is above)."});
}

QString validate(const Invocation& invocation) {
    return expectArguments(invocation, 1, "one data file: show FILE.mdv");
}

int run(const Invocation& invocation) {
    const QString path = invocation.arguments.first();
    const std::optional<MonitorData> data = loadDataFile(path);
    if (!data) {
        return toInt(ExitCode::FileError);
    }
    const std::string text =
        invocation.isSet(kJson) ? showJson(path, *data) : showText(path, *data);
    return toInt(writeOut(text) ? ExitCode::Ok : ExitCode::FileError);
}

} // namespace

CommandEntry showCommand() {
    return {"show",
            "FILE.mdv",
            "print a .mdv data file readably",
            "Reads FILE.mdv as the windowed tool's File > Open does and prints it: the "
            "identity lines it carries, the counts, the scan sets it carries, and for each "
            "scan set a table of its DACs (group, name, then the file's three columns Value, "
            "F and P; \"-\" for a value the file does not give). A file the reader refuses "
            "gives the reader's own message, naming the file and the line, and exit code 8."
            "\n\n"
            "With --json, one object:\n"
            "  {\"file\": PATH,\n"
            "   \"identity\": {\"ModelNumber\", \"SerialNumber\", \"PartNumber\",\n"
            "                \"CrtSerialNumber\", \"CrtPartNumber\", \"FirmwareVersion\",\n"
            "                \"RomVersion\", \"OperatingHours\", \"OperatingCycles\": text,\n"
            "                \"HVUpperLimit\", \"HVLowerLimit\": number},\n"
            "   \"counts\": {\"NumScanSets\", \"NumLDacs\", \"NumBDacs\", \"NumHDacs\",\n"
            "              \"NumVDacs\", \"NumNDacs\": number},\n"
            "   \"scanSets\": [{\"scanSet\": number, \"name\": text,\n"
            "                 \"dacs\": [{\"group\": \"L\"|\"B\"|\"H\"|\"V\"|\"N\", "
            "\"index\": number,\n"
            "                          \"name\": text, \"Value\", \"F\", \"P\": number}]}]}\n"
            "An identity line or value the file does not give is null; a DAC without a name "
            "has the name \"\".",
            0,
            addOptions,
            validate,
            run,
            nullptr};
}

} // namespace orlix::cli
