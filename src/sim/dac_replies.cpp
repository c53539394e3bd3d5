// The DD family: DAC values of the groups, the N group's layouts and the
// scan set names.
#include "sim/layout_text.h"
#include "sim/reply_layouts.h"

namespace orlix::sim::layouts {

std::string groupValues(const UnitState& state, DacGroup group, DacSet set) {
    const auto& g = state.config.dacs.group(group);
    const auto& values = g.values(set);
    std::string text = joined(values, 0, g.count);
    if (group == DacGroup::H) {
        text += ',';
        text += std::to_string(values[kHorizSCapIndex]);
    }
    return line(text);
}

namespace {

// The N-S section of the N group is reported in two layouts:
//  - long: four DACs, N 0..3;
//  - short: N 0 and N 1 with a reserved byte between them, which the unit
//    reads from an unused (erased) cell and so always reports as 255.
// Firmware 2.24 moved N 2..5 into the T section and uses the short layout
// for the S section; the F set of the S section is short on every firmware.
constexpr int kReservedByte = 255;

std::string longLayout(const DacArray& v) {
    return joined(v, 0, 4);
}

std::string shortLayout(const DacArray& v) {
    return joined({v[0], kReservedByte, v[1]});
}

std::string fromTwoLayout(const DacArray& v) {
    return joined(v, 2, 4);
}

std::string storedSet(DacSet set, const std::string& values) {
    return line(set == DacSet::F ? "F Set" : "P Set") + line(values);
}

} // namespace

std::string nGroupValues(const UnitState& state, NRequest request) {
    const auto& n = state.config.dacs.group(DacGroup::N);
    const bool is224 = state.firmware.is224();
    switch (request) {
    case NRequest::S: {
        const char shown = state.config.ddsReports;
        if (shown == 'F' || shown == 'P') {
            const DacSet set = shown == 'F' ? DacSet::F : DacSet::P;
            const auto& v = n.values(set);
            return storedSet(set, is224 ? shortLayout(v) : longLayout(v));
        }
        return line(is224 ? shortLayout(n.current) : joined(n.current, 0, 3));
    }
    case NRequest::FS:
        return storedSet(DacSet::F, shortLayout(n.f));
    case NRequest::PS:
        return storedSet(DacSet::P, is224 ? shortLayout(n.p) : longLayout(n.p));
    case NRequest::T:
        return line(fromTwoLayout(n.current));
    case NRequest::FT:
        return storedSet(DacSet::F, is224 ? fromTwoLayout(n.f) : longLayout(n.f));
    case NRequest::PT:
        return storedSet(DacSet::P, is224 ? fromTwoLayout(n.p) : longLayout(n.p));
    }
    return {};
}

std::string scanSetNames(const UnitState& state) {
    std::string out;
    int index = 0;
    for (const auto& set : state.config.scanSets) {
        out += line(joined({index++, set.included ? 1 : 0}) + "," + set.name);
    }
    return out;
}

} // namespace orlix::sim::layouts
