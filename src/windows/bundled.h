// What the program carries inside itself as Qt resources: its icon, drawn
// for the tool in PNG sizes made at build time, and its manual.
#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>

namespace orlix::windows {

// The program's icon in every size that was built.
QIcon appIcon();

// The folder of the manual's pages in the resources, and its first page.
inline const QString kManualFolder = QStringLiteral(":/manual");
inline const QString kManualHome = QStringLiteral(":/manual/index.html");

// A resource file (":/...") as the URL a text browser resolves the links of
// the page against.
QUrl resourceUrl(const QString& file);

} // namespace orlix::windows
