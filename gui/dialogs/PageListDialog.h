#pragma once
#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace lumipage {

class PageNavigator;

// The page list dialog (150): every page, or the selected ones, with its
// file, print and send state. A click goes to the page, Space marks it and
// moves on, a double or right click closes the dialog on the chosen page.
class PageListDialog : public QDialog {
public:
    enum class Mode { AllPages = 0, SelectedPages = 1 };

    PageListDialog(PageNavigator& navigator, Mode mode, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    int chosenPage() const { return chosen_; }
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(Mode mode);
    void choose(QTreeWidgetItem* item);
    void toggleChosen();

    PageNavigator& navigator_;
    QTreeWidget* list_;
    int chosen_ = 0;
};

}  // namespace lumipage
