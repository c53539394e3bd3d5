#include "sim/control_commands.h"

#include <charconv>
#include <optional>
#include <vector>

namespace orlix::sim {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
        s.remove_suffix(1);
    }
    return s;
}

// Splits off the first word; `rest` keeps everything after it, trimmed.
std::string_view firstWord(std::string_view s, std::string_view& rest) {
    s = trimmed(s);
    const auto space = s.find_first_of(" \t");
    if (space == std::string_view::npos) {
        rest = {};
        return s;
    }
    rest = trimmed(s.substr(space));
    return s.substr(0, space);
}

std::optional<int> number(std::string_view s) {
    int value = 0;
    const auto* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> onOff(std::string_view s) {
    if (s == "on" || s == "1") {
        return true;
    }
    if (s == "off" || s == "0") {
        return false;
    }
    return std::nullopt;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

ControlResult ok(std::string message) {
    return {true, std::move(message)};
}
ControlResult fail(std::string message) {
    return {false, std::move(message)};
}

ControlResult setCounter(std::string_view word, std::string_view arg, SimulatedUnit& unit) {
    const auto n = number(arg);
    if (!n) {
        return fail(std::string(word) + " needs a count (0 = off)");
    }
    auto faults = unit.faults();
    if (word == "reject") {
        faults.rejectEveryNthLine = *n;
    } else if (word == "drop") {
        faults.dropEveryNthOutputChar = *n;
    } else if (word == "drop-in") {
        faults.dropEveryNthInputChar = *n;
    } else {
        faults.nulEveryNthOutputChar = *n;
    }
    unit.setFaults(faults);
    return ok(std::string(word) + " every " + std::to_string(*n) + (*n == 0 ? " (off)" : ""));
}

ControlResult setDac(std::string_view args, SimulatedUnit& unit) {
    std::vector<std::string_view> words;
    std::string_view rest = args;
    while (!rest.empty()) {
        words.push_back(firstWord(rest, rest));
    }
    if (words.size() != 4 || words[0].size() != 1 || words[1].size() != 1) {
        return fail("usage: dac G S K V");
    }
    const auto group = groupFromLetter(words[0][0]);
    const auto index = number(words[2]);
    const auto value = number(words[3]);
    const char s = words[1][0];
    if (!group || !index || !value || *index >= kMaxDacsPerGroup || *value > 255 ||
        (s != 'c' && s != 'f' && s != 'p')) {
        return fail("usage: dac G S K V (G l b h v n a d e g i k, S c f p, K 0..9, V 0..255)");
    }
    const DacSet set = s == 'f' ? DacSet::F : s == 'p' ? DacSet::P : DacSet::Current;
    unit.setDac(*group, set, *index, *value);
    return ok("dac set");
}

} // namespace

std::string unescapeText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char e = text[++i];
        switch (e) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '0':
            out += '\0';
            break;
        case 'x':
            if (i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
                out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
                i += 2;
            } else {
                out += "\\x";
            }
            break;
        default:
            out += e;
        }
    }
    return out;
}

ControlResult runControlCommand(SimulatedUnit& unit, std::string_view command, std::int64_t nowMs) {
    std::string_view arg;
    const auto word = firstWord(command, arg);
    if (word.empty()) {
        return ok({});
    }
    if (word == "help") {
        return ok(std::string(kControlHelp));
    }
    if (word == "status") {
        return ok(describeUnit(unit, nowMs));
    }
    if (word == "silent") {
        const auto on = onOff(arg);
        if (!on) {
            return fail("silent on|off");
        }
        unit.setSilent(*on);
        return ok(*on ? "unit silent" : "unit answers again");
    }
    if (word == "reject" || word == "drop" || word == "drop-in" || word == "nul") {
        return setCounter(word, arg, unit);
    }
    if (word == "garbage") {
        std::string_view text;
        const auto n = number(firstWord(arg, text));
        if (!n) {
            return fail("garbage N [TEXT]");
        }
        auto faults = unit.faults();
        faults.garbageEveryNthReply = *n;
        if (!text.empty()) {
            faults.garbage = unescapeText(text);
        }
        unit.setFaults(faults);
        return ok("garbage before every " + std::to_string(*n) + " reply");
    }
    if (word == "inject") {
        const auto bytes = unescapeText(arg);
        unit.injectGarbage(bytes, nowMs);
        return ok(std::to_string(bytes.size()) + " bytes injected");
    }
    if (word == "hangup") {
        unit.hangUp();
        return ok("line closed");
    }
    if (word == "plug") {
        unit.reconnectLine();
        return ok("line open");
    }
    if (word == "reboot") {
        unit.rebootIntoBootLoader(nowMs);
        return ok("rebooted into the boot loader");
    }
    if (word == "dac") {
        return setDac(arg, unit);
    }
    if (word == "delay") {
        const auto ms = number(arg);
        if (!ms) {
            return fail("delay MS");
        }
        unit.editState().config.replyDelayMs = *ms;
        return ok("reply delay " + std::to_string(*ms) + " ms");
    }
    if (word == "wire") {
        const auto on = onOff(arg);
        if (!on) {
            return fail("wire on|off");
        }
        unit.setWireRate(*on);
        return ok(*on ? "wire rate on" : "wire rate off");
    }
    return fail("unknown command '" + std::string(word) + "' (try help)");
}

std::string describeUnit(const SimulatedUnit& unit, std::int64_t nowMs) {
    const auto& s = unit.state();
    const auto& f = unit.faults();
    const auto seconds = unit.operatingSeconds(nowMs);
    std::string out = s.inBootLoader ? "boot loader" : "application firmware";
    out += ", firmware V " + s.firmware.text;
    out += ", control " + std::string(s.softwareControl ? "software" : "hardware");
    out += ", digital " + std::to_string(s.digitalBrightness[0]) + "/" +
           std::to_string(s.digitalBrightness[1]) + "/" + std::to_string(s.digitalBrightness[2]);
    out += ", maximum " + std::to_string(s.analogBrightness[0]) + "/" +
           std::to_string(s.analogBrightness[1]) + "/" + std::to_string(s.analogBrightness[2]);
    if (s.bugeyeMode) {
        out += ", bugeye " + std::to_string(s.bugeyeBrightness);
    }
    out += ", operating " + std::to_string(seconds / 3600) + " h, " +
           std::to_string(s.operatingCycles) + " cycles";
    out += ", " + std::to_string(unit.linesReceived()) + " lines";
    if (f.silent) {
        out += ", SILENT";
    }
    if (unit.hungUp()) {
        out += ", HUNG UP";
    }
    if (f.rejectEveryNthLine > 0) {
        out += ", reject every " + std::to_string(f.rejectEveryNthLine);
    }
    if (f.dropEveryNthOutputChar > 0 || f.dropEveryNthInputChar > 0) {
        out += ", drop out/in every " + std::to_string(f.dropEveryNthOutputChar) + "/" +
               std::to_string(f.dropEveryNthInputChar);
    }
    if (f.nulEveryNthOutputChar > 0) {
        out += ", NUL every " + std::to_string(f.nulEveryNthOutputChar);
    }
    if (f.garbageEveryNthReply > 0) {
        out += ", garbage every " + std::to_string(f.garbageEveryNthReply);
    }
    return out;
}

} // namespace orlix::sim
