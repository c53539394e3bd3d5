// The simulated unit's adjustment DACs: for every group the values in use
// ("current"), the factory set (F) and the preset set (P). The unit keeps
// one set per group, the one of its active scan set.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace orlix::sim {

// L, B, H, V and N are the groups the tool stores; A, D, E, G, I and K are
// further groups the unit reports and the tool only reads past.
enum class DacGroup { L, B, H, V, N, A, D, E, G, I, K };
inline constexpr int kDacGroupCount = 11;

enum class DacSet { Current, F, P };

inline constexpr int kMaxDacsPerGroup = 10;
// The H group's extra "Horiz S Cap" DAC lives outside the counted ones.
inline constexpr int kHorizSCapIndex = 8;
// N-group DACs are six bits wide.
inline constexpr int kMaxNValue = 63;

using DacArray = std::array<int, kMaxDacsPerGroup>;

struct DacGroupValues {
    int count = 0; // how many values the unit reports for the group
    DacArray current{};
    DacArray f{};
    DacArray p{};

    DacArray& values(DacSet set);
    const DacArray& values(DacSet set) const;
};

struct DacValues {
    std::array<DacGroupValues, kDacGroupCount> groups{};

    DacGroupValues& group(DacGroup id) { return groups[static_cast<int>(id)]; }
    const DacGroupValues& group(DacGroup id) const { return groups[static_cast<int>(id)]; }
};

// A unit as it leaves the factory: counts 8, 2, 4, 7, 6 for L, B, H, V, N
// and distinct, plausible values in every set.
DacValues defaultDacValues();

// The lower-case letter that names a group in the dd commands ("ddfv": v).
char groupLetter(DacGroup group);
std::optional<DacGroup> groupFromLetter(char letter);

} // namespace orlix::sim
