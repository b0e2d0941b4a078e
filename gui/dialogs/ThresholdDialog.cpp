#include "gui/dialogs/ThresholdDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace lumipage {

namespace {
constexpr int kStandard = 128;  // slider position of the standard threshold
}

ThresholdDialog::ThresholdDialog(ThresholdAdjustment& adjustment, QWidget* parent)
    : QDialog(parent), adjustment_(adjustment) {
    setObjectName("ThresholdDialog");
    setWindowTitle("スキャナ入力-閾値調整");
    slider_ = new QSlider(Qt::Vertical);
    slider_->setObjectName("threshold");
    slider_->setRange(1, 256);  // thresholds 255 .. 0
    slider_->setPageStep(kStep);
    slider_->setValue(256 - adjustment.threshold);
    fileName_ = new QLineEdit(QString::fromStdString(adjustment.fileName));
    fileName_->setObjectName("fileName");
    number_ = new QLineEdit(QString::fromStdString(adjustment.number));
    number_->setObjectName("number");
    dontShow_ = new QCheckBox("&X 次ページ以後この調整画面を表示しない");
    dontShow_->setObjectName("dontShowAgain");

    auto* buttons = new QVBoxLayout;
    const std::pair<const char*, int> moves[] = {{"明(F8)", kStep}, {"暗(F5)", -kStep}, {"標準(F4)", 0}};
    const char* names[] = {"lighter", "darker", "standard"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(moves[i].first);
        b->setObjectName(names[i]);
        b->setAutoDefault(false);
        const int delta = moves[i].second;
        connect(b, &QPushButton::clicked, this, [this, delta] { delta ? moveBy(delta) : moveTo(kStandard); });
        buttons->addWidget(b);
    }
    auto* ok = new QPushButton("OK");
    ok->setObjectName("ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* form = new QFormLayout;
    form->addRow("ファイル名", fileName_);
    form->addRow("番号", number_);
    form->addRow(dontShow_);
    auto* row = new QHBoxLayout;
    row->addWidget(slider_);
    row->addLayout(form);
    row->addLayout(buttons);
    setLayout(row);
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        if (adjustment_.preview) adjustment_.preview(256 - position);
    });
    connect(this, &QDialog::finished, this, [this] { store(); });
}

void ThresholdDialog::moveBy(int delta) { slider_->setValue(slider_->value() + delta); }
void ThresholdDialog::moveTo(int position) { slider_->setValue(position); }

void ThresholdDialog::store() {
    adjustment_.threshold = 256 - slider_->value();
    adjustment_.fileName = fileName_->text().toStdString();
    adjustment_.number = number_->text().toStdString();
    adjustment_.dontShowAgain = dontShow_->isChecked();
}

void ThresholdDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_F8: moveBy(kStep); return;
        case Qt::Key_F5: moveBy(-kStep); return;
        case Qt::Key_F4: moveTo(kStandard); return;
        default: QDialog::keyPressEvent(event);
    }
}

}  // namespace lumipage
