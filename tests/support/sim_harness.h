// The whole tool against the simulated unit, in one process, on the
// virtual clock: the unit hears every line the tool writes and its answers
// arrive when they are due. Header-only; link orlix6_core and orlix6_sim.
#pragma once

#include "sim/simulated_unit.h"
#include "support/app_harness.h"

#include <algorithm>
#include <limits>

namespace orlix::test {

struct SimHarness : AppHarness {
    sim::SimulatedUnit unit;

    static sim::UnitOptions quickUnit(sim::UnitOptions options = {}) {
        options.wireRate = false;
        options.replyDelayMs = 0;
        return options;
    }

    explicit SimHarness(sim::UnitOptions options = quickUnit()) : unit(std::move(options)) {
        port.onWrite = [this](std::string_view bytes) { unit.receive(bytes, clock.nowMs()); };
    }

    // Runs tool and unit together for `ms` of virtual time.
    void run(std::int64_t ms) {
        const std::int64_t target = clock.nowMs() + ms;
        for (;;) {
            deliverHangUp();
            const auto output = unit.nextOutputTime();
            const auto timer = clock.nextDue();
            constexpr auto kNever = std::numeric_limits<std::int64_t>::max();
            const std::int64_t tOut = output ? std::max(*output, clock.nowMs()) : kNever;
            const std::int64_t tTimer = timer ? *timer : kNever;
            const std::int64_t next = std::min(tOut, tTimer);
            if (next > target) {
                clock.advance(target - clock.nowMs());
                return;
            }
            if (tTimer <= tOut) {
                clock.advance(tTimer - clock.nowMs());
                continue;
            }
            clock.advance(tOut - clock.nowMs());
            const std::string bytes = unit.takeOutput(clock.nowMs());
            if (!bytes.empty() && port.isOpen()) {
                app.onSerialBytes(bytes);
            }
        }
    }

    // Connects (3 s) and chooses "Update All Data"; the walk's first pass
    // of the table takes kWalkPassMs.
    static constexpr std::int64_t kWalkPassMs = 50'000;
    void startWalk() {
        start();
        run(3000);
        app.act([this] { app.frmMain.mnuMonitorUpdate_Click(); });
    }

    // A hung-up line looks to the tool like a device that went away.
    void deliverHangUp() {
        if (unit.hungUp() && port.isOpen()) {
            port.close();
            app.onSerialPortLost("the line was hung up");
        }
    }

    // Lines written so far, each without its line end.
    std::vector<std::string> linesWritten() const {
        std::vector<std::string> lines;
        for (const auto& w : port.writes()) {
            std::string line = w.bytes;
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
                line.pop_back();
            }
            lines.push_back(line);
        }
        return lines;
    }
};

} // namespace orlix::test
