// The recent files in the file menu: one item each, newest first, above
// the items that end the program; choosing one opens it.
#include <QAction>
#include <QMenu>

#include "base/CommandIds.h"
#include "app/RecentFileList.h"
#include "app/RecentFileOpening.h"
#include "gui/CMainFrame.h"
#include "gui/FramePrinting.h"

namespace lumipage {

namespace {

// The framework's numbers for the recent-file items.
constexpr int kFirstRecentId = 57616;

}  // namespace

void CMainFrame::setRecentFiles(RecentFileList* list) {
    recent_ = list;
    updateRecentMenu();
}

QPrinter& CMainFrame::printer() { return printing().printer(); }

void CMainFrame::updateRecentMenu() {
    if (!fileMenu_) return;
    const std::vector<std::string> paths = recent_ ? recent_->paths() : std::vector<std::string>();
    if (paths == recentShown_) return;
    recentShown_ = paths;
    for (QAction* a : recentActions_) {
        fileMenu_->removeAction(a);
        a->deleteLater();  // the chosen item may still be delivering its click
    }
    recentActions_.clear();
    if (paths.empty()) return;
    QAction* before = menuAction(command::kSaveStateAndExit);
    if (!before) before = menuAction(command::kExit);
    for (size_t i = 0; i < paths.size(); ++i) {
        auto* item = new QAction(QString::fromStdString(recentMenuText(i, paths[i])), fileMenu_);
        item->setObjectName(QString("ID_%1").arg(kFirstRecentId + int(i)));
        connect(item, &QAction::triggered, this, [this, i] { openRecent(i); });
        fileMenu_->insertAction(before, item);
        recentActions_.push_back(item);
    }
    auto* line = new QAction(fileMenu_);
    line->setSeparator(true);
    fileMenu_->insertAction(before, line);
    recentActions_.push_back(line);
}

void CMainFrame::openRecent(size_t index) {
    if (!recent_) return;
    openRecentFile(*recent_, index, document_, messages());
    refresh();
}

}  // namespace lumipage
