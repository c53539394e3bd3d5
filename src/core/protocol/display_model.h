// What the unit reports that the monitor data does not keep: analog readings
// in volts, control values, register reads, device status colours and the
// like, each as the text a control of that name would show.
//
// Keys are control names with their property, for example
// "HScroll2(1).Value", "BText1(0).Text", "lblAutoBoot.Caption". Values are
// texts: captions and text boxes as formatted, scroll bar values as decimal
// numbers, option buttons "True"/"False", check boxes "1"/"0", colours as
// decimal 0x00BBGGRR values. A later reply overwrites the text of its key.
// The model only collects; it never reaches the monitor data or the link.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace orlix {

// "Name.Property" and "Name(index).Property".
std::string ControlKey(std::string_view name, std::string_view property);
std::string ControlKey(std::string_view name, int index, std::string_view property);

inline constexpr std::string_view kTrueText = "True";
inline constexpr std::string_view kFalseText = "False";

class DisplayModel {
public:
    // Sorted by key, so that a list of them is stable from run to run.
    using Entries = std::map<std::string, std::string, std::less<>>;

    const Entries& entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool contains(std::string_view key) const;
    // The text of `key`; empty when nothing has been reported for it.
    std::string_view text(std::string_view key) const;
    // Counts every change of a text (a new key included), so that a viewer
    // can tell whether to refresh.
    std::uint64_t changeCount() const { return m_changeCount; }

    void set(std::string_view key, std::string_view text);
    void clear();

    // Selects option `name`(index) of an option array: its Value becomes
    // "True" and every other member of that array already known "False".
    void selectOption(std::string_view name, int index);
    // Selects one option of a pair: `chosen` "True", `other` "False".
    void selectOption(std::string_view chosen, std::string_view other);

private:
    Entries m_entries;
    std::uint64_t m_changeCount = 0;
};

} // namespace orlix
