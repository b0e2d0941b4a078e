#include "gui/dialogs/ContentsDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/dialogs/ListClicks.h"

namespace lumipage {

ContentsDialog::ContentsDialog(std::vector<ContentsEntry> entries, GoToPage goToPage, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)), goToPage_(std::move(goToPage)) {
    setObjectName("161");
    setWindowTitle("目次");
    list_->setObjectName("list");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"見出し", "頁"});
    list_->setColumnWidth(0, 415);
    list_->setColumnWidth(1, 36);
    list_->header()->setStretchLastSection(false);
    for (const ContentsEntry& e : entries) {
        auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(e.text), QString::number(e.page)});
        item->setData(0, Qt::UserRole, e.page);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("2");
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(500, 420);

    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { choose(item, false); });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { choose(item, true); });
    onRightClick(list_, [this](QTreeWidgetItem* item) { choose(item, true); });
}

void ContentsDialog::choose(QTreeWidgetItem* item, bool close) {
    if (!item) return;
    if (goToPage_) goToPage_(item->data(0, Qt::UserRole).toInt());
    if (close) accept();
}

}  // namespace lumipage
