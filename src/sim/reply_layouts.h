// The data lines of the application firmware's answers, one function per
// request. Each returns the lines that follow the echo, every line ended by
// CR LF; the echo and the prompt are added by the caller. The texts never
// hold '#', '$' or '!', which would end the reply on the line.
#pragma once

#include "sim/dac_values.h"
#include "sim/unit_state.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orlix::sim::layouts {

inline constexpr std::string_view kLineEnd = "\r\n";

// da: seven fields (generation 1); four fields and labelled readings, one
// per line (generation 2); twelve fields (generation 3).
std::string analogReadings(const UnitState& state);

// db: nine "... = 0xHH" lines, then "auto boot ON" or "auto boot OFF".
std::string bootParameters(const UnitState& state);
// dc: "Config Number = n", then "Config Name = text".
std::string configuration(const UnitState& state);
// de, df: "V x.yy".
std::string romVersion(const UnitState& state);
std::string firmwareVersion(const UnitState& state);
// dh: one "Key = value" line per limit and control value.
std::string limits(const UnitState& state);
// dt, du: stored days,hours,minutes,seconds; the same for this power-on;
// then the cycle count.
std::string operatingTime(const UnitState& state, std::int64_t nowMs);
// dv: "Vsync Frequency = 60.0", then "Hsync Frequency = 31.25".
std::string syncFrequency(const UnitState& state);
// dw: "Model Type = 0x21"; dx: "Capability = 0x85".
std::string modelType(const UnitState& state);
std::string capability(const UnitState& state);
// dy: "control=0;" (hardware) or "control=1;" (software).
std::string controlMode(const UnitState& state);
// dz: key=value; pairs.
std::string parameterList(const UnitState& state);

// dm<x>, ds<x>, dr<x>: "Model Number = ...", "Serial Number = ...",
// "Duty Cycle = ..."; nothing for a selector the unit does not know.
std::optional<std::string> modelMember(const UnitState& state, char selector);
std::optional<std::string> serialMember(const UnitState& state, char selector);
std::optional<std::string> dutyCycleMember(const UnitState& state, char selector);
// dp, dps: operating status, photocell, limits, and on 2.16 to 2.99 the
// BC option line.
std::string panelStatus(const UnitState& state);

// dd<g>, ddf<g>, ddp<g> for the groups L, B, H, V and A..K: the group's
// values on one line; H adds Horiz S Cap after the counted values.
std::string groupValues(const UnitState& state, DacGroup group, DacSet set);
// The N-group requests: dds, ddfs, ddps and ddt, ddft, ddpt.
enum class NRequest { S, FS, PS, T, FT, PT };
// A header line ("F Set" / "P Set") and the values on the second line for
// the stored sets; the current values on the first line for dds and ddt.
std::string nGroupValues(const UnitState& state, NRequest request);
// ddn: one "index,included,name" line per scan set.
std::string scanSetNames(const UnitState& state);

} // namespace orlix::sim::layouts
