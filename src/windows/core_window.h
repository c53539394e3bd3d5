// Base of the tool's windows: a widget that renders what core holds for
// it and forwards the user's actions to core. It keeps no state of its own
// that core needs.
#pragma once

#include "core/app/app.h"

#include <QLabel>
#include <QString>
#include <QWidget>

#include <string_view>

namespace orlix::windows {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class CoreWindow : public QWidget {
    Q_OBJECT
public:
    CoreWindow(App& app, WindowId id, QWidget* parent = nullptr);
    WindowId windowId() const { return m_id; }
    // Copies the window's controls from core's view.
    virtual void sync() = 0;

protected:
    // Runs a user action in core.
    void act(const std::function<void()>& action) { m_app.act(action); }
    App& m_app;

private:
    WindowId m_id;
};

// A label named `name` that shows its text as plain text, never as markup.
QLabel* plainLabel(QWidget* parent, const char* name, const QString& text = {});

// Sets a widget's background colour from a 0x00BBGGRR value.
void setBackColour(QWidget* widget, std::uint32_t bgr);

} // namespace orlix::windows
