#include "core/protocol/display_model.h"

namespace orlix {

namespace {

constexpr std::string_view kValueProperty = "Value";

} // namespace

std::string ControlKey(std::string_view name, std::string_view property) {
    std::string key;
    key.reserve(name.size() + property.size() + 1);
    key.append(name).append(".").append(property);
    return key;
}

std::string ControlKey(std::string_view name, int index, std::string_view property) {
    std::string key;
    key.reserve(name.size() + property.size() + 8);
    key.append(name).append("(").append(std::to_string(index)).append(").").append(property);
    return key;
}

bool DisplayModel::contains(std::string_view key) const {
    return m_entries.find(key) != m_entries.end();
}

std::string_view DisplayModel::text(std::string_view key) const {
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? std::string_view{} : std::string_view(it->second);
}

void DisplayModel::set(std::string_view key, std::string_view text) {
    const auto it = m_entries.find(key);
    if (it == m_entries.end()) {
        m_entries.emplace(std::string(key), std::string(text));
        ++m_changeCount;
        return;
    }
    if (it->second != text) {
        it->second.assign(text);
        ++m_changeCount;
    }
}

void DisplayModel::clear() {
    if (!m_entries.empty()) {
        m_entries.clear();
        ++m_changeCount;
    }
}

void DisplayModel::selectOption(std::string_view name, int index) {
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
}

void DisplayModel::selectOption(std::string_view chosen, std::string_view other) {
    set(ControlKey(chosen, kValueProperty), kTrueText);
    set(ControlKey(other, kValueProperty), kFalseText);
}

} // namespace orlix
