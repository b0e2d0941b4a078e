#include "platform/IniFile.h"

#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"

namespace lumipage {

namespace {

std::string trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

}  // namespace

IniFile::Section* IniFile::find(const std::string& name) {
    for (auto& s : sections_)
        if (s.name == name) return &s;
    return nullptr;
}

const IniFile::Section* IniFile::find(const std::string& name) const {
    for (const auto& s : sections_)
        if (s.name == name) return &s;
    return nullptr;
}

bool IniFile::load(const std::string& path) {
    sections_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    parse(ss.str());
    return true;
}

void IniFile::parse(const std::string& text) {
    sections_.clear();
    std::istringstream lines(text);
    std::string line, section;
    while (std::getline(lines, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = trim(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos || section.empty()) continue;
        set(section, trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
    }
}

std::string IniFile::text() const {
    std::string out;
    for (const auto& s : sections_) {
        if (s.entries.empty()) continue;
        if (!out.empty()) out += '\n';
        out += '[' + s.name + "]\n";
        for (const auto& [k, v] : s.entries) out += k + '=' + v + '\n';
    }
    return out;
}

bool IniFile::save(const std::string& path) const {
    const std::string t = text();
    return writeFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(t.data()), t.size()));
}

std::optional<std::string> IniFile::get(const std::string& section, const std::string& key) const {
    if (const Section* s = find(section))
        for (const auto& [k, v] : s->entries)
            if (k == key) return v;
    return std::nullopt;
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& value) {
    Section* s = find(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    for (auto& [k, v] : s->entries)
        if (k == key) {
            v = value;
            return;
        }
    s->entries.emplace_back(key, value);
}

void IniFile::remove(const std::string& section, const std::string& key) {
    if (Section* s = find(section))
        std::erase_if(s->entries, [&key](const auto& e) { return e.first == key; });
}

}  // namespace lumipage
