#include "platform/qt_settings_store.h"

#include <QStringList>

namespace orlix::platform {

namespace {

QString keyPath(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore(const QString& path) {
    if (path.isEmpty()) {
        m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                 "Orlix6", "Orlix6");
    } else {
        m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
}

std::optional<std::string> QtSettingsStore::get(std::string_view section,
                                                std::string_view key) const {
    const QVariant value = m_settings->value(keyPath(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // A hand-edited value with commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(',').toStdString();
    }
    return value.toString().toStdString();
}

void QtSettingsStore::set(std::string_view section, std::string_view key, std::string_view value) {
    m_settings->setValue(keyPath(section, key),
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

} // namespace orlix::platform
