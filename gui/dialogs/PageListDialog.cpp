#include "gui/dialogs/PageListDialog.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "view/PageNavigator.h"

namespace lumipage {

namespace {

constexpr int kPageRole = Qt::UserRole;

// The two 16-pixel marks of the list: a plain sheet, and a sheet with a tick.
QIcon selectionIcon(bool selected) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 13);
    if (selected) {
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawPolyline(QPolygon({QPoint(5, 8), QPoint(8, 11), QPoint(13, 3)}));
    }
    return QIcon(pixmap);
}

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

PageListDialog::PageListDialog(PageNavigator& navigator, Mode mode, QWidget* parent)
    : QDialog(parent), navigator_(navigator) {
    setObjectName("150");
    setWindowTitle(mode == Mode::AllPages ? "全頁一覧" : "選択頁一覧");
    list_ = new QTreeWidget(this);
    list_->setObjectName("1161");
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setColumnCount(4);
    list_->setHeaderLabels({"　　頁　　　ファイル名", "印刷", "送信", "フォルダ"});
    for (const auto& [column, width] : {std::pair{0, 264}, {1, 40}, {2, 40}, {3, 220}})
        list_->header()->resizeSection(column, width);
    list_->setIconSize(QSize(16, 16));
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("1");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(600, 420);
    fill(mode);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) chosen_ = item->data(0, kPageRole).toInt();
    });
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { choose(item); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
}

void PageListDialog::fill(Mode mode) {
    const auto listMode = mode == Mode::AllPages ? PageNavigator::ListMode::All : PageNavigator::ListMode::Selected;
    QTreeWidgetItem* current = nullptr;
    for (const PageListRow& row : navigator_.pageListRows(listMode)) {
        auto* item = new QTreeWidgetItem(list_, {fromUtf8(row.pageAndName), fromUtf8(row.printed),
                                                 fromUtf8(row.sent), fromUtf8(row.folder)});
        item->setData(0, kPageRole, row.page);
        item->setIcon(0, selectionIcon(row.selected));
        if (row.page == navigator_.currentPage()) current = item;
    }
    if (current) {
        list_->setCurrentItem(current);
        list_->scrollToItem(current);
        chosen_ = current->data(0, kPageRole).toInt();
    }
}

void PageListDialog::choose(QTreeWidgetItem* item) {
    if (!item) return;
    chosen_ = item->data(0, kPageRole).toInt();
    navigator_.chooseFromList(chosen_);
}

// Space marks the chosen page and moves on to the next row's page; the row
// stays listed even when its mark is cleared.
void PageListDialog::toggleChosen() {
    QTreeWidgetItem* item = list_->currentItem();
    if (!item) return;
    const int page = item->data(0, kPageRole).toInt();
    navigator_.toggleSelection(page);
    item->setIcon(0, selectionIcon(navigator_.pageListRow(page).selected));
    const int index = list_->indexOfTopLevelItem(item);
    if (index + 1 >= list_->topLevelItemCount()) return;
    QTreeWidgetItem* next = list_->topLevelItem(index + 1);
    list_->setCurrentItem(next);
    list_->scrollToItem(next);
    choose(next);
}

bool PageListDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        toggleChosen();
        return true;
    }
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PageListDialog::accept() {
    if (chosen_ != 0 && chosen_ != navigator_.currentPage()) navigator_.chooseFromList(chosen_);
    QDialog::accept();
}

}  // namespace lumipage
