// Typed access to the settings store. Every key the tool keeps is listed
// here once with its section, type and default. A read of a missing,
// malformed or out-of-range value gives the default, so a damaged settings
// file never stops the tool from starting.
#pragma once

#include "core/ports/settings_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

enum class SettingType { Int16, Int32, Single, Flag, Text };

struct SettingKey {
    std::string_view section;
    std::string_view key;
    SettingType type;
    std::string_view defaultText;
    // Accepted range for numbers; a value outside it reads as the default.
    std::int32_t min = INT32_MIN;
    std::int32_t max = INT32_MAX;
};

namespace keys {
inline constexpr std::string_view kStartUp = "StartUp";
inline constexpr std::string_view kConfigs = "Configs";
inline constexpr std::string_view kLocations = "Locations";
inline constexpr std::string_view kPorts = "Ports";

inline constexpr SettingKey RunType{kStartUp, "RunType", SettingType::Int32, "0"};
inline constexpr SettingKey InitialMode{kStartUp, "InitialMode", SettingType::Text, "UserMode"};
// Port numbers below 1 are raised to 1 by the reader; above 8 there is no port.
inline constexpr SettingKey CommPort{kConfigs, "CommPort", SettingType::Int16, "1", INT16_MIN, 8};
// Any 16-bit number: 0 and below make an attempt give up at its first tick.
inline constexpr SettingKey ConnectRetryLimit{kConfigs, "ConnectRetryLimit", SettingType::Int16,
                                              "5"};
inline constexpr SettingKey FileSaveInitDir{kConfigs, "FileSaveInitDir", SettingType::Text,
                                            "C:\\Program Files\\Orlix3"};
inline constexpr SettingKey CommLogEnabled{kConfigs, "CommLogEnabled", SettingType::Flag, "False"};
inline constexpr SettingKey CommLogOpen{kConfigs, "CommLogOpen", SettingType::Text, ""};
inline constexpr SettingKey AutoPingEnabled{kConfigs, "AutoPingEnabled", SettingType::Text, "1"};
inline constexpr SettingKey BypassTransmitQueue{kConfigs, "BypassTransmitQueue", SettingType::Text,
                                                "1"};
inline constexpr SettingKey CommLogTimestamps{kConfigs, "CommLogTimestamps", SettingType::Flag,
                                              "False"};
// Version window placement; the position defaults centre it in the main window.
inline constexpr SettingKey VersionWindowState{
    kConfigs, "VersionWindowState", SettingType::Int16, "0", 0, 2};
inline constexpr SettingKey VersionTop{kConfigs, "VersionTop", SettingType::Single, ""};
inline constexpr SettingKey VersionLeft{kConfigs, "VersionLeft", SettingType::Single, ""};
inline constexpr SettingKey VersionWidth{kConfigs, "VersionWidth", SettingType::Single, "4320"};
inline constexpr SettingKey VersionHeight{kConfigs, "VersionHeight", SettingType::Single, "2475"};
inline constexpr SettingKey TriesWindowState{
    kConfigs, "TriesWindowState", SettingType::Int16, "0", 0, 2};
inline constexpr SettingKey TriesTop{kConfigs, "TriesTop", SettingType::Single, "0"};
inline constexpr SettingKey TriesLeft{kConfigs, "TriesLeft", SettingType::Single, "0"};
inline constexpr SettingKey TimedOutWindowState{
    kConfigs, "TimedOutWindowState", SettingType::Int16, "0", 0, 2};
inline constexpr SettingKey TimedOutWidth{kConfigs, "TimedOutWidth", SettingType::Single, "4800"};
inline constexpr SettingKey TimedOutHeight{kConfigs, "TimedOutHeight", SettingType::Single, "2475"};
inline constexpr SettingKey TimedOutTop{kConfigs, "TimedOutTop", SettingType::Single, "0"};
inline constexpr SettingKey TimedOutLeft{kConfigs, "TimedOutLeft", SettingType::Single, "0"};
} // namespace keys

// Parsers used by the typed reads; nullopt for text that is not a value.
std::optional<std::int32_t> parseSettingInt(std::string_view text);
std::optional<double> parseSettingSingle(std::string_view text);
std::optional<bool> parseSettingFlag(std::string_view text);

// Text forms the store keeps.
std::string flagText(bool value); // "True" / "False"
std::string singleText(double value);

class Settings {
public:
    explicit Settings(SettingsStore& store) : m_store(store) {}

    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultText) const;
    std::int16_t readInt16(std::string_view section, std::string_view key,
                           std::int16_t defaultValue, std::int32_t min = INT16_MIN,
                           std::int32_t max = INT16_MAX) const;
    std::int32_t readInt32(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
    double readSingle(std::string_view section, std::string_view key, double defaultValue) const;
    bool readFlag(std::string_view section, std::string_view key, bool defaultValue) const;

    // Reads with the default and range of the key table.
    std::string readText(const SettingKey& key) const;
    std::int16_t readInt16(const SettingKey& key) const;
    std::int32_t readInt32(const SettingKey& key) const;
    double readSingle(const SettingKey& key, double defaultValue) const;
    bool readFlag(const SettingKey& key) const;

    void save(std::string_view section, std::string_view key, std::string_view value);
    void save(const SettingKey& key, std::string_view value);
    void save(const SettingKey& key, std::int32_t value);

    SettingsStore& store() { return m_store; }

private:
    SettingsStore& m_store;
};

} // namespace orlix
