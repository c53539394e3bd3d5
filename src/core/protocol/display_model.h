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

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orlix {

// "Name.Property" and "Name(index).Property".
std::string ControlKey(std::string_view name, std::string_view property);
std::string ControlKey(std::string_view name, int index, std::string_view property);

// The same key held as its parts, for the reply handlers, which name one
// per value they show: the model recognises a known key from its parts,
// so the key's text is built only for a key it has not seen.
class ShownKey {
public:
    ShownKey(std::string_view name, std::string_view property)
        : m_name(name), m_property(property) {}
    ShownKey(std::string_view name, int index, std::string_view property);

    std::size_t size() const;
    // True when `key` is this key's text.
    bool matches(std::string_view key) const;
    std::string text() const;

private:
    std::string_view m_name;
    std::string_view m_property;
    std::array<char, 12> m_digits{}; // the index, when there is one
    std::uint8_t m_digitCount = 0;
    bool m_indexed = false;
};

inline constexpr std::string_view kTrueText = "True";
inline constexpr std::string_view kFalseText = "False";

class DisplayModel {
public:
    // Sorted by key, so that a list of them is stable from run to run.
    using Entries = std::map<std::string, std::string, std::less<>>;

    DisplayModel() = default;
    DisplayModel(const DisplayModel& other) : m_entries(other.m_entries) { reindex(); }
    DisplayModel& operator=(const DisplayModel& other);

    const Entries& entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool contains(std::string_view key) const;
    // The text of `key`; empty when nothing has been reported for it.
    std::string_view text(std::string_view key) const;
    // Counts every change of a text (a new key included), so that a viewer
    // can tell whether to refresh.
    std::uint64_t changeCount() const { return m_changeCount; }

    void set(std::string_view key, std::string_view text);
    void set(const ShownKey& key, std::string_view text);
    void clear();
    // Counts clear(): a recording made before a clear is void after it.
    std::uint64_t clearCount() const { return m_clearCount; }

    // The texts one reply set, in order, so that the same reply can set
    // them again without being read again (ReplyProtocol).
    // An entry as the index sees it. `next` is the entry set right after
    // this one last time: replies set their keys in the same order every
    // time, so the next key is nearly always that one and is recognised by
    // one comparison, without a lookup.
    struct Slot {
        std::string_view key; // the map's own key, which stays where it is
        std::string* text;
        Slot* next = nullptr;
    };

    struct Write {
        Slot* slot;       // null: selectOption(text, index)
        std::string text; // the text set, or the option array's name
        int index;
    };
    using Writes = std::vector<Write>;
    void startRecording();
    // What was set since startRecording(); nothing when it cannot be
    // repeated (the model was cleared meanwhile).
    std::optional<Writes> stopRecording();
    void replay(const Writes& writes);

    // Selects option `name`(index) of an option array: its Value becomes
    // "True" and every other member of that array already known "False".
    void selectOption(std::string_view name, int index);
    // Selects one option of a pair: `chosen` "True", `other` "False".
    void selectOption(std::string_view chosen, std::string_view other);

private:
    void reindex();
    // Sets the text of `known`, or else of `key`, which is added if new.
    void store(std::string_view key, Slot* known, std::string_view text);

    Entries m_entries;
    // The entries by key, hashed, for keys not recognised by `next`.
    std::unordered_map<std::string_view, Slot> m_index;
    Slot* m_last = nullptr;
    std::uint64_t m_changeCount = 0;
    std::uint64_t m_clearCount = 0;
    bool m_recording = false;
    bool m_repeatable = true;
    Writes m_recorded;
};

} // namespace orlix
