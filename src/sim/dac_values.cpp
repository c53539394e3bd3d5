#include "sim/dac_values.h"

#include <cctype>

namespace orlix::sim {

DacArray& DacGroupValues::values(DacSet set) {
    switch (set) {
    case DacSet::F:
        return f;
    case DacSet::P:
        return p;
    case DacSet::Current:
        break;
    }
    return current;
}

const DacArray& DacGroupValues::values(DacSet set) const {
    return const_cast<DacGroupValues*>(this)->values(set);
}

namespace {

constexpr std::string_view kGroupLetters = "lbhvnadegik";

// Fills a group so that the three sets differ from each other and from the
// other groups: a value read into the wrong plane or the wrong index shows.
DacGroupValues makeGroup(int count, int base, int step, int limit) {
    DacGroupValues g;
    g.count = count;
    for (int k = 0; k < kMaxDacsPerGroup; ++k) {
        if (k >= count) {
            continue;
        }
        g.current[k] = (base + k * step) % (limit + 1);
        g.f[k] = (base + 7 + k * step) % (limit + 1);
        g.p[k] = (base + 13 + k * step) % (limit + 1);
    }
    return g;
}

} // namespace

DacValues defaultDacValues() {
    DacValues d;
    d.group(DacGroup::L) = makeGroup(8, 128, 9, 255);
    d.group(DacGroup::B) = makeGroup(2, 96, 40, 255);
    d.group(DacGroup::H) = makeGroup(4, 110, 21, 255);
    d.group(DacGroup::V) = makeGroup(7, 60, 23, 255);
    d.group(DacGroup::N) = makeGroup(6, 20, 5, kMaxNValue);
    // Horiz S Cap: a four-bit capacitor bank selection.
    auto& h = d.group(DacGroup::H);
    h.current[kHorizSCapIndex] = 6;
    h.f[kHorizSCapIndex] = 5;
    h.p[kHorizSCapIndex] = 7;
    d.group(DacGroup::A) = makeGroup(4, 30, 11, 255);
    d.group(DacGroup::D) = makeGroup(4, 70, 17, 255);
    d.group(DacGroup::E) = makeGroup(3, 150, 19, 255);
    d.group(DacGroup::G) = makeGroup(3, 45, 31, 255);
    d.group(DacGroup::I) = makeGroup(2, 200, 12, 255);
    d.group(DacGroup::K) = makeGroup(2, 15, 33, 255);
    return d;
}

char groupLetter(DacGroup group) {
    return kGroupLetters[static_cast<std::size_t>(group)];
}

std::optional<DacGroup> groupFromLetter(char letter) {
    const auto lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    const auto pos = kGroupLetters.find(lower);
    if (pos == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<DacGroup>(pos);
}

} // namespace orlix::sim
