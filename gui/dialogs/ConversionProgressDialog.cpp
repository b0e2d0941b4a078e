#include "gui/dialogs/ConversionProgressDialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumipage {

ConversionProgressDialog::ConversionProgressDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("conversionProgress");
    setWindowTitle("ファイル変換");
    setModal(true);
    pages_ = new QLabel(this);
    pages_->setObjectName("pages");
    page_ = new QLabel(this);
    page_->setObjectName("page");
    target_ = new QLabel(this);
    target_->setObjectName("target");
    state_ = new QLabel(this);
    state_->setObjectName("state");
    auto* stop = new QPushButton("ｷｬﾝｾﾙ", this);
    stop->setObjectName("2");
    connect(stop, &QPushButton::clicked, this, [this] { cancel(); });
    auto* form = new QFormLayout;
    form->addRow("頁数:", pages_);
    form->addRow("頁:", page_);
    form->addRow("出力ファイル:", target_);
    form->addRow("状態:", state_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(stop, 0, Qt::AlignRight);
    setMinimumWidth(360);
}

void ConversionProgressDialog::begin(int pages, const std::string& target) {
    cancelled_ = false;
    pages_->setText(QString::number(pages));
    target_->setText(QString::fromStdString(target));
    show();
    QApplication::processEvents();
}

void ConversionProgressDialog::step(int ordinal, int page, ConversionStep step, const std::string& target) {
    page_->setText(QString("%1 (%2)").arg(ordinal).arg(page));
    target_->setText(QString::fromStdString(target));
    state_->setText(QString::fromUtf8(stepText(step)));
    QApplication::processEvents();
}

bool ConversionProgressDialog::cancelled() {
    QApplication::processEvents();
    return cancelled_;
}

void ConversionProgressDialog::end(int) { hide(); }

QString ConversionProgressDialog::pagesText() const { return pages_->text(); }
QString ConversionProgressDialog::pageText() const { return page_->text(); }
QString ConversionProgressDialog::targetText() const { return target_->text(); }
QString ConversionProgressDialog::stateText() const { return state_->text(); }

}  // namespace lumipage
