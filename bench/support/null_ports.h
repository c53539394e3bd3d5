// Ports that do nothing, for benchmarks that drive core alone.
#pragma once

#include "core/app/app.h"

#include <map>

namespace orlix::bench {

struct NullPorts : SerialPort, Timers, Clock, SettingsStore, Dialogs {
    SerialOpenResult open(const std::string&, const SerialLineSettings&) override {
        m_open = true;
        return {true, {}};
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(std::string_view) override { return m_open; }
    void start(TimerId, int) override {}
    void stop(TimerId) override {}
    std::int64_t nowMs() const override { return 0; }
    DateTime localNow() const override { return {}; }
    std::optional<std::string> get(std::string_view section, std::string_view key) const override {
        const auto it = m_settings.find(std::string(section) + "/" + std::string(key));
        if (it == m_settings.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    void set(std::string_view section, std::string_view key, std::string_view value) override {
        m_settings[std::string(section) + "/" + std::string(key)] = std::string(value);
    }
    void message(std::string_view, std::string_view) override {}
    bool askYesNo(std::string_view, std::string_view) override { return false; }
    int choose(std::string_view, const std::vector<std::string>&, std::string_view) override {
        return -1;
    }
    std::optional<FileChoice> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<FileChoice> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    void beep(int, int) override {}

    Ports ports() { return Ports{*this, *this, *this, *this, *this}; }

private:
    bool m_open = false;
    std::map<std::string, std::string> m_settings;
};

// What a unit sends during the data walk: echoes, data lines, prompts.
inline std::string mixedReplyStream(std::size_t bytes) {
    static const char* const kReplies[] = {
        "p\r\n#\r\n",
        "da\r\n159,100,90,144\r\nVideo_+80V 243\r\nAnode Voltage 200\r\nAnode Current 61\r\n#\r\n",
        "ddfv\r\n10,20,30,40,50,60,70\r\n#\r\n",
        "ddph\r\n128,127,126,125,9\r\n#\r\n",
        "df\r\nV 2.24\r\n#\r\n",
        "dh\r\nCurrent Limit = 200\r\nUpper Limit = 230\r\nLower Limit = 180\r\n"
        "HV Control Value = 120, 35\r\n#\r\n",
        "dms\r\nModel Number = XYZ-100\r\n#\r\n",
        "dt\r\n523,7,42,18\r\n0,1,5,33\r\n1873\r\n#\r\n",
        "ddps\r\nP Set\r\n5,255,40\r\n#\r\n",
    };
    std::string stream;
    stream.reserve(bytes + 128);
    for (std::size_t i = 0; stream.size() < bytes; ++i) {
        stream += kReplies[i % std::size(kReplies)];
    }
    return stream;
}

} // namespace orlix::bench
