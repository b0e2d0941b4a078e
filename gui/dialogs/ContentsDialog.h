#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "comments/BookContents.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace lumipage {

// The table of contents (161, "目次"): the contents entries of the open
// files' comments with their global pages. Choosing a row goes to its page;
// a double or right click goes there and closes the dialog.
class ContentsDialog : public QDialog {
public:
    using GoToPage = std::function<void(int page)>;

    ContentsDialog(std::vector<ContentsEntry> entries, GoToPage goToPage, QWidget* parent = nullptr);
    QTreeWidget* list() const { return list_; }

private:
    void choose(QTreeWidgetItem* item, bool close);

    QTreeWidget* list_;
    GoToPage goToPage_;
};

}  // namespace lumipage
