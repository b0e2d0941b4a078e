#include "app/RecentFileOpening.h"

#include "base/Messages.h"
#include "app/RecentFileList.h"
#include "document/CLP98Doc.h"
#include "platform/FileSystem.h"

namespace lumipage {

std::string recentMenuText(size_t index, const std::string& path) {
    return "&" + std::to_string(index + 1) + " " + path;
}

bool openRecentFile(RecentFileList& list, size_t index, CLP98Doc& document, Messages& messages) {
    if (index >= list.paths().size()) return false;
    const std::string path = list.paths()[index];  // a copy: opening may reorder the list
    if (!files::exists(path)) {
        messages.message(path + "が見つかりません");
        list.remove(path);
        return false;
    }
    return document.openPath(path);
}

}  // namespace lumipage
