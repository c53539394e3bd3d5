// What the commands' --json output is made of: texts from the core as JSON
// strings, "" (nothing given) as null, and the document as indented lines.
#pragma once

#include <QJsonDocument>
#include <QJsonValue>
#include <QString>

#include <string>
#include <string_view>

namespace orlix::cli {

QString qtext(std::string_view text);
// null for "", else the text.
QJsonValue textOrNull(const std::string& text);
// null for "", else the whole number the text holds.
QJsonValue numberOrNull(const std::string& text);
// The document, indented, ending in a line break.
std::string jsonText(const QJsonDocument& document);

} // namespace orlix::cli
