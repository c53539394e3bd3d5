// The settings store on QSettings, as INI text: by default the per-user
// file of the application "Orlix6", or the file given with --settings.
#pragma once

#include "core/ports/settings_store.h"

#include <QSettings>
#include <QString>

#include <memory>

namespace orlix::platform {

class QtSettingsStore : public SettingsStore {
public:
    // An empty path means the per-user location.
    explicit QtSettingsStore(const QString& path = {});

    std::optional<std::string> get(std::string_view section, std::string_view key) const override;
    void set(std::string_view section, std::string_view key, std::string_view value) override;

    QString fileName() const { return m_settings->fileName(); }
    void sync() { m_settings->sync(); }

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace orlix::platform
