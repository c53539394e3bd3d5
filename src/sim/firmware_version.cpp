#include "sim/firmware_version.h"

#include <algorithm>

namespace orlix::sim {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int FirmwareVersion::generation() const {
    return std::clamp(code / 100, 1, 3);
}

std::optional<FirmwareVersion> parseFirmwareVersion(std::string_view text) {
    const auto dot = text.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot > 2) {
        return std::nullopt;
    }
    const auto major = text.substr(0, dot);
    const auto minor = text.substr(dot + 1);
    if (minor.empty() || minor.size() > 2 || !std::all_of(major.begin(), major.end(), isDigit) ||
        !std::all_of(minor.begin(), minor.end(), isDigit)) {
        return std::nullopt;
    }
    int majorValue = 0;
    for (char c : major) {
        majorValue = majorValue * 10 + (c - '0');
    }
    int minorValue = (minor[0] - '0') * 10 + (minor.size() == 2 ? minor[1] - '0' : 0);
    if (majorValue == 0) {
        return std::nullopt;
    }
    return FirmwareVersion{std::string(text), majorValue * 100 + minorValue};
}

std::optional<FirmwareVersion> findVersionInImage(std::string_view image) {
    // "V " digit "." digit digit
    for (std::size_t i = 0; i + 6 <= image.size(); ++i) {
        if (image[i] == 'V' && image[i + 1] == ' ' && isDigit(image[i + 2]) &&
            image[i + 3] == '.' && isDigit(image[i + 4]) && isDigit(image[i + 5])) {
            return parseFirmwareVersion(image.substr(i + 2, 4));
        }
    }
    return std::nullopt;
}

} // namespace orlix::sim
