// What the end-to-end tests share: waiting on the event loop for a
// condition, files, and the orlix6-sim program on a pseudo-terminal,
// stopped when the test ends however it ends. Header-only; for targets that
// define ORLIX6_SIM_BIN.
#pragma once

#include "windows_support/wait_for.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace orlix::test {

inline std::string fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

inline void writeFile(const QString& path, std::string_view text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(text.data(), static_cast<qint64>(text.size()));
}

class SimProgram : public QProcess {
public:
    // Starts orlix6-sim with its pty linked at `link`; true once the link is there.
    bool start(const QString& link, const QStringList& options) {
        QProcess::start(QStringLiteral(ORLIX6_SIM_BIN), QStringList{"--link", link} + options);
        return waitForStarted(5000) && waitFor([&] { return QFileInfo(link).isSymLink(); });
    }
    // One command on the simulator's console ("hangup", "silent on").
    void console(const char* command) {
        write(QByteArray(command) + "\n");
        waitForBytesWritten(2000);
    }
    ~SimProgram() override {
        terminate();
        if (!waitForFinished(5000)) {
            kill();
            waitForFinished(2000);
        }
    }
};

} // namespace orlix::test
