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

bool QtSystemTools::startProgram(std::string_view program,
                                 const std::vector<std::string>& arguments) {
    if (program.empty()) {
        return false;
    }
    QStringList list;
    for (const std::string& argument : arguments) {
        list << qs(argument);
    }
    // The program path goes to the system as it stands: a path with blanks
    // is one program, not a program and arguments.
    return QProcess::startDetached(qs(program), list);
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
