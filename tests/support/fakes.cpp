#include "support/fakes.h"

namespace orlix::test {

SerialOpenResult FakeSerialPort::open(const std::string& device,
                                      const SerialLineSettings& settings) {
    openedDevices.push_back(device);
    lastSettings = settings;
    if (auto it = refuse.find(device); it != refuse.end()) {
        m_open = false;
        return {false, it->second};
    }
    m_open = true;
    SerialOpenResult result{true, {}};
    result.pending = pendingOpens;
    return result;
}

bool FakeSerialPort::write(std::string_view bytes) {
    if (!m_open || failWrites) {
        return false;
    }
    m_writes.push_back({m_clock.nowMs(), std::string(bytes)});
    if (onWrite) {
        onWrite(bytes);
    }
    return true;
}

std::string FakeSerialPort::written() const {
    std::string all;
    for (const auto& w : m_writes) {
        all += w.bytes;
    }
    return all;
}

std::vector<FakeSerialPort::Write> FakeSerialPort::takeWrites() {
    std::vector<Write> result(m_writes.begin() + static_cast<std::ptrdiff_t>(m_taken),
                              m_writes.end());
    m_taken = m_writes.size();
    return result;
}

std::optional<std::string> FakeSettingsStore::get(std::string_view section,
                                                  std::string_view key) const {
    const auto it = values.find({std::string(section), std::string(key)});
    if (it == values.end()) {
        return std::nullopt;
    }
    return it->second;
}

void FakeSettingsStore::set(std::string_view section, std::string_view key,
                            std::string_view value) {
    values[{std::string(section), std::string(key)}] = std::string(value);
}

bool FakeDialogs::askYesNo(std::string_view text, std::string_view /*title*/) {
    questions.emplace_back(text);
    if (answers.empty()) {
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<FileChoice> FakeDialogs::chooseOpenFile(const FileDialogRequest& request) {
    openRequests.push_back(request);
    if (openChoices.empty()) {
        return std::nullopt;
    }
    auto choice = openChoices.front();
    openChoices.pop_front();
    return choice;
}

std::optional<FileChoice> FakeDialogs::chooseSaveFile(const FileDialogRequest& request) {
    saveRequests.push_back(request);
    if (saveChoices.empty()) {
        return std::nullopt;
    }
    auto choice = saveChoices.front();
    saveChoices.pop_front();
    return choice;
}

} // namespace orlix::test
