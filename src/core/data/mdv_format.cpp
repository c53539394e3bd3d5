#include "core/data/mdv_format.h"

#include <algorithm>
#include <limits>

namespace orlix::mdv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isWhiteSpace(char c) {
    return isBlank(c) || c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A run of digits saturates here; anything this large is an overflow.
constexpr std::int64_t kWholeCap = 1'000'000'000;

struct ScannedNumber {
    bool anyDigit = false;
    bool negative = false;
    std::int64_t whole = 0;
    int firstFractionDigit = 0;
    bool fractionRestNonZero = false;
    std::size_t end = 0; // first character after the number
};

ScannedNumber scanNumber(std::string_view text, std::size_t pos) {
    ScannedNumber n;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        n.negative = text[pos] == '-';
        ++pos;
    }
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        n.anyDigit = true;
        n.whole = std::min(n.whole * 10 + (text[pos] - '0'), kWholeCap);
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        bool first = true;
        for (; pos < text.size() && isDigit(text[pos]); ++pos) {
            n.anyDigit = true;
            if (first) {
                n.firstFractionDigit = text[pos] - '0';
                first = false;
            } else if (text[pos] != '0') {
                n.fractionRestNonZero = true;
            }
        }
    }
    n.end = pos;
    return n;
}

// Rounds half to even, as the conversion to a whole number always has.
NumberRead toInt16(const ScannedNumber& n) {
    std::int64_t value = n.whole;
    const int f = n.firstFractionDigit;
    if (f > 5 || (f == 5 && (n.fractionRestNonZero || value % 2 != 0))) {
        ++value;
    }
    if (n.negative) {
        value = -value;
    }
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return {0, NumberError::Overflow};
    }
    return {static_cast<std::int16_t>(value), NumberError::None};
}

std::string twoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace

std::string quotedField(std::string_view text) {
    std::string result = "\"";
    for (const char c : text.substr(0, kMaxTextLength)) {
        if (c == '"') {
            result += '\'';
        } else if (c == '\r' || c == '\n') {
            result += ' ';
        } else {
            result += c;
        }
    }
    result += '"';
    return result;
}

std::string generalDate(const DateTime& when) {
    std::string text = std::to_string(when.month) + "/" + std::to_string(when.day) + "/" +
                       std::to_string(when.year);
    if (when.hour == 0 && when.minute == 0 && when.second == 0) {
        return text;
    }
    const int hour12 = when.hour % 12 == 0 ? 12 : when.hour % 12;
    text += " " + std::to_string(hour12) + ":" + twoDigits(when.minute) + ":" +
            twoDigits(when.second) + (when.hour < 12 ? " AM" : " PM");
    return text;
}

LineReader::Status LineReader::next(std::string& line) {
    line.clear();
    bool any = false;
    char c = '\0';
    while (m_in.get(c)) {
        ++m_consumed;
        any = true;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line.size() > m_maxLength ? Status::TooLong : Status::Line;
        }
        line.push_back(c);
        // One more than the limit may still be the CR of the line end.
        if (line.size() > m_maxLength + 1) {
            return Status::TooLong;
        }
    }
    if (m_in.bad()) {
        return Status::Failed;
    }
    if (!any) {
        return Status::End;
    }
    // The last line of a file may lack its line end.
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line.size() > m_maxLength ? Status::TooLong : Status::Line;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isBlankLine(std::string_view line) {
    return trimBlanks(line).empty();
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && isBlank(line[pos])) {
            ++pos;
        }
        std::size_t comma = std::string_view::npos;
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) {
                fields.push_back(line.substr(pos + 1));
                return fields;
            }
            fields.push_back(line.substr(pos + 1, close - pos - 1));
            comma = line.find(',', close + 1);
        } else {
            comma = line.find(',', pos);
            const std::size_t length =
                comma == std::string_view::npos ? line.size() - pos : comma - pos;
            fields.push_back(trimBlanks(line.substr(pos, length)));
        }
        if (comma == std::string_view::npos) {
            return fields;
        }
        pos = comma + 1;
    }
}

NumberRead readNumberField(std::string_view field) {
    const std::string_view text = trimBlanks(field);
    const ScannedNumber n = scanNumber(text, 0);
    if (!n.anyDigit || n.end != text.size()) {
        return {0, NumberError::TypeMismatch};
    }
    return toInt16(n);
}

NumberRead readLeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isWhiteSpace(text[pos])) {
        ++pos;
    }
    const ScannedNumber n = scanNumber(text, pos);
    if (!n.anyDigit) {
        return {0, NumberError::None};
    }
    return toInt16(n);
}

} // namespace orlix::mdv
