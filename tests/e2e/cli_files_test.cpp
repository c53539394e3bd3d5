// orlix6-cli show and diff on data files, as a script runs them: the
// reader's hand-written files (valid and broken) and the service job's
// before/after pair of the compare, checked by standard output, the
// message and the exit code. No unit is needed.
#include "windows_support/cli_program.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::CliResult;
using test::runCli;

const QString kTests = QDir::cleanPath(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/..");
const QString kReader = kTests + "/core/data/golden";
const QString kPair = kTests + "/core/dataview/golden";

// READER/x and PAIR/x: the golden files.
QString withPaths(QString text) {
    return text.replace("READER", kReader).replace("PAIR", kPair);
}

const QString kPairDifferences = "Operating Hours: 523:07:42:18 -> 523:09:10:02\n"
                                 "Operating Cycles: 1873 -> 1874\n"
                                 "Scan set 0 \"640x480 60Hz\", L Red Gain, F: 113 -> 140\n"
                                 "Scan set 0 \"640x480 60Hz\", H Horiz S Cap, Value: 5 -> 6\n"
                                 "Scan set 0 \"640x480 60Hz\", V Vertical Size, P: 158 -> 80\n"
                                 "Scan set 1 name: 800x600 60Hz -> 800x600 75Hz\n"
                                 "Scan set 1 \"800x600 60Hz\", B White Level, F: 141 -> 150\n"
                                 "Scan set 2 \"1024x768 60Hz\": only in the first\n"
                                 "Scan set 3 \"1280x1024 60Hz\": only in the second\n";

struct FileCase {
    const char* name;
    const char* args;
    int code;
    QStringList out; // lines standard output holds; empty: it stays empty
    QStringList err; // all of standard error, a line each after "orlix6-cli: "
};

// The case's name in test listings, not its bytes.
void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class CliFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(CliFiles, PrintAndExitAsDocumented) {
    const FileCase& c = GetParam();
    const CliResult r = runCli(withPaths(c.args).split(' '));
    EXPECT_EQ(r.code, c.code) << r.err.toStdString();
    if (c.out.isEmpty()) {
        EXPECT_EQ(r.out, "");
    }
    for (const QString& line : c.out) {
        EXPECT_TRUE(r.out.contains(line)) << line.toStdString() << "\nin\n" << r.out.toStdString();
    }
    QString err;
    for (const QString& line : c.err) {
        err += "orlix6-cli: " + withPaths(line) + "\n";
    }
    EXPECT_EQ(r.err, err);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliFiles,
    ::testing::Values(
        FileCase{"ShowConnected",
                 "show READER/valid_connected.mdv",
                 0,
                 {"File:               " + kReader +
                      "/valid_connected.mdv\n"
                      "Model Number:       XYZ-100\n",
                  "CRT Part Number:    M19KTB22\n",
                  "HV Lower Limit:     180\n"
                  "NumScanSets:        2\n"
                  "DAC counts:         L 8, B 2, H 4, V 7, N 6\n"
                  "Scan sets carried:  0, 1\n"
                  "\n"
                  "Scan set 0 \"640x480 60Hz\"\n"
                  "  Group  DAC                      Value       F       P\n"
                  "  L      Master Contrast              1      31      61\n",
                  "  H      Horiz S Cap                 15      45      75\n",
                  "  N      DAC 5                      128     158     188\n"},
                 {}},
        FileCase{"ShowWrittenOffline",
                 "show READER/valid_offline_small.mdv",
                 0,
                 {"Identity:           none in the file\n",
                  "  L      Master Contrast             -5       0   32767\n"},
                 {}},
        FileCase{"ShowOneScanSetOfSix",
                 "show READER/only_scan_set_2.mdv",
                 0,
                 {"Scan sets carried:  2\n\nScan set 2 \"Only the third\"\n"},
                 {}},
        FileCase{"ShowStoppedAtALine",
                 "show READER/name_not_found.mdv",
                 8,
                 {},
                 {"READER/name_not_found.mdv, line 17: Name Not Found: Master Contrst; Line 331; "
                  "ScanSetReading: 1. Correct the file there, or write a new one from the unit "
                  "with 'orlix6-cli read -o FILE.mdv'."}},
        FileCase{"DiffThePair", "diff PAIR/before.mdv PAIR/after.mdv", 1, {kPairDifferences}, {}},
        FileCase{"DiffAFileWithItself", "diff PAIR/after.mdv PAIR/after.mdv", 0, {}, {}},
        FileCase{"DiffNamesEveryFileThatCannotBeRead",
                 "diff READER/short.mdv READER/none.mdv",
                 8,
                 {},
                 {"READER/short.mdv: File short.mdv is not a valid .mdv file. Choose a data file "
                  "written by orlix6 (.mdv), or write one from the unit with 'orlix6-cli read "
                  "-o FILE.mdv'.",
                  "READER/none.mdv: No such file or directory. Check the file's name and "
                  "folder, and that you may read it."}}),
    [](const auto& info) { return std::string(info.param.name); });

QJsonObject json(const CliResult& r) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isObject());
    return document.object();
}

QByteArray compact(const QJsonValue& value) {
    return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

TEST(CliFiles, ShowJsonHoldsTheIdentityCountsAndEveryValue) {
    const QJsonObject full = json(runCli({"show", "--json", kReader + "/valid_connected.mdv"}));
    EXPECT_EQ(full["file"].toString(), kReader + "/valid_connected.mdv");
    EXPECT_EQ(full["identity"]["SerialNumber"].toString(), "SN0012345");
    EXPECT_EQ(full["identity"]["CrtPartNumber"].toString(), "M19KTB22");
    EXPECT_EQ(full["identity"]["HVUpperLimit"].toInt(-1), 230);
    EXPECT_EQ(full["counts"]["NumNDacs"].toInt(), 6);
    const QJsonArray sets = full["scanSets"].toArray();
    ASSERT_EQ(sets.size(), 2);
    EXPECT_EQ(sets[1]["name"].toString(), "800x600 60Hz");
    const QJsonArray dacs = sets[1]["dacs"].toArray();
    ASSERT_EQ(dacs.size(), 28);
    EXPECT_EQ(compact(dacs[14]),
              R"({"F":145,"P":175,"Value":115,"group":"H","index":8,"name":"Horiz S Cap"})");
    EXPECT_EQ(dacs[27]["name"].toString("missing"), "");

    // A file written with no unit: every identity line there, null.
    const QJsonObject offline =
        json(runCli({"show", "--json", kReader + "/valid_offline_small.mdv"}));
    const QJsonObject identity = offline["identity"].toObject();
    EXPECT_EQ(identity.size(), 11);
    for (const QString& key : identity.keys()) {
        EXPECT_TRUE(identity[key].isNull()) << key.toStdString();
    }
}

TEST(CliFiles, AValueTheFileDoesNotGiveIsNeverShownAsANumber) {
    // The count covers two L DACs; the file gives the second one only.
    QTemporaryDir dir;
    const QString path = dir.filePath("gap.mdv");
    test::writeFile(path,
                    "\"Norvique Monitor DAC Value File\"\r\n\"Version 3.0\"\r\n"
                    "\"NumScanSets\",1\r\n\"NumLDacs\",2\r\n\"NumBDacs\",0\r\n\"NumHDacs\",0\r\n"
                    "\"NumVDacs\",0\r\n\"NumNDacs\",0\r\n\"ScanSet\",0\r\n\"ScanSetName\",\"A\"\r\n"
                    "\"Master Brightness\",2,3,4\r\n");

    const CliResult text = runCli({"show", path});
    EXPECT_EQ(text.code, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("  L      Master Contrast         -       -       -\n"))
        << text.out.toStdString();
    const QJsonObject shown = json(runCli({"show", "--json", path}));
    const QJsonObject first = shown["scanSets"][0]["dacs"][0].toObject();
    EXPECT_EQ(first["name"].toString(), "Master Contrast");
    EXPECT_TRUE(first["Value"].isNull());
    EXPECT_TRUE(first["P"].isNull());
}

TEST(CliFiles, DiffJsonHoldsEachDifferenceWithItsLine) {
    const CliResult r = runCli({"diff", "--json", kPair + "/before.mdv", kPair + "/after.mdv"});
    EXPECT_EQ(r.code, 1);
    const QJsonArray differences = json(r)["differences"].toArray();
    QString lines;
    for (const QJsonValue d : differences) {
        lines += d["line"].toString() + "\n";
    }
    EXPECT_EQ(lines, kPairDifferences);
    ASSERT_EQ(differences.size(), 9);
    EXPECT_EQ(compact(differences[2]),
              R"({"column":"F","dac":2,"first":"113","group":"L","item":"Red Gain","kind":"dac",)"
              R"("line":"Scan set 0 \"640x480 60Hz\", L Red Gain, F: 113 -> 140","scanSet":0,)"
              R"("scanSetName":"640x480 60Hz","second":"140"})");
    EXPECT_EQ(differences[7]["kind"].toString(), "scanSetOnlyInFirst");
    EXPECT_TRUE(differences[7]["second"].isNull());

    const CliResult same = runCli({"diff", "--json", kPair + "/before.mdv", kPair + "/before.mdv"});
    EXPECT_EQ(same.code, 0);
    EXPECT_TRUE(json(same)["differences"].toArray().isEmpty());
}

} // namespace
} // namespace orlix
