// Routes each complete reply of the unit, by the letters of its echo, to the
// one handler that understands it.
//
// Theory of operation: every routing level removes leading white space,
// takes the first character upper-cased as its letter and hands the rest,
// again without leading white space, to the next level or the handler. An
// empty text and an unknown letter are dropped silently. The only state
// routing reads is FirmwareVersionCode, which picks the analog layout.
//
// What it does not do: download steps (':', 'A', 'B') and the backlight
// control mode (DY) are only handed on through ProtocolEvents; nothing here
// sends a command, starts a timer or shows a message. The download hooks get
// the text after their letter with leading white space removed (for "a" and
// its address reply: "Addr = 0x1F2" CR LF "$"); HexValueAfter reads such an
// address without reaching past the text.
#pragma once

#include "core/data/monitor_data.h"
#include "core/link/link_flags.h"
#include "core/protocol/display_memo.h"
#include "core/protocol/display_model.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_handlers.h"

#include <string_view>

namespace orlix {

// The letter that the first routing level picks for a text: its first
// character after white space, upper-cased; '\0' for an all-white text.
char RoutingLetter(std::string_view text);

class ReplyProtocol {
public:
    ReplyProtocol(MonitorData& data, LinkFlags& link, ProtocolEvents& events);
    ReplyProtocol(const ReplyProtocol&) = delete;
    ReplyProtocol& operator=(const ReplyProtocol&) = delete;

    // One complete reply as reception assembled it (echo, line end, data
    // lines, prompt), or a text the data file reader built.
    void ReplyDispatcher(std::string_view text);

    // The lower routing levels, each given the text after the letters before
    // it. ReplyDispatcher reaches them; they are public for the data file
    // reader and tests.
    void DispatchDReply(std::string_view text);
    void DispatchDDReply(std::string_view text);
    void DispatchDDFReply(std::string_view text);
    void DispatchDDPReply(std::string_view text);
    // C replies are accepted and nothing is done with them.
    void HandleCReply(std::string_view text);

    const DisplayModel& display() const { return m_display; }
    // With the display off, handlers only store into the monitor data and
    // the link flags (the display model keeps what it had).
    void setDisplayEnabled(bool enabled);
    bool displayEnabled() const { return m_ctx.display != nullptr; }
    // Off: every reply is read for the display again (a test compares the
    // two ways).
    void setDisplayMemoEnabled(bool enabled);

private:
    void routeTop(std::string_view text);
    void routeD(std::string_view text);
    void routeDD(std::string_view text);
    void routeDDSet(ValueSet set, std::string_view text);
    template <typename Route>
    void notifying(Route&& route);

    void routeShowing(std::string_view text);

    DisplayModel m_display;
    DisplayMemo m_memo;
    bool m_memoEnabled = true;
    ReplyContext m_ctx;
};

} // namespace orlix
