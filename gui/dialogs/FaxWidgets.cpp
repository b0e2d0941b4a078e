#include "gui/dialogs/FaxWidgets.h"

#include <memory>

#include <QSignalBlocker>

#include <QCheckBox>

#include <algorithm>

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>

namespace lumipage::faxwidgets {

namespace {

class FocusClears : public QObject {
public:
    FocusClears(QListWidget* list, QObject* parent) : QObject(parent), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) list_->clearSelection();
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget* list_;
};

}  // namespace

QLineEdit* numberEdit(const char* id, int maxLength, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(id);
    edit->setMaxLength(maxLength);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

void clearSelectionOnFocus(QLineEdit* edit, QListWidget* list) {
    edit->installEventFilter(new FocusClears(list, edit));
}

void pickNumbersFrom(QListWidget* list, QLineEdit* number, QCheckBox* sort,
                     std::function<std::vector<PickLine>(bool)> pickList) {
    auto lines = std::make_shared<std::vector<PickLine>>();
    auto fill = [list, sort, lines, pickList = std::move(pickList)] {
        *lines = pickList ? pickList(sort->isChecked()) : std::vector<PickLine>{};
        const QSignalBlocker quiet(list);
        list->clear();
        for (const PickLine& line : *lines) list->addItem(line.text);
    };
    clearSelectionOnFocus(number, list);
    QObject::connect(list, &QListWidget::currentRowChanged, number, [number, lines](int r) {
        if (r >= 0 && r < int(lines->size())) number->setText((*lines)[size_t(r)].number);
    });
    QObject::connect(sort, &QCheckBox::toggled, list, fill);
    fill();
}

void finishCallDialog(QDialog* dialog, QGridLayout* grid, int row, QLineEdit* number, QCheckBox* modemVolume,
                      QWidget* volume) {
    auto* ok = new QPushButton("OK", dialog);
    ok->setObjectName("1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("ｷｬﾝｾﾙ", dialog);
    cancel->setObjectName("2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, 2);
    auto update = [ok, number, modemVolume, volume] {
        ok->setEnabled(!number->text().isEmpty());
        volume->setEnabled(!modemVolume->isChecked());
    };
    QObject::connect(number, &QLineEdit::textChanged, dialog, update);
    QObject::connect(modemVolume, &QCheckBox::toggled, dialog, update);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    update();
}

QComboBox* choice(const char* id, const QStringList& items, int current, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(id);
    box->addItems(items);
    box->setCurrentIndex(std::clamp(current, 0, int(items.size()) - 1));
    return box;
}

}  // namespace lumipage::faxwidgets
