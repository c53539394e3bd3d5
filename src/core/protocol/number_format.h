// Number texts as the unit's readings are shown: fixed patterns such as
// "#0.00" or "000", and the plain text of a number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlix {

// Formats `value` with a pattern of "0" (digit always shown) and "#" (leading
// digit shown only when not zero), with an optional "." and decimals:
// "#0", "#0.0", "#0.00", "#00.0", "#000.0", "0.00", "00.0", "000", "0", "00".
// The value is rounded half away from zero to the decimals shown, reading it
// as a decimal of `significantDigits` digits first (15 for a double, 7 for a
// single-precision result), so 1.005 with "0.00" gives 1.01 as a person
// expects. A negative value gets a leading "-". A value that is not finite
// formats as 0.
std::string FormatNumber(double value, std::string_view pattern, int significantDigits = 15);

inline std::string FormatNumber(std::int64_t value, std::string_view pattern) {
    return FormatNumber(static_cast<double>(value), pattern);
}
inline std::string FormatNumber(std::int32_t value, std::string_view pattern) {
    return FormatNumber(static_cast<double>(value), pattern);
}

// The plain text of a number: up to 15 significant digits, no trailing
// zeros, exponent form ("1E+15", "1E-05") only for very large or small
// values.
std::string FormatGeneral(double value);

} // namespace orlix
