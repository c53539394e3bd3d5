#include "windows/frm_comm_log.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <initializer_list>

namespace orlix::windows {

CommLogText::CommLogText(App& app, QWidget* parent) : QPlainTextEdit(parent), m_app(app) {
    setObjectName("txtCommLog");
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFont("Monospace"));
    setFocusPolicy(Qt::StrongFocus);
}

void CommLogText::keyPressEvent(QKeyEvent* event) {
    // Copying and selecting stay with the text box.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    std::string typed;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typed = "\r";
        break;
    case Qt::Key_Backspace:
        typed = "\b";
        break;
    case Qt::Key_Escape:
        typed = "\x1b";
        break;
    default:
        typed = event->text().toLatin1().toStdString();
        break;
    }
    event->accept();
    for (const char c : typed) {
        m_app.act([this, c] { m_app.frmCommLog.txtCommLog_KeyPress(c); });
    }
}

QPushButton* FrmCommLogWindow::addButton(const char* name, const char* text, const char* tip,
                                         void (FrmCommLog::*handler)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    if (*tip) {
        b->setToolTip(tip);
    }
    connect(b, &QPushButton::clicked, this,
            [this, handler] { act([this, handler] { (m_app.frmCommLog.*handler)(); }); });
    return b;
}

QCheckBox* FrmCommLogWindow::addCheck(const char* name, const char* text, const char* tip) {
    auto* c = new QCheckBox(text, this);
    c->setObjectName(name);
    if (*tip) {
        c->setToolTip(tip);
    }
    return c;
}

FrmCommLogWindow::FrmCommLogWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmCommLog, parent) {
    m_text = new CommLogText(app, this);
    m_textFrame = new QTimer(this);
    m_textFrame->setSingleShot(true);
    m_textFrame->setInterval(kTextFrameMs);
    connect(m_textFrame, &QTimer::timeout, this, &FrmCommLogWindow::syncText);
    // The view follows the end until the user scrolls away from it, and
    // again once the user scrolls back to it. Only the user's own scrolling
    // decides: a view that grows or shrinks, or a horizontal scroll bar that
    // comes with a long line, changes the range but not the user's choice.
    QScrollBar* bar = m_text->verticalScrollBar();
    connect(bar, &QScrollBar::actionTriggered, this,
            [this, bar] { m_followEnd = bar->sliderPosition() >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, &FrmCommLogWindow::followEnd,
            Qt::QueuedConnection);

    auto* terse = addButton("btnTerse", "Terse", "", &FrmCommLog::btnTerse_Click);
    auto* verbose = addButton("btnVerbose", "Verbose", "", &FrmCommLog::btnVerbose_Click);
    m_checkOff = addButton("btnCheckOff", "Disable Checking", "", &FrmCommLog::btnCheckOff_Click);
    m_checkOn = addButton("btnCheckOn", "Enable Checking", "", &FrmCommLog::btnCheckOn_Click);
    m_autoPing = addButton("btnDisableAutoping", "Disable AutoPing", "",
                           &FrmCommLog::btnDisableAutoping_Click);
    auto* reconnect = addButton("btnReConnect", "ReConnect", "", &FrmCommLog::btnReConnect_Click);
    auto* clearQueue = addButton("btnClrXQ", "Clear Xmit Queue", "", &FrmCommLog::btnClrXQ_Click);
    auto* clearLog = addButton("btnClearCommLogWindow", "Clear Log Window", "",
                               &FrmCommLog::btnClearCommLogWindow_Click);
    m_logFile = addButton("BtnLogFile", "Log to File ...", "Open a Log File",
                          &FrmCommLog::BtnLogFile_Click);
    m_endFileLog = addButton("btnEndFileLog", "Close Log File", "Stop File Log, Close Log File",
                             &FrmCommLog::btnEndFileLog_Click);
    auto* done = addButton("btnDone", "Done", "Stop logging altogether, Close Log File if open.",
                           &FrmCommLog::btnDone_Click);

    m_windowEnabled = addCheck("ckWindowEnabled", "Window Log Enable", "");
    m_bypass = addCheck("ckXmitQueueOverride", "Xmit Q Bypass", "");
    m_timestamps = addCheck("ckTimestamps", "Timestamps",
                            "Start each line with the time it came or went, to the millisecond");
    m_fileEnabled =
        addCheck("ckFileEnabled", "File Log Enabled", "Enable/Disable Logging to the Log File");
    connect(m_windowEnabled, &QCheckBox::clicked, this,
            [this](bool on) { act([this, on] { m_app.frmCommLog.ckWindowEnabled_Click(on); }); });
    connect(m_bypass, &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] { m_app.frmCommLog.ckXmitQueueOverride_Click(on); });
    });
    connect(m_timestamps, &QCheckBox::clicked, this,
            [this](bool on) { act([this, on] { m_app.frmCommLog.ckTimestamps_Click(on); }); });
    connect(m_fileEnabled, &QCheckBox::clicked, this,
            [this] { act([this] { m_app.frmCommLog.ckFileEnabled_Click(); }); });

    m_indicator = new QPushButton(this);
    m_indicator->setObjectName("btnInd");
    m_indicator->setFixedSize(24, 24);
    m_indicator->setFocusPolicy(Qt::NoFocus);
    m_indicator->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Rows of their own widths, each short enough for the window's default
    // size, so that no caption is cut: the link's commands, what the window
    // shows, and the log file.
    const auto row = [](std::initializer_list<QWidget*> widgets) {
        auto* r = new QHBoxLayout;
        for (QWidget* w : widgets) {
            r->addWidget(w);
        }
        r->addStretch();
        return r;
    };
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_indicator);
    bottom->addWidget(reconnect);
    bottom->addWidget(clearLog);
    bottom->addStretch();
    bottom->addWidget(done);

    auto* layout = new QVBoxLayout(this);
    // One of m_checkOff and m_checkOn is shown.
    layout->addLayout(row({terse, verbose, m_checkOff, m_checkOn, m_autoPing, clearQueue}));
    layout->addLayout(row({m_windowEnabled, m_bypass, m_timestamps}));
    layout->addLayout(row({m_logFile, m_endFileLog, m_fileEnabled}));
    layout->addWidget(m_text, 1);
    layout->addLayout(bottom);
}

void FrmCommLogWindow::syncText() {
    const CommLogView& v = m_app.commLogView;
    if (v.clearCount != m_clearCount || v.text.size() < m_shown) {
        m_clearCount = v.clearCount;
        m_text->clear();
        m_shown = 0;
        m_followEnd = true; // what the user was reading is gone
    }
    if (v.text.size() == m_shown) {
        return;
    }
    QString added = QString::fromLatin1(v.text.data() + m_shown,
                                        static_cast<qsizetype>(v.text.size() - m_shown));
    m_shown = v.text.size();
    added.remove('\r');
    QTextCursor cursor(m_text->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(added);
    followEnd();
}

void FrmCommLogWindow::followEnd() {
    if (m_followEnd) {
        QScrollBar* bar = m_text->verticalScrollBar();
        bar->setValue(bar->maximum());
    }
}

void FrmCommLogWindow::sync() {
    const CommLogView& v = m_app.commLogView;
    if (!m_textFrame->isActive()) {
        m_textFrame->start();
    }
    m_autoPing->setText(qs(v.btnDisableAutoping));
    m_checkOff->setVisible(v.btnCheckOffVisible);
    m_checkOff->setEnabled(v.btnCheckOffVisible);
    m_checkOn->setVisible(v.btnCheckOnVisible);
    m_checkOn->setEnabled(v.btnCheckOnVisible);
    m_windowEnabled->setChecked(v.ckWindowEnabled);
    m_bypass->setChecked(v.ckXmitQueueOverride);
    m_timestamps->setChecked(v.ckTimestamps);
    m_fileEnabled->setChecked(v.ckFileEnabled);
    m_fileEnabled->setEnabled(v.ckFileEnabledEnabled);
    m_logFile->setEnabled(v.BtnLogFileEnabled);
    m_endFileLog->setEnabled(v.btnEndFileLogEnabled);
    setBackColour(m_indicator, v.btnInd);
}

} // namespace orlix::windows
