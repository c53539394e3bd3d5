// What the end-to-end tests share: waiting on the event loop for a
// condition, and the orlix6-sim program on a pseudo-terminal, stopped when
// the test ends however it ends. Header-only; for targets that define
// ORLIX6_SIM_BIN.
#pragma once

#include "windows_support/wait_for.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace orlix::test {

// Asks `process` to end, and ends it if it does not.
inline void stopProcess(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
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
    ~SimProgram() override { stopProcess(*this); }
};

} // namespace orlix::test
