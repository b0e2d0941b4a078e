#include "base/SettingsStore.h"

#include <charconv>

namespace lumipage {

int SettingsStore::getInt(const std::string& section, const std::string& key, int fallback) const {
    const auto text = find(section, key);
    if (!text) return fallback;
    // An optional sign and leading digits; a value that is no number (or
    // does not fit) leaves the default in force.
    const char* first = text->data();
    const char* last = first + text->size();
    int value = 0;
    const auto [end, error] = std::from_chars(first + (first != last && *first == '+'), last, value);
    (void)end;
    return error == std::errc() ? value : fallback;
}

std::string SettingsStore::getString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const {
    return find(section, key).value_or(fallback);
}

void SettingsStore::writeInt(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

}  // namespace lumipage
