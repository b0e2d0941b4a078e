#include "app/SettingsStore.h"

#include <charconv>

namespace lumipage {

int SettingsStore::getInt(const std::string& section, const std::string& key, int fallback) const {
    const auto text = ini_.get(section, key);
    if (!text) return fallback;
    // Accepts what the framework's profile reader accepted: an optional sign
    // and leading digits; anything else reads as 0.
    const char* first = text->data();
    const char* last = first + text->size();
    int value = 0;
    const auto [end, error] = std::from_chars(first + (first != last && *first == '+'), last, value);
    (void)end;
    return error == std::errc() ? value : 0;
}

std::string SettingsStore::getString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const {
    return ini_.get(section, key).value_or(fallback);
}

void SettingsStore::writeInt(const std::string& section, const std::string& key, int value) {
    ini_.set(section, key, std::to_string(value));
}

void SettingsStore::writeString(const std::string& section, const std::string& key, const std::string& value) {
    ini_.set(section, key, value);
}

}  // namespace lumipage
