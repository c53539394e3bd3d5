#include "windows/core_window.h"

#include <QColor>
#include <QPalette>

namespace orlix::windows {

CoreWindow::CoreWindow(App& app, WindowId id, QWidget* parent)
    : QWidget(parent), m_app(app), m_id(id) {
    setObjectName(qs(windowName(id)));
}

QLabel* plainLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

void setBackColour(QWidget* widget, std::uint32_t bgr) {
    // A style sheet change re-styles the widget; skip it when nothing changed.
    const QVariant current = widget->property("backColour");
    if (current.isValid() && current.toUInt() == bgr) {
        return;
    }
    const QColor colour(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff),
                        static_cast<int>((bgr >> 16) & 0xff));
    widget->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray;").arg(colour.name()));
    widget->setProperty("backColour", static_cast<uint>(bgr));
}

} // namespace orlix::windows
