#pragma once
#include <string>
#include <vector>

namespace lumipage {

class SettingsStore;

// The most recently used files, newest first, as the file menu lists them;
// kept in the settings store under "Recent File List" as "File1".."File4".
class RecentFileList {
public:
    static constexpr size_t kEntries = 4;
    static constexpr const char* kSection = "Recent File List";

    void add(const std::string& path);
    void remove(const std::string& path);
    const std::vector<std::string>& paths() const { return paths_; }

    void load(const SettingsStore& store);
    void save(SettingsStore& store) const;

private:
    std::vector<std::string> paths_;
};

}  // namespace lumipage
