// The data items the tool walks through, one per tick of tmrSave: index,
// command (without its line end). Item 3 sends nothing.
#pragma once

#include <array>
#include <string_view>

namespace orlix {

inline constexpr int kDataItemCount = 45;

inline constexpr std::array<std::string_view, kDataItemCount> kDataItemCommands = {
    "da",   "db",   "dc",   "",     "ddv",  "ddfv", "ddpv", "ddh",  "ddph", "ddfh", "ddl",  "ddpl",
    "ddfl", "ddb",  "ddpb", "ddfb", "de",   "df",   "dh",   "dms",  "dps",  "dss",  "dt",   "dw",
    "dda",  "ddpa", "ddfa", "ddd",  "ddpd", "ddfd", "dde",  "ddpe", "ddfe", "ddg",  "ddpg", "ddfg",
    "ddi",  "ddpi", "ddfi", "ddk",  "ddpk", "ddfk", "dds",  "ddps", "ddfs"};

} // namespace orlix
