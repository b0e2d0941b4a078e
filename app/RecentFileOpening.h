#pragma once
#include <cstddef>
#include <string>

namespace lumipage {

class CLP98Doc;
class Messages;
class RecentFileList;

// The recent files as the file menu offers them: "&1 path" .. "&4 path".
std::string recentMenuText(size_t index, const std::string& path);

// Opens the recent file at `index` (0 = newest) as any path is opened; a
// file that no longer exists is reported and leaves the list. False when
// nothing was opened.
bool openRecentFile(RecentFileList& list, size_t index, CLP98Doc& document, Messages& messages);

}  // namespace lumipage
