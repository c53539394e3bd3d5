#include "core/protocol/text_helpers.h"

#include <charconv>
#include <limits>
#include <optional>
#include <system_error>

namespace orlix {

namespace {

constexpr std::string_view kBase62 =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Caps of the number walks: once the value has reached the cap, further
// digits are ignored. They keep every result within 16 bits plus a digit.
constexpr std::int32_t kDecimalCap = 6553;
constexpr std::int32_t kOctalCap = 8191;
constexpr std::int32_t kHexCap = 4095;

bool isDecimal(char c) {
    return c >= '0' && c <= '9';
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// Decimal digits from the start of `text` while the value is below `cap`.
std::int32_t walkDecimal(std::string_view text, std::int32_t cap) {
    std::int32_t value = 0;
    for (char c : text) {
        if (!isDecimal(c) || value >= cap) {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view SkipWhiteSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i])) {
        ++i;
    }
    return text.substr(i);
}

bool IsDecimalDigit(std::string_view text) {
    return text.empty() || isDecimal(text.front());
}

bool IsOctalDigit(std::string_view text) {
    return text.empty() || isOctal(text.front());
}

bool IsHexDigit(std::string_view text) {
    return text.empty() || HexDigitValue(text.front()) >= 0;
}

bool IsBase62Text(std::string_view text) {
    return kBase62.find(text) != std::string_view::npos;
}

namespace {

// The digits of a decimal number after white space and an optional minus
// (itself followed by optional white space); nothing when a character that
// is no digit comes first. An empty text is a number of no digits.
std::optional<std::string_view> decimalDigits(std::string_view text, bool& negative) {
    text = SkipWhiteSpace(text);
    negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text = SkipWhiteSpace(text.substr(1));
    }
    if (!text.empty() && !isDecimal(text.front())) {
        return std::nullopt;
    }
    return text;
}

} // namespace

std::int32_t ParseNumber(std::string_view text) {
    bool negative = false;
    const auto digits = decimalDigits(text, negative);
    if (!digits) {
        return -1;
    }
    const std::int32_t value = walkDecimal(*digits, kDecimalCap);
    return negative ? -value : value;
}

std::int32_t ParseCNumber(std::string_view& text) {
    std::int32_t sign = 1;
    if (!text.empty() && text.front() == '-') {
        sign = -1;
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    if (!isDecimal(text.front())) {
        return -1;
    }
    if (text.front() != '0') {
        return sign * walkDecimal(text, kDecimalCap);
    }
    if (text.size() < 2) {
        return 0;
    }
    std::int32_t value = 0;
    const char second = text[1];
    if (isOctal(second)) {
        for (char c : text.substr(1)) {
            if (!isOctal(c) || value >= kOctalCap) {
                break;
            }
            value = value * 8 + (c - '0');
        }
    } else if (second == 'x' || second == 'X') {
        for (char c : text.substr(2)) {
            const int digit = HexDigitValue(c);
            if (digit < 0 || value >= kHexCap) {
                break;
            }
            value = value * 16 + digit;
        }
    }
    return sign * value;
}

std::string_view AfterComma(std::string_view text) {
    const auto pos = text.find(',');
    return pos == std::string_view::npos ? text : text.substr(pos + 1);
}

std::string_view AfterLineFeed(std::string_view text) {
    const auto pos = text.find('\n');
    return pos == std::string_view::npos ? text : text.substr(pos + 1);
}

std::string GetKeyValue(std::string_view text, std::string_view key, std::string_view delimiter) {
    // A "$" anywhere is ignored; most texts have none, and are searched as
    // they are instead of copied for every key.
    std::string withoutDollars;
    if (text.find('$') != std::string_view::npos) {
        withoutDollars.reserve(text.size());
        for (char c : text) {
            if (c != '$') {
                withoutDollars.push_back(c);
            }
        }
        text = withoutDollars;
    }
    const auto keyPos = text.find(key);
    if (keyPos == std::string_view::npos) {
        return {};
    }
    const std::string_view r = text.substr(keyPos);
    const auto delimPos = r.find(delimiter);
    // A delimiter that begins inside the key itself leaves no value.
    if (delimPos == std::string_view::npos || delimPos < key.size()) {
        return {};
    }
    return std::string(r.substr(key.size(), delimPos - key.size()));
}

std::string_view DropFront(std::string_view text, std::size_t count) {
    return count >= text.size() ? std::string_view{} : text.substr(count);
}

std::string_view TakeFront(std::string_view text, std::size_t count) {
    return text.substr(0, count);
}

std::string_view DropBack(std::string_view text, std::size_t count) {
    return count >= text.size() ? std::string_view{} : text.substr(0, text.size() - count);
}

std::string_view CutAtLineEnd(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

std::optional<std::string_view> After(std::string_view text, std::string_view marker) {
    const auto pos = text.find(marker);
    if (pos == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(pos + marker.size());
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

int HexDigitValue(char c) {
    if (isDecimal(c)) {
        return c - '0';
    }
    const char u = UpperAscii(c);
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    return -1;
}

char FirstUpper(std::string_view text) {
    return text.empty() ? '\0' : UpperAscii(text.front());
}

double LeadingNumber(std::string_view text) {
    text = SkipWhiteSpace(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t intEnd = 0;
    while (intEnd < text.size() && isDecimal(text[intEnd])) {
        ++intEnd;
    }
    std::size_t fracEnd = intEnd;
    if (intEnd < text.size() && text[intEnd] == '.') {
        fracEnd = intEnd + 1;
        while (fracEnd < text.size() && isDecimal(text[fracEnd])) {
            ++fracEnd;
        }
    }
    const std::string_view intDigits = text.substr(0, intEnd);
    const std::string_view fracDigits =
        fracEnd > intEnd ? text.substr(intEnd + 1, fracEnd - intEnd - 1) : std::string_view{};
    if (intDigits.empty() && fracDigits.empty()) {
        return 0.0;
    }
    // Read through from_chars so that "1.39" is the double nearest 1.39.
    std::string normal(intDigits.empty() ? "0" : intDigits);
    normal += '.';
    normal += fracDigits.empty() ? std::string_view("0") : fracDigits;
    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        value = intDigits.empty() ? 0.0 : std::numeric_limits<double>::max();
    }
    if (value == 0.0) {
        return 0.0; // no negative zero
    }
    return negative ? -value : value;
}

std::optional<std::string> HexValueAfter(std::string_view text, std::string_view marker) {
    const auto rest = After(text, marker);
    if (!rest) {
        return std::nullopt;
    }
    std::string value = "0x";
    for (char c : *rest) {
        if (HexDigitValue(c) < 0) {
            break;
        }
        value.push_back(UpperAscii(c));
    }
    return value;
}

std::int32_t ParseWideNumber(std::string_view text) {
    bool negative = false;
    const auto digits = decimalDigits(text, negative);
    if (!digits) {
        return -1;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    for (char c : *digits) {
        if (!isDecimal(c)) {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > kMax) {
            value = kMax;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool FitsInt16(std::int64_t value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

bool FitsInt16(double value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

bool StoreIfFits(std::int16_t& field, std::int64_t value) {
    if (!FitsInt16(value)) {
        return false;
    }
    field = static_cast<std::int16_t>(value);
    return true;
}

} // namespace orlix
