// The whole tool on fake ports and a virtual clock, for core tests.
// Header-only so that the port fakes library stays free of core.
#pragma once

#include "core/app/app.h"
#include "support/fakes.h"
#include "support/virtual_clock.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orlix::test {

class RecordingViewListener : public ViewListener {
public:
    void viewChanged(WindowId window) override { changes.push_back(window); }
    std::vector<WindowId> changes;
};

struct AppHarness {
    VirtualClock clock;
    FakeSerialPort port{clock};
    FakeSettingsStore store;
    FakeDialogs dialogs;
    App app{Ports{port, clock, clock, store, dialogs}};
    RecordingViewListener views;

    AppHarness() {
        clock.setTickHandler([this](TimerId id) { app.onTimer(id); });
        app.setViewListener(&views);
    }

    // Maps every Com port to a device name of the test's own, so that no
    // test ever opens a real port.
    void mapPorts() {
        for (int n = 1; n <= 8; ++n) {
            store.set("Ports", "Com" + std::to_string(n), "test-com" + std::to_string(n));
        }
    }

    // Starts the tool as the process entry does.
    void start() {
        mapPorts();
        app.Main();
    }

    // Starts the tool and lets the first ping's write pause pass, so that
    // actions run at once instead of waiting for the write.
    void startSettled() {
        start();
        advance(100);
    }

    void close() {
        act([this] { app.closeMain(); });
    }

    void receive(std::string_view bytes) { app.onSerialBytes(bytes); }
    void advance(std::int64_t ms) { clock.advance(ms); }
    void act(const std::function<void()>& action) { app.act(action); }

    // Stores each key and value of `values` in `section`.
    void
    storeSettings(std::string_view section,
                  std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
        for (const auto& [key, value] : values) {
            store.set(section, key, value);
        }
    }

    std::string setting(std::string_view section, std::string_view key) const {
        return store.get(section, key).value_or("<missing>");
    }
};

} // namespace orlix::test
