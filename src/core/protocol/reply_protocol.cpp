#include "core/protocol/reply_protocol.h"

#include "core/protocol/number_format.h"
#include "core/protocol/text_helpers.h"

namespace orlix {

namespace {

// One routing step: the letter and the text after it.
struct Routed {
    char letter = '\0';
    std::string_view rest;
};

// Empty letter ('\0') when nothing but white space is left.
Routed splitLetter(std::string_view text) {
    text = SkipWhiteSpace(text);
    if (text.empty()) {
        return {};
    }
    return {UpperAscii(text.front()), SkipWhiteSpace(text.substr(1))};
}

// Analog reply layouts by firmware generation; 299 and 399 belong to none.
enum class AnalogLayout { None, First, Second, Third };

AnalogLayout analogLayout(std::int16_t code) {
    if (code >= 100 && code <= 199) {
        return AnalogLayout::First;
    }
    if (code >= 200 && code <= 298) {
        return AnalogLayout::Second;
    }
    if (code >= 300 && code <= 398) {
        return AnalogLayout::Third;
    }
    return AnalogLayout::None;
}

} // namespace

char RoutingLetter(std::string_view text) {
    return splitLetter(text).letter;
}

void ScrollRun::set(const ShownKey& key, double value) {
    if (m_ended || m_ctx.display == nullptr) {
        return;
    }
    if (!(value >= 0 && value <= kScrollMax)) {
        m_ended = true;
        return;
    }
    m_ctx.display->set(key, FormatNumber(value, "0"));
}

ReplyProtocol::ReplyProtocol(MonitorData& data, LinkFlags& link, ProtocolEvents& events)
    : m_ctx{data, link, events, &m_display} {}

void ReplyProtocol::setDisplayEnabled(bool enabled) {
    m_ctx.display = enabled ? &m_display : nullptr;
}

template <typename Route>
void ReplyProtocol::notifying(Route&& route) {
    const auto before = m_display.changeCount();
    route();
    if (m_display.changeCount() != before) {
        m_ctx.events.displayChanged();
    }
}

void ReplyProtocol::setDisplayMemoEnabled(bool enabled) {
    m_memoEnabled = enabled;
    m_memo.clear();
}

void ReplyProtocol::ReplyDispatcher(std::string_view text) {
    notifying([&] {
        if (m_ctx.display == nullptr || !m_memoEnabled) {
            routeTop(text);
        } else {
            routeShowing(text);
        }
    });
}

void ReplyProtocol::routeShowing(std::string_view text) {
    const DisplayInputs inputs = DisplayInputs::of(m_ctx.data);
    if (const auto* writes = m_memo.find(text, inputs, m_display.clearCount())) {
        // Seen before in this state: store into the monitor data as always,
        // then show what it showed then.
        m_ctx.display = nullptr;
        routeTop(text);
        m_ctx.display = &m_display;
        m_display.replay(*writes);
        return;
    }
    m_display.startRecording();
    routeTop(text);
    if (auto writes = m_display.stopRecording(); writes && !writes->empty()) {
        m_memo.remember(text, inputs, m_display.clearCount(), std::move(*writes));
    }
}

void ReplyProtocol::DispatchDReply(std::string_view text) {
    notifying([&] { routeD(text); });
}

void ReplyProtocol::DispatchDDReply(std::string_view text) {
    notifying([&] { routeDD(text); });
}

void ReplyProtocol::DispatchDDFReply(std::string_view text) {
    notifying([&] { routeDDSet(ValueSet::F, text); });
}

void ReplyProtocol::DispatchDDPReply(std::string_view text) {
    notifying([&] { routeDDSet(ValueSet::P, text); });
}

void ReplyProtocol::HandleCReply(std::string_view text) {
    // The letter and the rest are taken like a routing level, then dropped.
    (void)splitLetter(text);
}

void ReplyProtocol::routeTop(std::string_view text) {
    const Routed r = splitLetter(text);
    switch (r.letter) {
    case ':':
        m_ctx.events.downloadRecordReply(r.rest);
        break;
    case 'A':
        m_ctx.events.downloadAddressReply(r.rest);
        break;
    case 'B':
        m_ctx.events.downloadBReply(r.rest);
        break;
    case 'C':
        HandleCReply(r.rest);
        break;
    case 'D':
        routeD(r.rest);
        break;
    case 'H':
        HandleHReply(m_ctx, r.rest);
        break;
    case 'M':
        HandleMReply(m_ctx, r.rest);
        break;
    case 'P':
        HandlePReply(m_ctx, r.rest);
        break;
    case 'R':
        HandleRReply(m_ctx, r.rest);
        break;
    default:
        break; // E, W, prompts and everything else
    }
}

void ReplyProtocol::routeD(std::string_view text) {
    const Routed r = splitLetter(text);
    switch (r.letter) {
    case 'A':
        switch (analogLayout(m_ctx.data.FirmwareVersionCode)) {
        case AnalogLayout::First:
            AnalogReadings1(m_ctx, r.rest);
            break;
        case AnalogLayout::Second:
            AnalogReadings2(m_ctx, r.rest);
            break;
        case AnalogLayout::Third:
            AnalogReadings3(m_ctx, r.rest);
            break;
        case AnalogLayout::None:
            break;
        }
        break;
    case 'B':
        AutoBootReply(m_ctx, r.rest);
        break;
    case 'C':
        ConfigurationReply(m_ctx, r.rest);
        break;
    case 'D':
        routeDD(r.rest);
        break;
    case 'E':
        EpromVersionReply(m_ctx, r.rest);
        break;
    case 'F':
        FirmwareVersionReply(m_ctx, r.rest);
        break;
    case 'H':
        LimitsReply(m_ctx, r.rest);
        break;
    case 'M':
        ModelNumberReply(m_ctx, r.rest);
        break;
    case 'P':
        PanelStatusReply(m_ctx, r.rest);
        break;
    case 'R':
        DutyCycleReply(m_ctx, r.rest);
        break;
    case 'S':
        SerialNumberReply(m_ctx, r.rest);
        break;
    case 'T':
    case 'U':
        OperatingTimeReply(m_ctx, r.rest);
        break;
    case 'V':
        SyncFrequencyReply(m_ctx, r.rest);
        break;
    case 'W':
        ModelTypeReply(m_ctx, r.rest);
        break;
    case 'X':
        CapabilityReply(m_ctx, r.rest);
        break;
    case 'Y':
        ControlModeReply(m_ctx, r.rest);
        break;
    case 'Z':
        ParameterListReply(m_ctx, r.rest);
        break;
    default:
        break;
    }
}

void ReplyProtocol::routeDD(std::string_view text) {
    const Routed r = splitLetter(text);
    switch (r.letter) {
    case 'B':
        CurrentValueReply(m_ctx, GroupId::B, r.rest);
        break;
    case 'H':
        CurrentValueReply(m_ctx, GroupId::H, r.rest);
        break;
    case 'L':
        CurrentValueReply(m_ctx, GroupId::L, r.rest);
        break;
    case 'V':
        CurrentValueReply(m_ctx, GroupId::V, r.rest);
        break;
    case 'F':
        routeDDSet(ValueSet::F, r.rest);
        break;
    case 'P':
        routeDDSet(ValueSet::P, r.rest);
        break;
    case 'S':
    case 'T':
        NGroupReply(m_ctx, r.letter, r.rest);
        break;
    case 'N':
        ScanSetNameReply(m_ctx, r.rest);
        break;
    default:
        break;
    }
}

void ReplyProtocol::routeDDSet(ValueSet set, std::string_view text) {
    const Routed r = splitLetter(text);
    switch (r.letter) {
    case 'B':
        ValueSetReply(m_ctx, set, GroupId::B, r.rest);
        break;
    case 'H':
        ValueSetReply(m_ctx, set, GroupId::H, r.rest);
        break;
    case 'L':
        ValueSetReply(m_ctx, set, GroupId::L, r.rest);
        break;
    case 'V':
        ValueSetReply(m_ctx, set, GroupId::V, r.rest);
        break;
    case 'S':
    case 'T':
        NGroupSetReply(m_ctx, set, r.letter, r.rest);
        break;
    default:
        break;
    }
}

} // namespace orlix
