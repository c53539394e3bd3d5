// orlix6-cli run as a script runs it: its standard input given at the start
// and closed, its standard output, standard error and exit code collected
// at the end; and the files such runs read and write. Header-only; for
// targets that define ORLIX6_CLI_BIN.
#pragma once

#include "windows_support/wait_for.h"

#include <QFile>
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

struct CliResult {
    int code = -1;
    QString out;
    QString err;
};

class CliProgram : public QProcess {
public:
    void start(const QStringList& args, const QByteArray& input = {}) {
        QProcess::start(QStringLiteral(ORLIX6_CLI_BIN), args);
        waitForStarted(5000);
        write(input);
        closeWriteChannel();
    }
    // Standard error so far, kept for the result.
    QString errorText() {
        m_err += QString::fromUtf8(readAllStandardError());
        return m_err;
    }
    CliResult finish(int ms) {
        CliResult r;
        if (!waitFor([this] { return state() == QProcess::NotRunning; }, ms)) {
            kill();
            waitForFinished(2000);
            r.err = "still running after " + QString::number(ms) + " ms\n";
        }
        r.code = exitStatus() == QProcess::NormalExit ? exitCode() : -1;
        r.out = QString::fromUtf8(readAllStandardOutput());
        r.err += errorText();
        return r;
    }

private:
    QString m_err;
};

// One run with nothing on standard input.
inline CliResult runCli(const QStringList& args, int ms = 10000) {
    CliProgram cli;
    cli.start(args);
    return cli.finish(ms);
}

} // namespace orlix::test
