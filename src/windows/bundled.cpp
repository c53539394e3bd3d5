#include "windows/bundled.h"

#include <QDir>
#include <QFileInfo>

namespace orlix::windows {

QIcon appIcon() {
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.png")}, QDir::Files)) {
        icon.addFile(file.filePath());
    }
    return icon;
}

QUrl resourceUrl(const QString& file) {
    return QUrl(QStringLiteral("qrc") + file);
}

} // namespace orlix::windows
