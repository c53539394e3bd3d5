// Port: the per-user settings store, text values addressed by section and
// key (the application name is always "Orlix6"). Typed reads with defaults
// live in core (app/settings.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlix {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> get(std::string_view section,
                                           std::string_view key) const = 0;
    virtual void set(std::string_view section, std::string_view key, std::string_view value) = 0;
};

} // namespace orlix
