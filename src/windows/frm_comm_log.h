// The communication log window: the unit's traffic, and the technician's
// console. Keys typed into the log go to core (the text itself is never
// edited); the text shows only what the unit echoes.
//
// Core keeps the log text; this window appends what is new since its last
// copy in one insertion, at most kTextFramesPerSecond times a second, so a
// stream at full line rate costs a few insertions a second, not one per
// character or per read.
#pragma once

#include "windows/core_window.h"

#include <QPlainTextEdit>

class QCheckBox;
class QTimer;
class QPushButton;

namespace orlix::windows {

// The log text box: keys go to core instead of editing the text.
class CommLogText : public QPlainTextEdit {
    Q_OBJECT
public:
    CommLogText(App& app, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    App& m_app;
};

class FrmCommLogWindow : public CoreWindow {
    Q_OBJECT
public:
    static constexpr int kTextFrameMs = 40;

    explicit FrmCommLogWindow(App& app, QWidget* parent = nullptr);
    void sync() override;
    // Copies the new text at once instead of at the next frame.
    void flushText() { syncText(); }

private:
    QPushButton* addButton(const char* name, const char* text, const char* tip,
                           void (FrmCommLog::*handler)());
    QCheckBox* addCheck(const char* name, const char* text, const char* tip);
    void syncText();
    void followEnd();

    CommLogText* m_text;
    QPushButton* m_checkOff;
    QPushButton* m_checkOn;
    QPushButton* m_autoPing;
    QPushButton* m_logFile;
    QPushButton* m_endFileLog;
    QCheckBox* m_windowEnabled;
    QCheckBox* m_bypass;
    QCheckBox* m_timestamps;
    QCheckBox* m_fileEnabled;
    QPushButton* m_indicator;
    QTimer* m_textFrame;
    std::size_t m_shown = 0;
    std::uint64_t m_clearCount = 0;
    bool m_followEnd = true;
};

} // namespace orlix::windows
