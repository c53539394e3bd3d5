#include "platform/qt_system_tools.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStringList>

namespace orlix::platform {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool QtSystemTools::startProgram(std::string_view commandLine) {
    QStringList parts = QProcess::splitCommand(qs(commandLine));
    if (parts.isEmpty()) {
        return false;
    }
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

std::optional<std::string> QtSystemTools::registryValue(std::string_view key,
                                                        std::string_view name) {
#ifdef Q_OS_WIN
    QSettings registry("HKEY_LOCAL_MACHINE\\" + qs(key), QSettings::NativeFormat);
    const QVariant value = registry.value(qs(name));
    if (value.isValid()) {
        return value.toString().toStdString();
    }
#else
    (void)key;
    (void)name;
#endif
    return std::nullopt;
}

bool QtSystemTools::fileExists(std::string_view path) {
    return QFileInfo::exists(qs(path));
}

} // namespace orlix::platform
