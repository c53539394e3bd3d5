#include "core/data/mdv_reader.h"

#include "core/data/mdv_format.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace orlix {

namespace {

using namespace mdv;

constexpr std::string_view kNoFileText = "No File Is Open - Can't Finish Read Operation";
constexpr std::string_view kBadHandleText = "In ReadMDF, DiskFileNum is out of range";
constexpr std::int64_t kMinFileLength = 100;
// Counts above this are refused as too large; scan sets and DACs beyond the
// tables are refused as out of range.
constexpr int kMaxCount = 8;

// Failures that the key table has no message of its own for. The numbers
// and texts are those the tool has always shown for such failures.
struct Failure {
    int number;
    std::string_view description;
};
constexpr Failure kOverflow{6, "Overflow"};
constexpr Failure kOutOfRange{9, "Subscript out of range"};
constexpr Failure kTypeMismatch{13, "Type mismatch"};
constexpr Failure kLineTooLong{14, "Line too long"};
constexpr Failure kDeviceError{57, "Device I/O error"};
constexpr Failure kMissingField{62, "Input past end of line"};

// The identity lines run from ModelNumber to HVLowerLimit.
enum class Action {
    Ignore,
    ModelNumber,
    SerialNumber,
    PartNumber,
    CrtSerialNumber,
    CrtPartNumber,
    FirmwareVersion,
    RomVersion,
    OperatingHours,
    OperatingCycles,
    HVUpperLimit,
    HVLowerLimit,
    NumScanSets,
    NumLDacs,
    NumBDacs,
    NumHDacs,
    NumVDacs,
    NumNDacs,
    ScanSet,
    ScanSetName,
};

struct KeyAction {
    std::string_view key;
    Action action;
};

// Every key but the DAC names; each is followed by one field.
constexpr std::array<KeyAction, 22> kKeys{{
    {key::kComment, Action::Ignore},
    {key::kFileCreated, Action::Ignore},
    {key::kModelNumber, Action::ModelNumber},
    {key::kModelNumberSpaced, Action::ModelNumber},
    {key::kSerialNumber, Action::SerialNumber},
    {key::kPartNumber, Action::PartNumber},
    {key::kCrtSerialNumber, Action::CrtSerialNumber},
    {key::kCrtPartNumber, Action::CrtPartNumber},
    {key::kFirmwareVersion, Action::FirmwareVersion},
    {key::kRomVersion, Action::RomVersion},
    {key::kOperatingHours, Action::OperatingHours},
    {key::kOperatingCycles, Action::OperatingCycles},
    {key::kHVUpperLimit, Action::HVUpperLimit},
    {key::kHVLowerLimit, Action::HVLowerLimit},
    {key::kNumScanSets, Action::NumScanSets},
    {key::kNumLDacs, Action::NumLDacs},
    {key::kNumBDacs, Action::NumBDacs},
    {key::kNumHDacs, Action::NumHDacs},
    {key::kNumVDacs, Action::NumVDacs},
    {key::kNumNDacs, Action::NumNDacs},
    {key::kScanSet, Action::ScanSet},
    {key::kScanSetName, Action::ScanSetName},
}};

std::optional<Action> actionFor(std::string_view key) {
    for (const auto& k : kKeys) {
        if (k.key == key) {
            return k.action;
        }
    }
    return std::nullopt;
}

struct DacRef {
    GroupId group;
    int index;
};

// DAC lines are recognised by their name in the group tables.
std::optional<DacRef> findDac(const MonitorData& data, std::string_view name) {
    for (const GroupId g : kDacGroups) {
        const auto& names = data.group(g).names;
        for (int i = 0; i < kMaxDacs; ++i) {
            const std::string& n = names[static_cast<std::size_t>(i)];
            if (!n.empty() && n == name) {
                return DacRef{g, i};
            }
        }
    }
    return std::nullopt;
}

// Older files carry the line end the unit sent after an identity text.
// A text from a file as the tool keeps it; older files left a CR at the end.
std::string keptText(std::string_view text) {
    while (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    return storableText(text);
}

class Reader {
public:
    Reader(MonitorData& data, const MdvReadHooks& hooks) : m_data(data), m_hooks(hooks) {}

    MdvReadResult run(std::istream& in);

private:
    void startDataSet();
    void identityLine();
    // Each returns false when the read must stop (its message is shown).
    bool readLine(std::string_view line);
    bool keyLine(Action action, std::string_view key, std::string_view value);
    bool dacLine(DacRef dac, const std::vector<std::string_view>& fields);
    bool count(std::string_view key, std::string_view field, std::int16_t& target, int tableSize);

    bool fail(const Failure& failure) {
        m_hooks.message(failureText(failure));
        return false;
    }
    static std::string failureText(const Failure& failure) {
        return "In ReadMDF, Error #" + std::to_string(failure.number) + ": " +
               std::string(failure.description);
    }
    bool badInput(std::string_view key, std::string_view what) {
        m_hooks.message("Bad Input - " + std::string(key) + " " + std::string(what) + "\r" +
                        "Line " + std::to_string(m_data.LinePos));
        return false;
    }
    bool nameNotFound(std::string_view key) {
        m_hooks.message("Name Not Found: " + std::string(key) + "\r\nLine " +
                        std::to_string(m_data.LinePos) +
                        "\r\nScanSetReading: " + std::to_string(m_data.ScanSetReading));
        return false;
    }
    // A number field, or nullopt after its message.
    std::optional<std::int16_t> number(std::string_view field) {
        const NumberRead n = readNumberField(field);
        if (n.error == NumberError::TypeMismatch) {
            fail(kTypeMismatch);
            return std::nullopt;
        }
        if (n.error == NumberError::Overflow) {
            fail(kOverflow);
            return std::nullopt;
        }
        return n.value;
    }
    // Refuses the file before any line is read: it is not a data file.
    MdvReadResult refuse(std::string_view text) {
        m_hooks.message(text);
        m_data.FileIsOpen = false;
        m_data.FileOpenForInput = false;
        m_data.DiskFileNum = 0;
        return MdvReadResult::Refused;
    }
    std::string fileText(std::string_view what) const {
        return "File " + m_data.DataFileTitle + std::string(what);
    }

    MonitorData& m_data;
    const MdvReadHooks& m_hooks;
    // The DAC an unnamed DAC line stands for: the one after the DAC of the
    // line before, when that line was a DAC line.
    std::optional<DacRef> m_next;
    bool m_identitySeen = false;
};

// The file is a data file: from here on the data set is the file's. Scan
// sets, names, counts and values it does not carry are not kept from the
// data held before, so that writing it again gives this file and not a
// mix; nor is an identity that an earlier file brought. An identity the
// unit sent stays until the file's own identity lines replace it.
void Reader::startDataSet() {
    MonitorData& d = m_data;
    SetDefaultCountsAndNames(d);
    for (const GroupId g : kDacGroups) {
        DacGroup& group = d.group(g);
        for (DacPlane* plane : {&group.Value, &group.LoadedValue, &group.FValue, &group.PValue}) {
            *plane = {};
        }
    }
    d.ScanSetNames = {};
    d.ScanSetIncluded = {};
    d.ScanSetsReported = true;
    if (d.IdentityFromFile) {
        ClearFileIdentity(d);
        d.IdentityFromFile = false;
    }
}

// The file carries an identity: all of it is the file's.
void Reader::identityLine() {
    if (!m_identitySeen) {
        m_identitySeen = true;
        ClearFileIdentity(m_data);
        m_data.IdentityFromFile = true;
    }
}

MdvReadResult Reader::run(std::istream& in) {
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    in.seekg(0, std::ios::beg);
    if (length < 0 || !in) {
        return refuse(failureText(kDeviceError));
    }
    if (length < kMinFileLength) {
        return refuse(fileText(" is not a valid .mdv file"));
    }

    LineReader lines(in);
    std::string line;
    if (lines.next(line) != LineReader::Status::Line || splitFields(line)[0] != kDataFileHeader) {
        return refuse(fileText(" is not in .mdv format"));
    }
    if (lines.next(line) != LineReader::Status::Line || splitFields(line)[0] != kDataFileVersion) {
        return refuse(fileText(" is a wrong version number"));
    }
    startDataSet();

    for (;;) {
        const std::int64_t start = lines.position();
        const LineReader::Status status = lines.next(line);
        if (status == LineReader::Status::End) {
            break;
        }
        m_data.LinePos = start;
        const bool ok = status == LineReader::Status::Line      ? readLine(line)
                        : status == LineReader::Status::TooLong ? fail(kLineTooLong)
                                                                : fail(kDeviceError);
        if (!ok) {
            return MdvReadResult::Stopped;
        }
    }
    m_data.FileIsOpen = true;
    m_data.DataChanged = false;
    m_data.FileOpenForInput = true;
    return MdvReadResult::Complete;
}

bool Reader::readLine(std::string_view line) {
    if (isBlankLine(line)) {
        return true;
    }
    const std::vector<std::string_view> fields = splitFields(line);
    const std::string_view key = trimBlanks(fields[0]);

    if (const auto action = actionFor(key)) {
        if (*action != Action::Ignore) {
            m_next.reset();
        }
        if (fields.size() < 2) {
            return fail(kMissingField);
        }
        return keyLine(*action, key, fields[1]);
    }
    if (const auto dac = findDac(m_data, key)) {
        return dacLine(*dac, fields);
    }
    // DACs without names (N 3 to 5, and any counted past a group's names):
    // their lines follow the named ones of their group.
    if (key.empty() && m_next && m_next->index < m_data.group(m_next->group).count &&
        m_next->index < kMaxDacs) {
        return dacLine(*m_next, fields);
    }
    return nameNotFound(key);
}

// `dac` by value: it may be m_next itself, which this changes.
bool Reader::dacLine(DacRef dac, const std::vector<std::string_view>& fields) {
    m_next = DacRef{dac.group, dac.index + 1};
    if (fields.size() < 4) {
        return fail(kMissingField);
    }
    std::array<std::int16_t, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto n = number(fields[i + 1]);
        if (!n) {
            return false;
        }
        values[i] = *n;
    }
    if (StoreDac(m_data, dac.group, dac.index, values[0], values[1], values[2]) !=
        StoreResult::Ok) {
        return fail(kOutOfRange);
    }
    return true;
}

bool Reader::count(std::string_view key, std::string_view field, std::int16_t& target,
                   int tableSize) {
    const auto n = number(field);
    if (!n) {
        return false;
    }
    if (*n > kMaxCount) {
        return badInput(key, "Value Too Large");
    }
    if (*n < 0 || *n > tableSize) {
        return fail(kOutOfRange);
    }
    target = *n;
    return true;
}

bool Reader::keyLine(Action action, std::string_view key, std::string_view value) {
    MonitorData& d = m_data;
    if (action >= Action::ModelNumber && action <= Action::HVLowerLimit) {
        identityLine();
    }
    switch (action) {
    case Action::Ignore:
        return true;
    case Action::ModelNumber:
        d.ModelNumber = keptText(value);
        return true;
    case Action::SerialNumber:
        d.SerialNumber = keptText(value);
        return true;
    case Action::PartNumber:
        d.PartNumber = keptText(value);
        return true;
    case Action::CrtSerialNumber:
        d.CrtSerialNumber = keptText(value);
        return true;
    case Action::CrtPartNumber:
        d.CrtPartNumber = keptText(value);
        return true;
    case Action::OperatingHours:
        d.OperatingHours = keptText(value);
        return true;
    case Action::OperatingCycles:
        d.OperatingCycles = keptText(value);
        return true;
    case Action::FirmwareVersion:
        m_hooks.replyDispatcher("df\r\n" + keptText(value));
        return true;
    case Action::RomVersion:
        m_hooks.replyDispatcher("de\r\n" + keptText(value));
        return true;
    case Action::HVUpperLimit:
    case Action::HVLowerLimit: {
        const NumberRead n = readLeadingNumber(value);
        if (n.error != NumberError::None) {
            return fail(kOverflow);
        }
        const bool upper = action == Action::HVUpperLimit;
        (upper ? d.HVUpperLimit : d.HVLowerLimit) = n.value;
        (upper ? d.HVUpperLimitReported : d.HVLowerLimitReported) = true;
        return true;
    }
    case Action::NumScanSets:
        return count(key, value, d.NumScanSets, kMaxScanSets);
    case Action::NumLDacs:
        return count(key, value, d.L.count, kMaxDacs);
    case Action::NumBDacs:
        return count(key, value, d.B.count, kMaxDacs);
    case Action::NumHDacs:
        return count(key, value, d.H.count, kMaxDacs);
    case Action::NumVDacs:
        return count(key, value, d.V.count, kMaxDacs);
    case Action::NumNDacs:
        return count(key, value, d.N.count, kMaxDacs);
    case Action::ScanSet: {
        const auto n = number(value);
        if (!n) {
            return false;
        }
        if (*n > d.NumScanSets - 1) {
            return badInput(key, "Value Too Large");
        }
        if (*n < 0 || *n >= kMaxScanSets) {
            return fail(kOutOfRange);
        }
        d.ScanSetReading = *n;
        // The file carries this scan set, so a file written from the data
        // carries it too.
        d.ScanSetIncluded[static_cast<std::size_t>(*n)] = true;
        return true;
    }
    case Action::ScanSetName:
        if (value.empty()) {
            return badInput(key, "Has No Name Assigned");
        }
        if (d.ScanSetReading < 0 || d.ScanSetReading >= kMaxScanSets) {
            return fail(kOutOfRange);
        }
        d.ScanSetNames[static_cast<std::size_t>(d.ScanSetReading)] = storableText(value);
        return true;
    }
    return true;
}

} // namespace

MdvReadResult ReadMDF(MonitorData& data, std::istream& in, const MdvReadHooks& hooks) {
    if (!data.FileIsOpen) {
        hooks.message(kNoFileText);
        return MdvReadResult::Refused;
    }
    if (data.DiskFileNum < 1 || data.DiskFileNum > 255) {
        hooks.message(kBadHandleText);
        return MdvReadResult::Refused;
    }
    return Reader(data, hooks).run(in);
}

std::optional<std::string> openForReading(const std::string& path, std::ifstream& in) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return std::make_error_code(std::errc::is_a_directory).message();
    }
    errno = 0;
    in.open(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        return errno != 0 ? std::generic_category().message(errno) : "cannot be opened";
    }
    return std::nullopt;
}

} // namespace orlix
