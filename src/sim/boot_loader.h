// The unit's boot loader: answers the ping with '$', erases the flash
// (bf1, bf2, bf3, be), opens a download (bs), takes Intel-HEX records one
// per line (a record with a bad checksum or shape is answered '!' and
// changes nothing, so the same line can come again), reports "EOF" on the
// end record, tells the load address ("a": "Addr = 0x...") and starts the
// application firmware ("g").
//
// Any erase leaves no valid application behind until a download ends with
// its end record; the firmware version then becomes the "V x.yy" text that
// the new image carries, when it carries one.
#pragma once

#include "sim/command_response.h"
#include "sim/unit_state.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace orlix::sim {

class BootLoader {
public:
    // `line` is the command without its line end. May switch `state` to the
    // application firmware ("g") or change its firmware version (end record).
    Response handle(std::string_view line, UnitState& state);

    bool applicationValid() const { return m_applicationValid; }
    bool erased() const { return m_erased; }
    // Where the next data byte goes: just past the last data record.
    std::uint32_t loadAddress() const { return m_next; }
    // The bytes written since the last erase, by address.
    const std::map<std::uint32_t, std::uint8_t>& image() const { return m_image; }
    int recordsAccepted() const { return m_records; }
    int recordsRejected() const { return m_rejected; }

private:
    Response erase(std::string_view what, const UnitState& state);
    Response record(std::string_view line, UnitState& state);
    Response start(UnitState& state);

    std::map<std::uint32_t, std::uint8_t> m_image;
    std::uint32_t m_base = 0;
    std::uint32_t m_next = 0;
    bool m_erased = false;
    bool m_applicationValid = true;
    int m_records = 0;
    int m_rejected = 0;
};

} // namespace orlix::sim
