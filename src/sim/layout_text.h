// Small text builders shared by the reply layouts.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orlix::sim::layouts {

// One data line with its CR LF.
inline std::string line(std::string_view text) {
    std::string out(text);
    out += "\r\n";
    return out;
}

// Comma-separated decimal numbers, no blanks: "10,20,30".
inline std::string joined(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        if (!out.empty()) {
            out += ',';
        }
        out += std::to_string(v);
    }
    return out;
}

template <typename Array>
std::string joined(const Array& values, int from, int count) {
    std::string out;
    for (int k = from; k < from + count; ++k) {
        if (k > from) {
            out += ',';
        }
        out += std::to_string(values[static_cast<std::size_t>(k)]);
    }
    return out;
}

// "0x" and at least two upper-case hexadecimal digits.
inline std::string hex2(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%02X", static_cast<unsigned>(value));
    return buf;
}

inline std::string fixed(double value, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

} // namespace orlix::sim::layouts
