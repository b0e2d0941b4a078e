#pragma once
#include <optional>
#include <string>

namespace lumipage {

// Where the program keeps its settings between runs: sections of keys with
// integer or text values, integers written in decimal. The store behind it
// (an INI file on Linux) is the platform's; the settings model only reads
// and writes keys.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::string> find(const std::string& section, const std::string& key) const = 0;
    virtual void writeString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void remove(const std::string& section, const std::string& key) = 0;

    int getInt(const std::string& section, const std::string& key, int fallback) const;
    std::string getString(const std::string& section, const std::string& key, const std::string& fallback) const;
    void writeInt(const std::string& section, const std::string& key, int value);
};

}  // namespace lumipage
