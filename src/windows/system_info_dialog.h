// The tool's own System Information window: what Qt knows of this system
// (operating system, kernel, Qt, screens, serial devices) as text, with a
// Copy button for a support request.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace orlix::windows {

// The text the window shows; `settingsFile` is the tool's settings file.
QString systemInfoText(const QString& settingsFile);

class SystemInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit SystemInfoDialog(QString settingsFile, QWidget* parent = nullptr);
    // Gathers the facts afresh (a device may have been plugged in).
    void refresh();

private:
    QString m_settingsFile;
    QPlainTextEdit* m_text;
};

} // namespace orlix::windows
