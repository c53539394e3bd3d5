// The windowed tool's core with its real serial adapter and timers, against
// orlix6-sim on a pseudo-terminal of its own (directly, or through a server
// the caller puts in between), and the data files such rigs save.
// Header-only; for targets that define ORLIX6_SIM_BIN and link orlix6_sim.
#pragma once

#include "core/app/app.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_timers.h"
#include "support/fakes.h"
#include "support/hex_images.h"
#include "windows_support/sim_process.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

namespace orlix::test {

// A data file without the line that says when it was written; the unit's
// running time, which goes on by the second, comes back separately.
inline std::string withoutWhen(const std::string& text, long* operatingSeconds) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("\"Operating Hours: \"")) {
            long d = 0, h = 0, m = 0, s = 0;
            char q = 0;
            std::istringstream(line.substr(line.find(',') + 1)) >> q >> d >> q >> h >> q >> m >>
                q >> s;
            *operatingSeconds = ((d * 24 + h) * 60 + m) * 60 + s;
        } else if (!line.starts_with("\"File Created: \"")) {
            out += line + "\n";
        }
    }
    return out;
}

// The real timers, each interval divided by `scale`: the tool's timings are
// proven on the virtual clock by the core tests; here they only need to run.
class ScaledTimers : public Timers {
public:
    ScaledTimers(Timers& real, int scale) : m_real(real), m_scale(scale) {}
    void start(TimerId id, int intervalMs) override {
        m_real.start(id, std::max(1, intervalMs / m_scale));
    }
    void stop(TimerId id) override { m_real.stop(id); }

private:
    Timers& m_real;
    int m_scale;
};

class ToolRig {
public:
    // Starts the unit ("--firmware 2.24" and `simOptions`) at dir/unit.
    explicit ToolRig(const QStringList& simOptions, int timeScale = 1)
        : link(dir.filePath("unit")), m_scaled(timers, timeScale) {
        sim.setProcessChannelMode(QProcess::MergedChannels);
        EXPECT_TRUE(sim.start(link, QStringList{"--firmware", "2.24"} + simOptions))
            << ORLIX6_SIM_BIN;
    }
    virtual ~ToolRig() { stop(); }

    // Starts the tool on `device` through `adapter`; none: the unit's own pty.
    void start(std::unique_ptr<platform::SerialPortAdapter> adapter = nullptr,
               std::string device = {}) {
        port = adapter ? std::move(adapter) : std::make_unique<platform::QtSerialPort>();
        for (int n = 1; n <= 8; ++n) {
            store.set("Ports", "Com" + std::to_string(n), "/nonexistent/test-com");
        }
        store.set("StartUp", "RunType", "1");
        app = std::make_unique<App>(Ports{*port, m_scaled, clock, store, dialogs});
        app->serial.setOverride(1, device.empty() ? link.toStdString() : device);
        port->setHandlers([this](std::string_view b) { app->onSerialBytes(b); },
                          [this](const std::string& why) { app->onSerialPortLost(why); });
        port->setOpenFailedHandler(
            [this](const std::string& why) { app->onSerialOpenFailed(why); });
        timers.setTickHandler([this](TimerId id) { app->onTimer(id); });
        app->Main();
    }

    // The tool lets go of the port and its timers.
    void stop() {
        timers.setTickHandler(nullptr);
        if (port) {
            port->close();
        }
    }

    void saveAs(const std::string& name) {
        path = dir.filePath(QString::fromStdString(name));
        dialogs.saveChoices.push_back(FileChoice{path.toStdString(), name});
        app->act([this] { app->frmMain.mnuFileSaveAs_Click(); });
    }

    // Download of an image carrying "V 3.10": erase, download, start it.
    void download() {
        const QString image = dir.filePath("fw310.hex");
        writeFile(image, joined(firmwareRecords(20, "3.10")));
        dialogs.openChoices.push_back(FileChoice{image.toStdString(), "fw310.hex"});
        dialogs.choices.push_back(0);
        dialogs.answers.push_back(true);
        app->act([this] { app->frmMain.mnuMonitorDownload_Click(); });
    }

    std::string firstMessage() const {
        return dialogs.messages.empty() ? "" : dialogs.messages.front().text;
    }

    QTemporaryDir dir;
    QString link;
    SimProgram sim;
    std::unique_ptr<platform::SerialPortAdapter> port;
    platform::QtTimers timers;
    platform::QtClock clock;
    FakeSettingsStore store;
    FakeDialogs dialogs;
    std::unique_ptr<App> app;
    QString path; // the saved file

private:
    ScaledTimers m_scaled;
};

} // namespace orlix::test
