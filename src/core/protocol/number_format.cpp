#include "core/protocol/number_format.h"

#include <algorithm>
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

Decimal toDecimal(double magnitude, int significantDigits) {
    significantDigits = std::clamp(significantDigits, 1, 17);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, magnitude);
    Decimal d;
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            d.digits.push_back(*p);
        }
    }
    const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
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
