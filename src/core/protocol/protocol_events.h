// What reply handlers do beyond the monitor data and the link flags: the
// version window's labels, the backlight window's control mode and the
// firmware download steps. The root object implements it; a handler never
// reaches a window or the line by any other way.
#pragma once

#include <string>
#include <string_view>

namespace orlix {

class ProtocolEvents {
public:
    virtual ~ProtocolEvents() = default;
    // DF and DE: the version window's value labels ("V " and the version).
    virtual void firmwareVersionLabel(const std::string& /*text*/) {}
    virtual void epromVersionLabel(const std::string& /*text*/) {}
    // DY: the backlight control mode; true selects "Software", false "Hardware".
    virtual void controlModeReported(bool /*software*/) {}
    // Firmware download replies: ':' (record), 'A' (address), 'B' (b commands).
    virtual void downloadRecordReply(std::string_view /*text*/) {}
    virtual void downloadAddressReply(std::string_view /*text*/) {}
    virtual void downloadBReply(std::string_view /*text*/) {}
    // The display model (values the unit reports that the monitor data does
    // not keep) changed.
    virtual void displayChanged() {}
};

} // namespace orlix
