#pragma once
#include <QDialog>
#include <functional>

#include "comments/BookContents.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace lumipage {

// The keyword index (162, "索引"): a row a keyword, its pages in page
// columns "頁1", "頁2", ... (five at first, more up to 99 as rows need
// them). Choosing a row goes to its first page; a column header goes to the
// chosen row's page in that column; a double or right click goes to the
// first page and closes. Typing in the search field (1242) chooses the first
// keyword that begins with the text.
class KeywordIndexDialog : public QDialog {
public:
    using GoToPage = std::function<void(int page)>;
    static constexpr int kFirstPageColumns = 5;

    KeywordIndexDialog(KeywordIndex index, GoToPage goToPage, QWidget* parent = nullptr);
    QTreeWidget* list() const { return list_; }
    QLineEdit* search() const { return search_; }

private:
    void fill();
    void goTo(QTreeWidgetItem* item, int pageColumn);
    void headerClicked(int column);
    void searchChanged(const QString& text);

    KeywordIndex index_;
    GoToPage goToPage_;
    QTreeWidget* list_;
    QLineEdit* search_;
};

}  // namespace lumipage
