#include "core/protocol/display_model.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace orlix {

namespace {

constexpr std::string_view kValueProperty = "Value";

} // namespace

std::string ControlKey(std::string_view name, std::string_view property) {
    return ShownKey(name, property).text();
}

std::string ControlKey(std::string_view name, int index, std::string_view property) {
    return ShownKey(name, index, property).text();
}

ShownKey::ShownKey(std::string_view name, int index, std::string_view property)
    : m_name(name), m_property(property), m_indexed(true) {
    const auto end = std::to_chars(m_digits.data(), m_digits.data() + m_digits.size(), index).ptr;
    m_digitCount = static_cast<std::uint8_t>(end - m_digits.data());
}

std::size_t ShownKey::size() const {
    // "name(digits).property" or "name.property"
    return m_name.size() + m_property.size() + (m_indexed ? m_digitCount + 3u : 1u);
}

namespace {

// Keys and texts are a few characters long: a plain loop beats a call.
bool sameChars(const char* a, const char* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sameChars(a.data(), b.data(), a.size());
}

} // namespace

bool ShownKey::matches(std::string_view key) const {
    if (key.size() != size() || !sameChars(key.data(), m_name.data(), m_name.size()) ||
        !sameChars(key.data() + key.size() - m_property.size(), m_property.data(),
                   m_property.size())) {
        return false;
    }
    const char* middle = key.data() + m_name.size();
    if (!m_indexed) {
        return middle[0] == '.';
    }
    return middle[0] == '(' && sameChars(middle + 1, m_digits.data(), m_digitCount) &&
           middle[1 + m_digitCount] == ')' && middle[2 + m_digitCount] == '.';
}

std::string ShownKey::text() const {
    std::string key;
    key.reserve(size());
    key.append(m_name);
    if (m_indexed) {
        key.append("(").append(m_digits.data(), m_digitCount).append(").");
    } else {
        key.append(".");
    }
    key.append(m_property);
    return key;
}

DisplayModel& DisplayModel::operator=(const DisplayModel& other) {
    if (this != &other) {
        m_entries = other.m_entries;
        m_changeCount = other.m_changeCount;
        // Recordings of this model name its old entries.
        m_clearCount = std::max(m_clearCount, other.m_clearCount) + 1;
        reindex();
    }
    return *this;
}

void DisplayModel::reindex() {
    m_index.clear();
    m_last = nullptr;
    for (auto& [key, text] : m_entries) {
        m_index.emplace(key, Slot{key, &text});
    }
}

bool DisplayModel::contains(std::string_view key) const {
    return m_index.find(key) != m_index.end();
}

std::string_view DisplayModel::text(std::string_view key) const {
    const auto it = m_index.find(key);
    return it == m_index.end() ? std::string_view{} : std::string_view(*it->second.text);
}

void DisplayModel::store(std::string_view key, Slot* known, std::string_view text) {
    Slot* slot = known;
    bool added = false;
    if (slot == nullptr) {
        if (const auto it = m_index.find(key); it != m_index.end()) {
            slot = &it->second;
        } else {
            auto& [entryKey, entryText] = *m_entries.emplace(std::string(key), std::string()).first;
            slot = &m_index.emplace(entryKey, Slot{entryKey, &entryText}).first->second;
            added = true;
        }
    }
    if (m_last != nullptr) {
        m_last->next = slot;
    }
    m_last = slot;
    if (m_recording) {
        m_recorded.push_back(Write{slot, std::string(text), 0});
    }
    if (added || !sameText(*slot->text, text)) {
        slot->text->assign(text);
        ++m_changeCount;
    }
}

void DisplayModel::startRecording() {
    m_recording = true;
    m_repeatable = true;
    m_recorded.clear();
}

std::optional<DisplayModel::Writes> DisplayModel::stopRecording() {
    m_recording = false;
    if (!m_repeatable) {
        m_recorded.clear();
        return std::nullopt;
    }
    Writes writes;
    writes.swap(m_recorded);
    return writes;
}

void DisplayModel::replay(const Writes& writes) {
    for (const Write& w : writes) {
        if (w.slot == nullptr) {
            selectOption(w.text, w.index);
        } else {
            store({}, w.slot, w.text);
        }
    }
}

void DisplayModel::set(std::string_view key, std::string_view text) {
    Slot* next = m_last != nullptr ? m_last->next : nullptr;
    store(key, next != nullptr && sameText(next->key, key) ? next : nullptr, text);
}

void DisplayModel::set(const ShownKey& key, std::string_view text) {
    Slot* next = m_last != nullptr ? m_last->next : nullptr;
    if (next != nullptr && key.matches(next->key)) {
        store({}, next, text);
    } else {
        store(key.text(), nullptr, text);
    }
}

void DisplayModel::clear() {
    ++m_clearCount;
    m_repeatable = false;
    if (!m_entries.empty()) {
        m_index.clear();
        m_last = nullptr;
        m_entries.clear();
        ++m_changeCount;
    }
}

void DisplayModel::selectOption(std::string_view name, int index) {
    // Which members turn "False" depends on what the model holds by then:
    // a recording keeps the choice itself, not the texts it set.
    const bool recording = m_recording;
    if (recording) {
        m_recorded.push_back(Write{nullptr, std::string(name), index});
        m_recording = false;
    }
    // Members of the array are "name(i).Value"; they sort together after
    // "name(".
    std::string prefix(name);
    prefix.push_back('(');
    const std::string chosen = ControlKey(name, index, kValueProperty);
    for (auto it = m_entries.lower_bound(prefix);
         it != m_entries.end() && std::string_view(it->first).starts_with(prefix); ++it) {
        if (it->first != chosen && std::string_view(it->first).ends_with(").Value")) {
            if (it->second != kFalseText) {
                it->second.assign(kFalseText);
                ++m_changeCount;
            }
        }
    }
    set(chosen, kTrueText);
    m_recording = recording;
}

void DisplayModel::selectOption(std::string_view chosen, std::string_view other) {
    set(ShownKey(chosen, kValueProperty), kTrueText);
    set(ShownKey(other, kValueProperty), kFalseText);
}

} // namespace orlix
