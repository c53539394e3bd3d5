#include "core/protocol/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orlix {

namespace {

// A non-negative value as decimal digits d1 d2 ... dn meaning 0.d1d2...dn
// times 10^pointPos.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

// Whole numbers below this are exact in a double and have at most 15 digits.
constexpr double kExactWholeLimit = 1e15;

Decimal toDecimal(double magnitude, int significantDigits) {
    significantDigits = std::clamp(significantDigits, 1, 17);
    char buffer[64];
    Decimal d;
    // The same digits as printf's "%.*e": correctly rounded to the
    // significant digits, without printf's cost.
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                         std::chars_format::scientific, significantDigits - 1);
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            d.digits.push_back(*p);
        }
    }
    int exponent = 0;
    if (ec == std::errc() && p != end) {
        const char* digits = p + 1;
        if (digits != end && *digits == '+') {
            ++digits; // from_chars takes a '-' but no '+'
        }
        std::from_chars(digits, end, exponent);
    }
    d.pointPos = exponent + 1;
    return d;
}

// Rounds half away from zero to `decimals` places after the point.
void roundTo(Decimal& d, int decimals) {
    const long keep = static_cast<long>(d.pointPos) + decimals;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    if (keep >= static_cast<long>(d.digits.size())) {
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (!up) {
        return;
    }
    std::size_t i = d.digits.size();
    while (i > 0) {
        --i;
        if (d.digits[i] == '9') {
            d.digits[i] = '0';
            continue;
        }
        ++d.digits[i];
        return;
    }
    d.digits.insert(d.digits.begin(), '1');
    ++d.pointPos;
}

char digitAt(const Decimal& d, long index) {
    if (index < 0 || index >= static_cast<long>(d.digits.size())) {
        return '0';
    }
    return d.digits[static_cast<std::size_t>(index)];
}

constexpr std::array<double, 10> kPowersOfTen = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

int digitCount(std::uint64_t n) {
    int count = 1;
    while (n >= 10) {
        n /= 10;
        ++count;
    }
    return count;
}

// The text the general path below gives, had from one integer: the value
// times 10^decimals, rounded. Most values shown (DAC and scroll values,
// readings with two decimals) take this way; it refuses, and the general
// path decides, wherever the two could differ: more digits than
// `significantDigits`, or a fraction so near one half that reading the
// value as `significantDigits` digits first could turn the rounding.
bool formatScaled(std::string& text, double value, int minIntDigits, int decimals,
                  int significantDigits) {
    const double magnitude = std::fabs(value);
    const int sig = std::clamp(significantDigits, 1, 17);
    std::uint64_t scaled = 0;
    int trailingZeros = 0;
    if (magnitude < kExactWholeLimit && magnitude == std::floor(magnitude)) {
        // A whole number: its digits as they are, zeros for the decimals.
        scaled = static_cast<std::uint64_t>(magnitude);
        if (scaled != 0 && digitCount(scaled) > sig) {
            return false;
        }
        trailingZeros = decimals;
    } else {
        if (decimals >= static_cast<int>(kPowersOfTen.size())) {
            return false;
        }
        const double exact = magnitude * kPowersOfTen[static_cast<std::size_t>(decimals)];
        if (!(exact < 1e9)) {
            return false;
        }
        const double whole = std::floor(exact);
        const double fraction = exact - whole;
        const int digits = digitCount(static_cast<std::uint64_t>(whole) + 1);
        if (digits > sig) {
            return false;
        }
        // How far reading the value as `sig` digits can move it, in units
        // of the last decimal shown, with room for the product's own error.
        const double reach = 5.0 * std::pow(10.0, digits - sig) + 1e-6;
        if (std::fabs(fraction - 0.5) <= reach) {
            return false;
        }
        scaled = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    }
    char buffer[24];
    const char* digits = buffer;
    std::size_t count = 0;
    if (scaled != 0) {
        count = static_cast<std::size_t>(std::to_chars(buffer, buffer + sizeof buffer, scaled).ptr -
                                         buffer);
    } else {
        trailingZeros = 0; // all zero: the zeros come from the pattern
    }
    // Digits before the point and after it, the zeros not written included.
    const long total = static_cast<long>(count) + trailingZeros;
    const long intAvailable = total - decimals;
    const long intDigits = std::max<long>(minIntDigits, intAvailable);
    if (value < 0.0) {
        text.push_back('-');
    }
    const auto digitAtPos = [&](long pos) {
        // pos counts from the first digit of `total`; outside it, a zero.
        return pos >= 0 && pos < static_cast<long>(count) ? digits[pos] : '0';
    };
    for (long i = 0; i < intDigits; ++i) {
        text.push_back(digitAtPos(intAvailable - intDigits + i));
    }
    if (decimals > 0) {
        text.push_back('.');
        for (long i = 0; i < decimals; ++i) {
            text.push_back(digitAtPos(intAvailable + i));
        }
    }
    return true;
}

} // namespace

std::string FormatNumber(double value, std::string_view pattern, int significantDigits) {
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    const auto point = pattern.find('.');
    const std::string_view intPattern = pattern.substr(0, point);
    const int minIntDigits =
        static_cast<int>(std::count(intPattern.begin(), intPattern.end(), '0'));
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    {
        std::string text;
        if (formatScaled(text, value, minIntDigits, decimals, significantDigits)) {
            return text;
        }
    }

    Decimal d = value == 0.0 ? Decimal{} : toDecimal(std::fabs(value), significantDigits);
    if (value != 0.0) {
        roundTo(d, decimals);
    }
    const bool allZero =
        std::all_of(d.digits.begin(), d.digits.end(), [](char c) { return c == '0'; });
    if (allZero) {
        d.pointPos = 0;
    }

    std::string text;
    if (value < 0.0) {
        text.push_back('-');
    }
    const int intDigits = std::max(minIntDigits, allZero ? 0 : d.pointPos);
    for (int i = 0; i < intDigits; ++i) {
        text.push_back(digitAt(d, d.pointPos - intDigits + i));
    }
    if (decimals > 0) {
        text.push_back('.');
        for (int i = 0; i < decimals; ++i) {
            text.push_back(digitAt(d, d.pointPos + i));
        }
    }
    return text;
}

std::string FormatGeneral(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return "0";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text(buffer);
    const auto e = text.find('e');
    if (e == std::string::npos) {
        return text;
    }
    // "1e+15" -> "1E+15", "1e-05" stays two-digit: "1E-05".
    text[e] = 'E';
    return text;
}

} // namespace orlix
