#include "gui/dialogs/PhoneBookDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "fax/PhoneBook.h"
#include "fax/PhoneBookEditor.h"
#include "gui/dialogs/FaxWidgets.h"

namespace lumipage {

namespace {

QString qtext(const std::string& text) { return QString::fromStdString(text); }

struct Button {
    int id;
    const char* caption;
};

constexpr Button kButtons[] = {{1064, "登録"}, {1062, "クリア"}, {1071, "追加"}, {1067, "挿入"},
                               {1061, "削除"}, {1068, "記憶"},   {1069, "複写"}};

}  // namespace

PhoneBookDialog::PhoneBookDialog(PhoneBook& book, PhoneBookEditor& editor, QWidget* parent)
    : QDialog(parent), book_(book), editor_(editor) {
    setObjectName("140");
    setWindowTitle("電話帳編集");
    list_ = new QTreeWidget(this);
    list_->setObjectName("1066");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"会社名・氏名", "ＦＡＸ", "ＴＥＬ"});
    list_->setColumnWidth(0, 280);
    list_->setColumnWidth(1, 156);
    list_->setColumnWidth(2, 156);
    list_->setMinimumWidth(280 + 156 + 156 + 24);
    name_ = new QLineEdit(this);
    name_->setObjectName("1059");
    name_->setMaxLength(50);
    fax_ = faxwidgets::numberEdit("1065", 20, this);
    telephone_ = faxwidgets::numberEdit("1072", 20, this);
    position_ = new QLabel(this);
    position_->setObjectName("1166");

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("会社名・氏名", this), 0, 0);
    fields->addWidget(name_, 0, 1);
    fields->addWidget(position_, 0, 2);
    fields->addWidget(new QLabel("ＦＡＸ", this), 1, 0);
    fields->addWidget(fax_, 1, 1);
    fields->addWidget(new QLabel("ＴＥＬ", this), 2, 0);
    fields->addWidget(telephone_, 2, 1);
    auto* buttons = new QHBoxLayout;
    for (const Button& b : kButtons) {
        auto* button = new QPushButton(b.caption, this);
        button->setObjectName(QString::number(b.id));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id = b.id] { press(id); });
        buttons->addWidget(button);
    }
    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("2");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        editor_.select(list_->indexOfTopLevelItem(item));
        showSelection();
    });
    fillRows();
    showSelection();
}

void PhoneBookDialog::fillRows() {
    list_->clear();
    const auto& entries = book_.entries();
    for (int row = 0; row < editor_.rows(); ++row) {
        auto* item = new QTreeWidgetItem(list_);
        if (editor_.isNewRow(row)) continue;
        const PhoneEntry& e = entries[size_t(row)];
        item->setText(0, qtext(e.displayName()));
        item->setText(1, qtext(e.displayFax()));
        item->setText(2, qtext(e.displayTelephone()));
    }
}

// The selected row, the fields and the position as the editor holds them.
void PhoneBookDialog::showSelection() {
    const int row = editor_.selected();
    QTreeWidgetItem* item = row >= 0 ? list_->topLevelItem(row) : nullptr;
    list_->setCurrentItem(item);
    if (item) list_->scrollToItem(item);
    name_->setText(qtext(editor_.name));
    fax_->setText(qtext(editor_.fax));
    telephone_->setText(qtext(editor_.telephone));
    position_->setText(qtext(editor_.position()));
}

void PhoneBookDialog::takeFields() {
    editor_.name = name_->text().toStdString();
    editor_.fax = fax_->text().toStdString();
    editor_.telephone = telephone_->text().toStdString();
}

void PhoneBookDialog::press(int id) {
    takeFields();
    QLineEdit* focus = nullptr;
    switch (id) {
        case 1064: editor_.registerFields(); focus = name_; break;
        case 1062: editor_.clearFields(); focus = fax_; break;
        case 1071: editor_.addNew(); focus = fax_; break;
        case 1067: editor_.insertEmpty(); break;
        case 1061: editor_.removeSelected(); break;
        case 1068: editor_.remember(); break;
        case 1069: editor_.copyRemembered(); break;
        default: return;
    }
    fillRows();
    showSelection();
    if (focus) focus->setFocus();
}

}  // namespace lumipage
