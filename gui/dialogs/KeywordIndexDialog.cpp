#include "gui/dialogs/KeywordIndexDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/dialogs/ListClicks.h"

namespace lumipage {

KeywordIndexDialog::KeywordIndexDialog(KeywordIndex index, GoToPage goToPage, QWidget* parent)
    : QDialog(parent),
      index_(std::move(index)),
      goToPage_(std::move(goToPage)),
      list_(new QTreeWidget(this)),
      search_(new QLineEdit(this)) {
    setObjectName("162");
    setWindowTitle("索引");
    list_->setObjectName("list");
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionsClickable(true);
    search_->setObjectName("1242");
    fill();

    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("2");
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel("検索", this));
    bottom->addWidget(search_, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(bottom);
    resize(560, 420);

    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { goTo(item, 1); });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        goTo(item, 1);
        accept();
    });
    onRightClick(list_, [this](QTreeWidgetItem* item) {
        goTo(item, 1);
        accept();
    });
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) { headerClicked(column); });
    connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) { searchChanged(text); });
}

void KeywordIndexDialog::fill() {
    size_t columns = kFirstPageColumns;
    for (const auto& row : index_.rows()) columns = std::max(columns, row.pages.size());
    columns = std::min(columns, KeywordIndex::kMaxPagesPerRow);
    QStringList headers{"キーワード"};
    for (size_t c = 1; c <= columns; ++c) headers << QString("頁%1").arg(c);
    list_->setHeaderLabels(headers);
    list_->setColumnWidth(0, 300);
    for (int c = 1; c <= int(columns); ++c) list_->setColumnWidth(c, 36);
    for (const auto& row : index_.rows()) {
        QStringList cells{QString::fromStdString(row.keyword)};
        for (int page : row.pages) cells << QString::number(page);
        auto* item = new QTreeWidgetItem(list_, cells);
        for (size_t c = 0; c < row.pages.size(); ++c) {
            item->setData(int(c) + 1, Qt::UserRole, row.pages[c]);
            item->setTextAlignment(int(c) + 1, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}

void KeywordIndexDialog::goTo(QTreeWidgetItem* item, int pageColumn) {
    if (!item || !goToPage_) return;
    const QVariant page = item->data(pageColumn, Qt::UserRole);
    if (page.isValid()) goToPage_(page.toInt());
}

// The keyword column counts as page column 1.
void KeywordIndexDialog::headerClicked(int column) {
    goTo(list_->currentItem(), std::max(column, 1));
}

void KeywordIndexDialog::searchChanged(const QString& text) {
    list_->clearSelection();
    const int row = index_.findPrefix(text.toStdString());
    if (row < 0) return;
    QTreeWidgetItem* item = list_->topLevelItem(row);
    list_->setCurrentItem(item);
    list_->scrollToItem(item);
    goTo(item, 1);
}

}  // namespace lumipage
