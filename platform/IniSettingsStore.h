#pragma once
#include <string>

#include "base/SettingsStore.h"
#include "platform/IniFile.h"

namespace lumipage {

// The settings store in an INI file. Both forms of the store (the default
// settings file and Lumipage.ini) are such files; they differ only in where
// the file lives.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}

    // Reads the file; a store that cannot be read leaves every default in force.
    void load() { ini_.load(path_); }
    bool save() const { return ini_.save(path_); }
    const std::string& path() const { return path_; }

    std::optional<std::string> find(const std::string& section, const std::string& key) const override {
        return ini_.get(section, key);
    }
    void writeString(const std::string& section, const std::string& key, const std::string& value) override {
        ini_.set(section, key, value);
    }
    void remove(const std::string& section, const std::string& key) override { ini_.remove(section, key); }

private:
    std::string path_;
    IniFile ini_;
};

}  // namespace lumipage
