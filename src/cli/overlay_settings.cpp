#include "cli/overlay_settings.h"

namespace orlix::cli {

std::optional<std::string> OverlaySettingsStore::get(std::string_view section,
                                                     std::string_view key) const {
    const auto it = m_written.find(std::pair{std::string(section), std::string(key)});
    if (it != m_written.end()) {
        return it->second;
    }
    return m_base.get(section, key);
}

void OverlaySettingsStore::set(std::string_view section, std::string_view key,
                               std::string_view value) {
    m_written[std::pair{std::string(section), std::string(key)}] = std::string(value);
}

} // namespace orlix::cli
