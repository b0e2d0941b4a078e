#include "app/RecentFileList.h"

#include <algorithm>

#include "base/SettingsStore.h"

namespace lumipage {

namespace {

std::string key(size_t i) { return "File" + std::to_string(i + 1); }

}  // namespace

void RecentFileList::add(const std::string& path) {
    if (path.empty()) return;
    remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kEntries) paths_.resize(kEntries);
}

void RecentFileList::remove(const std::string& path) { std::erase(paths_, path); }

void RecentFileList::load(const SettingsStore& store) {
    paths_.clear();
    for (size_t i = 0; i < kEntries; ++i) {
        const std::string path = store.getString(kSection, key(i), {});
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) paths_.push_back(path);
    }
}

void RecentFileList::save(SettingsStore& store) const {
    for (size_t i = 0; i < kEntries; ++i) {
        if (i < paths_.size()) store.writeString(kSection, key(i), paths_[i]);
        else store.remove(kSection, key(i));
    }
}

}  // namespace lumipage
