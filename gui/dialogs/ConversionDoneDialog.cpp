#include "gui/dialogs/ConversionDoneDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumipage {

ConversionDoneDialog::ConversionDoneDialog(int pagesWritten, int filesWritten, QWidget* parent) : QDialog(parent) {
    setObjectName("conversionDone");
    setWindowTitle("ファイル変換終了");
    auto* count = new QLabel(QString("%1 頁を %2 ファイルに変換しました").arg(pagesWritten).arg(filesWritten), this);
    count->setObjectName("count");
    delete_ = new QCheckBox("変換元のファイルを削除する", this);
    delete_->setObjectName("deleteSources");
    open_ = new QCheckBox("変換元を閉じ、変換したファイルを開く", this);
    open_->setObjectName("openWritten");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(count);
    layout->addWidget(delete_);
    layout->addWidget(open_);
    layout->addWidget(buttons);
}

bool ConversionDoneDialog::deleteSources() const { return result() == Accepted && delete_->isChecked(); }
bool ConversionDoneDialog::openWritten() const { return result() == Accepted && open_->isChecked(); }

}  // namespace lumipage
