#include "cli/json_output.h"

namespace orlix::cli {

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonValue textOrNull(const std::string& text) {
    return text.empty() ? QJsonValue() : QJsonValue(qtext(text));
}

QJsonValue numberOrNull(const std::string& text) {
    return text.empty() ? QJsonValue() : QJsonValue(qtext(text).toInt());
}

std::string jsonText(const QJsonDocument& document) {
    std::string text = document.toJson(QJsonDocument::Indented).toStdString();
    if (text.empty() || text.back() != '\n') {
        text += '\n';
    }
    return text;
}

} // namespace orlix::cli
