// The settings as orlix6-cli sees them: read from the windowed tool's store
// (or --settings FILE), never written. What core saves during a run (its
// close steps, the first-run mark, a port choice) lands in memory and is
// read back from there for the rest of the run, then dropped, so a script
// cannot change how the windowed tool starts next time.
#pragma once

#include "core/ports/settings_store.h"

#include <map>
#include <string>
#include <utility>

namespace orlix::cli {

class OverlaySettingsStore : public SettingsStore {
public:
    explicit OverlaySettingsStore(const SettingsStore& base) : m_base(base) {}

    std::optional<std::string> get(std::string_view section, std::string_view key) const override;
    void set(std::string_view section, std::string_view key, std::string_view value) override;

private:
    const SettingsStore& m_base;
    std::map<std::pair<std::string, std::string>, std::string> m_written;
};

} // namespace orlix::cli
