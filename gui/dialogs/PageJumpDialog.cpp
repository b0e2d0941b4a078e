#include "gui/dialogs/PageJumpDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/dialogs/OkCancelButtons.h"

namespace lumipage {

namespace {

// An up-down control whose arrows run the other way: up lowers the number.
class ReversedSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override { QSpinBox::stepBy(-steps); }

protected:
    StepEnabled stepEnabled() const override {
        StepEnabled e;
        if (value() > minimum()) e |= StepUpEnabled;
        if (value() < maximum()) e |= StepDownEnabled;
        return e;
    }
};

}  // namespace

PageJumpDialog::PageJumpDialog(int maximum, int current, QWidget* parent)
    : QDialog(parent), maximum_(maximum > 0 ? maximum : kDefaultMaximum), value_(current) {
    setObjectName("131");
    setWindowTitle("ページジャンプ");
    edit_ = new QLineEdit(QString::number(current), this);
    edit_->setObjectName("1000");
    edit_->setAttribute(Qt::WA_InputMethodEnabled, false);  // digits only: no input method
    edit_->selectAll();
    spin_ = new ReversedSpinBox(this);
    spin_->setObjectName("1001");
    spin_->setRange(1, maximum_);
    spin_->setValue(std::clamp(current, 1, maximum_));
    spin_->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    spin_->setFixedWidth(spin_->sizeHint().height());
    connect(spin_, &QSpinBox::valueChanged, this, [this](int v) { edit_->setText(QString::number(v)); });

    auto* row = new QHBoxLayout;
    row->addWidget(edit_);
    row->addWidget(spin_);
    row->addWidget(new QLabel("頁", this));
    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    warn_ = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
}

QString PageJumpDialog::rangeMessage() const {
    return QString("1 から %1 までの整数を入力してください。").arg(maximum_);
}

// A value that is not a whole number from 1 to the page count is refused
// and the dialog stays open with the field selected.
void PageJumpDialog::accept() {
    bool ok = false;
    const int v = edit_->text().trimmed().toInt(&ok);
    if (!ok || v < 1 || v > maximum_) {
        warn_(rangeMessage());
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    value_ = v;
    QDialog::accept();
}

}  // namespace lumipage
