#pragma once
#include <optional>
#include <string>

#include "platform/IniFile.h"

namespace lumipage {

// Where the program keeps its settings between runs: sections of keys with
// integer or text values. On Linux both forms of the store are INI files;
// they differ only in where the file lives. Integers are written in decimal.
class SettingsStore {
public:
    explicit SettingsStore(std::string path) : path_(std::move(path)) {}

    // Reads the file; a store that cannot be read leaves every default in force.
    void load() { ini_.load(path_); }
    bool save() const { return ini_.save(path_); }

    int getInt(const std::string& section, const std::string& key, int fallback) const;
    std::string getString(const std::string& section, const std::string& key, const std::string& fallback) const;
    std::optional<std::string> find(const std::string& section, const std::string& key) const {
        return ini_.get(section, key);
    }
    void writeInt(const std::string& section, const std::string& key, int value);
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void remove(const std::string& section, const std::string& key) { ini_.remove(section, key); }

    const std::string& path() const { return path_; }

private:
    std::string path_;
    IniFile ini_;
};

}  // namespace lumipage
