// Fakes of the core's ports for tests: they record what core did and let
// the test script what the user or the system answers.
#pragma once

#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/serial_port.h"
#include "core/ports/settings_store.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orlix::test {

class FakeSerialPort : public SerialPort {
public:
    explicit FakeSerialPort(const Clock& clock) : m_clock(clock) {}

    SerialOpenResult open(const std::string& device, const SerialLineSettings& settings) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(std::string_view bytes) override;

    struct Write {
        std::int64_t at;
        std::string bytes;
    };
    const std::vector<Write>& writes() const { return m_writes; }
    // Everything written, joined.
    std::string written() const;
    // The lines written since the last call, each with its time.
    std::vector<Write> takeWrites();
    void clearWrites() {
        m_writes.clear();
        m_taken = 0;
    }

    // Called with every successful write (a simulated unit listens here).
    std::function<void(std::string_view)> onWrite;
    // Devices that refuse to open, with the reason the system gives.
    std::map<std::string, std::string> refuse;
    bool failWrites = false;
    // Opens report that they go on in the background, as a network
    // connection's does.
    bool pendingOpens = false;
    std::vector<std::string> openedDevices;
    SerialLineSettings lastSettings;

private:
    const Clock& m_clock;
    bool m_open = false;
    std::vector<Write> m_writes;
    std::size_t m_taken = 0;
};

class FakeSettingsStore : public SettingsStore {
public:
    std::optional<std::string> get(std::string_view section, std::string_view key) const override;
    void set(std::string_view section, std::string_view key, std::string_view value) override;
    std::map<std::pair<std::string, std::string>, std::string> values;
};

class FakeDialogs : public Dialogs {
public:
    void message(std::string_view text, std::string_view title) override {
        messages.push_back({std::string(text), std::string(title)});
    }
    bool askYesNo(std::string_view text, std::string_view title) override;
    std::optional<FileChoice> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> chooseSaveFile(const FileDialogRequest& request) override;
    void beep(int frequencyHz, int durationMs) override {
        beeps.push_back({frequencyHz, durationMs});
    }

    struct Message {
        std::string text;
        std::string title;
    };
    std::vector<Message> messages;
    std::vector<std::pair<int, int>> beeps;
    std::vector<std::string> questions;
    std::deque<bool> answers; // Yes/No answers in order; No when empty
    std::vector<FileDialogRequest> openRequests, saveRequests;
    std::deque<std::optional<FileChoice>> openChoices, saveChoices; // cancel when empty
};

} // namespace orlix::test
