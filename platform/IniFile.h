#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumipage {

// A settings file in INI form: "[Section]" lines and "Key=Value" lines, UTF-8.
// Sections and keys keep the order in which they were first seen, so a file
// rewritten by the program stays readable to the person who wrote it.
class IniFile {
public:
    // Reads the file; a missing or unreadable file leaves the store empty.
    bool load(const std::string& path);
    // Replaces the file only once the whole new text has been written.
    bool save(const std::string& path) const;

    void parse(const std::string& text);
    std::string text() const;

    std::optional<std::string> get(const std::string& section, const std::string& key) const;
    void set(const std::string& section, const std::string& key, const std::string& value);
    void remove(const std::string& section, const std::string& key);

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    Section* find(const std::string& name);
    const Section* find(const std::string& name) const;

    std::vector<Section> sections_;
};

}  // namespace lumipage
