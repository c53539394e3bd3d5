#include "sim/application_firmware.h"

#include "sim/reply_layouts.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

namespace orlix::sim {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

Response answer(std::string data) {
    return Response{std::move(data), kApplicationPrompt, 0};
}

Response unknown() {
    return answer(kUnknownCommandLine);
}

std::optional<int> decimal(std::string_view text) {
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// "tyw" then 3 (digital level) or 4 (maximum level), the channel 1..3, "b"
// and the level in decimal.
Response brightness(std::string_view cmd, UnitState& state) {
    if (cmd.size() < 7 || (cmd[3] != '3' && cmd[3] != '4') || cmd[4] < '1' || cmd[4] > '3' ||
        cmd[5] != 'b') {
        return unknown();
    }
    const auto value = decimal(cmd.substr(6));
    if (!value || *value > kMaxBrightness) {
        return unknown();
    }
    auto& levels = cmd[3] == '3' ? state.digitalBrightness : state.analogBrightness;
    levels[static_cast<std::size_t>(cmd[4] - '1')] = *value;
    return answer({});
}

std::optional<std::string> ddRequest(std::string_view rest, const UnitState& state) {
    using layouts::NRequest;
    if (rest == "s") {
        return layouts::nGroupValues(state, NRequest::S);
    }
    if (rest == "t") {
        return layouts::nGroupValues(state, NRequest::T);
    }
    if (rest == "fs") {
        return layouts::nGroupValues(state, NRequest::FS);
    }
    if (rest == "ps") {
        return layouts::nGroupValues(state, NRequest::PS);
    }
    if (rest == "ft") {
        return layouts::nGroupValues(state, NRequest::FT);
    }
    if (rest == "pt") {
        return layouts::nGroupValues(state, NRequest::PT);
    }
    if (rest == "n") {
        return layouts::scanSetNames(state);
    }
    DacSet set = DacSet::Current;
    if (rest.size() == 2 && (rest[0] == 'f' || rest[0] == 'p')) {
        set = rest[0] == 'f' ? DacSet::F : DacSet::P;
        rest.remove_prefix(1);
    }
    if (rest.size() != 1) {
        return std::nullopt;
    }
    const auto group = groupFromLetter(rest[0]);
    if (!group || *group == DacGroup::N) {
        return std::nullopt;
    }
    return layouts::groupValues(state, *group, set);
}

std::optional<std::string> dRequest(std::string_view cmd, const UnitState& state,
                                    std::int64_t nowMs) {
    if (cmd.size() < 2) {
        return std::nullopt;
    }
    const char item = cmd[1];
    const auto rest = cmd.substr(2);
    if (item == 'd') {
        return ddRequest(rest, state);
    }
    if (rest.size() == 1) {
        switch (item) {
        case 'm':
            return layouts::modelMember(state, rest[0]);
        case 's':
            return layouts::serialMember(state, rest[0]);
        case 'r':
            return layouts::dutyCycleMember(state, rest[0]);
        case 'p':
            if (rest[0] == 's') {
                return layouts::panelStatus(state);
            }
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }
    if (!rest.empty()) {
        return std::nullopt;
    }
    switch (item) {
    case 'a':
        return layouts::analogReadings(state);
    case 'b':
        return layouts::bootParameters(state);
    case 'c':
        return layouts::configuration(state);
    case 'e':
        return layouts::romVersion(state);
    case 'f':
        return layouts::firmwareVersion(state);
    case 'h':
        return layouts::limits(state);
    case 'p':
        return layouts::panelStatus(state);
    case 't':
    case 'u':
        return layouts::operatingTime(state, nowMs);
    case 'v':
        return layouts::syncFrequency(state);
    case 'w':
        return layouts::modelType(state);
    case 'x':
        return layouts::capability(state);
    case 'y':
        return layouts::controlMode(state);
    case 'z':
        return layouts::parameterList(state);
    default:
        return std::nullopt;
    }
}

} // namespace

Response runApplicationCommand(std::string_view line, UnitState& state, std::int64_t nowMs) {
    const std::string cmd = lowered(line);
    if (cmd.empty() || cmd == "p") {
        return answer({});
    }
    if (cmd.starts_with("tyw")) {
        return brightness(cmd, state);
    }
    if (cmd == "tas" || cmd == "tah") {
        state.softwareControl = cmd == "tas";
        return answer({});
    }
    if (cmd == "cb") {
        state.bugeyeMode = true;
        return answer({});
    }
    if (cmd == "cu" || cmd == "cv") {
        state.verbose = cmd == "cv";
        return answer({});
    }
    if (cmd == "cz0" || cmd == "cz1") {
        state.lineChecking = cmd == "cz1";
        return answer({});
    }
    if (cmd[0] == 'd') {
        if (auto data = dRequest(cmd, state, nowMs)) {
            return answer(std::move(*data));
        }
    }
    return unknown();
}

} // namespace orlix::sim
