#include "windows/system_info_dialog.h"

#include "orlix6/version.h"

#include <QClipboard>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSerialPortInfo>
#include <QSysInfo>
#include <QVBoxLayout>
#include <QtGlobal>

namespace orlix::windows {

namespace {

QString serialDeviceLine(const QSerialPortInfo& info) {
    QStringList about;
    for (const QString& part : {info.description(), info.manufacturer()}) {
        if (!part.isEmpty() && !about.contains(part)) {
            about << part;
        }
    }
    if (!info.serialNumber().isEmpty()) {
        about << "serial number " + info.serialNumber();
    }
    QString line = "  " + info.systemLocation();
    if (!about.isEmpty()) {
        line += "  (" + about.join(", ") + ")";
    }
#ifdef Q_OS_UNIX
    const QFileInfo device(info.systemLocation());
    line += device.isReadable() && device.isWritable()
                ? QStringLiteral("  may be opened")
                : QStringLiteral("  may NOT be opened by this user (join the group of the device, "
                                 "normally dialout, and log in again)");
#endif
    return line;
}

} // namespace

QString systemInfoText(const QString& settingsFile) {
    QStringList lines;
    lines << QStringLiteral("Orlix6 %1.%2.%3")
                 .arg(kVersionMajor)
                 .arg(kVersionMinor)
                 .arg(kVersionRevision);
    lines << "Settings file: " + settingsFile;
    lines << "Operating system: " + QSysInfo::prettyProductName();
    lines << "Kernel: " + QSysInfo::kernelType() + " " + QSysInfo::kernelVersion();
    lines << "Processor: " + QSysInfo::currentCpuArchitecture();
    lines << QStringLiteral("Qt: %1 (built with %2)").arg(qVersion(), QT_VERSION_STR);
    lines << "Window system: " + QGuiApplication::platformName();
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QScreen* s = screens[i];
        lines << QStringLiteral("Screen %1: %2, %3 x %4 pixels, %5 dpi logical, %6 dpi physical, "
                                "scale %7")
                     .arg(i + 1)
                     .arg(s->name().isEmpty() ? QStringLiteral("(no name)") : s->name())
                     .arg(s->geometry().width())
                     .arg(s->geometry().height())
                     .arg(qRound(s->logicalDotsPerInch()))
                     .arg(qRound(s->physicalDotsPerInch()))
                     .arg(s->devicePixelRatio());
    }
    if (screens.isEmpty()) {
        lines << "Screens: none";
    }
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    lines << QStringLiteral("Serial devices: %1").arg(ports.size());
    for (const QSerialPortInfo& info : ports) {
        lines << serialDeviceLine(info);
    }
    return lines.join('\n') + '\n';
}

SystemInfoDialog::SystemInfoDialog(QString settingsFile, QWidget* parent)
    : QDialog(parent), m_settingsFile(std::move(settingsFile)) {
    setObjectName("frmSysInfo");
    setWindowTitle("System Information");
    resize(640, 420);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName("txtSysInfo");
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* copy = new QPushButton("&Copy", this);
    copy->setObjectName("cmdCopy");
    copy->setToolTip("Copy the text for a support request");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("cmdClose");
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(m_text->toPlainText()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    refresh();
}

void SystemInfoDialog::refresh() {
    m_text->setPlainText(systemInfoText(m_settingsFile));
}

} // namespace orlix::windows
