// The unit's application firmware: runs one command line and says what to
// answer. It knows the ping, the data requests of the D family, the
// backlight commands (TYW..B, TAS, TAH), the bugeye test (CB), terse and
// verbose (CU, CV) and line checking (cz0, cz1). Echo, prompts on the wire
// and timing are the line discipline's business, not this one's.
#pragma once

#include "sim/command_response.h"
#include "sim/unit_state.h"

#include <cstdint>
#include <string_view>

namespace orlix::sim {

// `line` is the command without its line end.
Response runApplicationCommand(std::string_view line, UnitState& state, std::int64_t nowMs);

// The brightness range of the TYW commands.
inline constexpr int kMaxBrightness = 16383;

} // namespace orlix::sim
