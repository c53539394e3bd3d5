// The text form of the monitor data file (.mdv), shared by its reader and
// writer: line ends, field splitting, quoting, the number forms and the
// date text of the "File Created: " line.
//
// A file is a list of lines ending in CR LF; each line is a list of fields
// separated by commas. The writer puts text in double quotes and whole
// numbers as plain digits. The reader takes a field as either a quoted text
// (it may hold commas; what follows the closing quote up to the next comma
// is ignored) or unquoted text up to the next comma, trimmed of blanks.
//
// What it does not do: decide what a line means (mdv_reader) or which lines
// a file holds (mdv_writer).
#pragma once

#include "core/ports/clock.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::mdv {

inline constexpr std::string_view kLineEnd = "\r\n";

// Keys as the reader compares them (without blanks around them). The
// writer puts a blank after the keys of the identity and limit lines.
namespace key {
inline constexpr std::string_view kComment = "#";
inline constexpr std::string_view kFileCreated = "File Created:";
inline constexpr std::string_view kModelNumber = "Model Number:";
inline constexpr std::string_view kModelNumberSpaced = "Model Number :";
inline constexpr std::string_view kSerialNumber = "Serial Number:";
inline constexpr std::string_view kPartNumber = "Part Number:";
inline constexpr std::string_view kCrtSerialNumber = "CRT Serial Number:";
inline constexpr std::string_view kCrtPartNumber = "CRT Part Number:";
inline constexpr std::string_view kFirmwareVersion = "Firmware Version:";
inline constexpr std::string_view kRomVersion = "ROM Version:";
inline constexpr std::string_view kOperatingHours = "Operating Hours:";
inline constexpr std::string_view kOperatingCycles = "Operating Cycles:";
inline constexpr std::string_view kHVUpperLimit = "HV Upper Limit:";
inline constexpr std::string_view kHVLowerLimit = "HV Lower Limit:";
inline constexpr std::string_view kNumScanSets = "NumScanSets";
inline constexpr std::string_view kNumLDacs = "NumLDacs";
inline constexpr std::string_view kNumBDacs = "NumBDacs";
inline constexpr std::string_view kNumHDacs = "NumHDacs";
inline constexpr std::string_view kNumVDacs = "NumVDacs";
inline constexpr std::string_view kNumNDacs = "NumNDacs";
inline constexpr std::string_view kScanSet = "ScanSet";
inline constexpr std::string_view kScanSetName = "ScanSetName";
} // namespace key

// No line of a data file comes near this; the reader refuses longer lines
// instead of growing a buffer without bound.
inline constexpr std::size_t kMaxLineLength = 4096;
// Texts are cut to this length when written, so that every line the writer
// produces stays well inside kMaxLineLength and reads back.
inline constexpr std::size_t kMaxTextLength = 1024;

// --- writing ------------------------------------------------------------------

// A text as a quoted field. A double quote would end the field early and a
// CR or LF would split the line, so they become ' and a blank.
std::string quotedField(std::string_view text);

// The "General Date" text of a date and time, in the US form
// m/d/yyyy h:mm:ss AM/PM (3/7/2024 2:05:09 PM); at midnight only the date.
std::string generalDate(const DateTime& when);

// --- reading ------------------------------------------------------------------

// Reads one physical line at a time: the bytes up to LF, without the LF and
// without one CR right before it. A CR anywhere else stays in the line.
class LineReader {
public:
    enum class Status { Line, TooLong, End, Failed };

    explicit LineReader(std::istream& in, std::size_t maxLength = kMaxLineLength)
        : m_in(in), m_maxLength(maxLength) {}

    Status next(std::string& line);
    // 1-based byte position where the next line starts.
    std::int64_t position() const { return m_consumed + 1; }

private:
    std::istream& m_in;
    std::size_t m_maxLength;
    std::int64_t m_consumed = 0;
};

// The fields of one line. Quoted fields keep their text as it is between the
// quotes (an unclosed quote runs to the end of the line); unquoted fields
// lose their leading and trailing blanks. An empty line is one empty field.
std::vector<std::string_view> splitFields(std::string_view line);

// The text without leading and trailing spaces and TABs.
std::string_view trimBlanks(std::string_view text);

// True for a line of nothing but blanks.
bool isBlankLine(std::string_view line);

enum class NumberError { None, TypeMismatch, Overflow };

struct NumberRead {
    std::int16_t value = 0;
    NumberError error = NumberError::None;
};

// A numeric field: blanks, an optional sign, digits and an optional
// fraction (rounded half to even), nothing else. Anything else is a type
// mismatch; a value outside -32768..32767 an overflow.
NumberRead readNumberField(std::string_view field);

// The leading number of a text (white space, sign, digits, optional
// fraction; 0 when there is none), rounded half to even to 16 bits.
NumberRead readLeadingNumber(std::string_view text);

} // namespace orlix::mdv
