#include "core/app/settings.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orlix {

namespace {

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<double> parseSettingSingle(std::string_view text) {
    const std::string t(trim(text));
    if (t.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(value)) {
        return std::nullopt;
    }
    // Hexadecimal floats and "inf"/"nan" are not what the store writes.
    if (t.find_first_of("xXiInN") != std::string::npos) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> parseSettingInt(std::string_view text) {
    const std::string_view t = trim(text);
    if (t.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const char* begin = t.data();
    const char* end = t.data() + t.size();
    if (*begin == '+') {
        ++begin;
    }
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec == std::errc() && ptr == end) {
        if (value < INT32_MIN || value > INT32_MAX) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(value);
    }
    // A number with a fraction, as an older version may have stored it:
    // round half to even as the conversion to a whole number does.
    const auto real = parseSettingSingle(t);
    if (!real || *real < INT32_MIN || *real > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::nearbyint(*real));
}

std::optional<bool> parseSettingFlag(std::string_view text) {
    const std::string_view t = trim(text);
    if (equalsNoCase(t, "True")) {
        return true;
    }
    if (equalsNoCase(t, "False")) {
        return false;
    }
    if (const auto number = parseSettingInt(t)) {
        return *number != 0;
    }
    return std::nullopt;
}

std::string flagText(bool value) {
    return value ? "True" : "False";
}

std::string singleText(double value) {
    // Single precision holds about seven significant digits.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    return buffer;
}

std::string Settings::readText(std::string_view section, std::string_view key,
                               std::string_view defaultText) const {
    if (auto value = m_store.get(section, key)) {
        return *value;
    }
    return std::string(defaultText);
}

std::int16_t Settings::readInt16(std::string_view section, std::string_view key,
                                 std::int16_t defaultValue, std::int32_t min,
                                 std::int32_t max) const {
    const auto text = m_store.get(section, key);
    if (!text) {
        return defaultValue;
    }
    const auto value = parseSettingInt(*text);
    if (!value || *value < INT16_MIN || *value > INT16_MAX || *value < min || *value > max) {
        return defaultValue;
    }
    return static_cast<std::int16_t>(*value);
}

std::int32_t Settings::readInt32(std::string_view section, std::string_view key,
                                 std::int32_t defaultValue) const {
    const auto text = m_store.get(section, key);
    if (!text) {
        return defaultValue;
    }
    return parseSettingInt(*text).value_or(defaultValue);
}

double Settings::readSingle(std::string_view section, std::string_view key,
                            double defaultValue) const {
    const auto text = m_store.get(section, key);
    if (!text) {
        return defaultValue;
    }
    const auto value = parseSettingSingle(*text);
    // Beyond what single precision holds is not a stored coordinate.
    if (!value || std::fabs(*value) > 3.4e38) {
        return defaultValue;
    }
    return *value;
}

bool Settings::readFlag(std::string_view section, std::string_view key, bool defaultValue) const {
    const auto text = m_store.get(section, key);
    if (!text) {
        return defaultValue;
    }
    return parseSettingFlag(*text).value_or(defaultValue);
}

std::string Settings::readText(const SettingKey& key) const {
    return readText(key.section, key.key, key.defaultText);
}

std::int16_t Settings::readInt16(const SettingKey& key) const {
    const auto fallback = parseSettingInt(key.defaultText).value_or(0);
    return readInt16(key.section, key.key, static_cast<std::int16_t>(fallback), key.min, key.max);
}

std::int32_t Settings::readInt32(const SettingKey& key) const {
    return readInt32(key.section, key.key, parseSettingInt(key.defaultText).value_or(0));
}

double Settings::readSingle(const SettingKey& key, double defaultValue) const {
    return readSingle(key.section, key.key, defaultValue);
}

bool Settings::readFlag(const SettingKey& key) const {
    return readFlag(key.section, key.key, parseSettingFlag(key.defaultText).value_or(false));
}

void Settings::save(std::string_view section, std::string_view key, std::string_view value) {
    m_store.set(section, key, value);
}

void Settings::save(const SettingKey& key, std::string_view value) {
    m_store.set(key.section, key.key, value);
}

void Settings::save(const SettingKey& key, std::int32_t value) {
    m_store.set(key.section, key.key, std::to_string(value));
}

} // namespace orlix
