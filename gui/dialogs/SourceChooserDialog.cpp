#include "gui/dialogs/SourceChooserDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumipage {

SourceChooserDialog::SourceChooserDialog(const std::vector<std::string>& sources, size_t current, QWidget* parent)
    : QDialog(parent) {
    setObjectName("SourceChooserDialog");
    setWindowTitle("スキャナ選択");
    list_ = new QListWidget;
    list_->setObjectName("sources");
    for (const std::string& s : sources) list_->addItem(QString::fromStdString(s));
    if (current < sources.size()) list_->setCurrentRow(int(current));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    buttons->button(QDialogButtonBox::Ok)->setEnabled(list_->currentRow() >= 0);
    connect(list_, &QListWidget::currentRowChanged, this,
            [buttons](int row) { buttons->button(QDialogButtonBox::Ok)->setEnabled(row >= 0); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

std::optional<size_t> SourceChooserDialog::chosen() const {
    const int row = list_->currentRow();
    if (row < 0) return std::nullopt;
    return size_t(row);
}

std::optional<size_t> DialogSourceChooser::choose(const std::vector<std::string>& sources, size_t current) {
    SourceChooserDialog dialog(sources, current, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosen();
}

}  // namespace lumipage
