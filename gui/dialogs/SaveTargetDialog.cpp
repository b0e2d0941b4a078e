#include "gui/dialogs/SaveTargetDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/OkCancelButtons.h"

namespace lumipage {

QStringList qtFilters(const std::string& pairs) {
    const QStringList parts = QString::fromStdString(pairs).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;  // "||" ends the list
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (t == "*.*") {
                patterns << "*";
                continue;
            }
            patterns << t.toUpper();
            if (t.toLower() != t.toUpper()) patterns << t.toLower();
        }
        patterns.removeDuplicates();
        filters << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

SaveTargetDialog::SaveTargetDialog(const Shape& shape, const SaveChoice& initial, QWidget* parent)
    : QDialog(parent), shape_(shape) {
    setObjectName("saveTarget");
    setWindowTitle(shape.title);
    path_ = new QLineEdit(QString::fromStdString(initial.path), this);
    path_->setObjectName("path");
    path_->setMinimumWidth(360);
    auto* browseButton = new QPushButton("参照...", this);
    browseButton->setObjectName("browse");
    oneFile_ = new QCheckBox("全頁を1ファイルにする", this);
    oneFile_->setObjectName("oneFile");
    oneFile_->setChecked(initial.oneFile);
    oneFile_->setVisible(shape.offerOneFile);
    overwrite_ = new QCheckBox("上書きを許可する", this);
    overwrite_->setObjectName("overwrite");
    overwrite_->setChecked(initial.overwrite);
    readOnly_ = new QCheckBox("読込み専用ファイルも上書きする", this);
    readOnly_->setObjectName("overwriteReadOnly");
    readOnly_->setChecked(initial.overwriteReadOnly);
    comments_ = new QCheckBox("コメントを複写する", this);
    comments_->setObjectName("copyComments");
    comments_->setChecked(initial.copyComments);
    comments_->setVisible(shape.offerCopyComments);

    QDialogButtonBox* buttons = okCancelButtons(this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
    connect(path_, &QLineEdit::textChanged, this, [this] { updateEnabling(); });
    connect(overwrite_, &QCheckBox::toggled, this, [this] { updateEnabling(); });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("ファイル名:", this));
    row->addWidget(path_, 1);
    row->addWidget(browseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    for (QCheckBox* box : {oneFile_, overwrite_, readOnly_, comments_}) layout->addWidget(box);
    layout->addWidget(buttons);
    updateEnabling();
}

void SaveTargetDialog::updateEnabling() {
    ok_->setEnabled(!path_->text().trimmed().isEmpty());
    readOnly_->setEnabled(overwrite_->isChecked());
}

void SaveTargetDialog::browse() {
    QFileDialog dialog(this, shape_.title, path_->text());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the overwrite options decide
    dialog.setNameFilters(shape_.filters);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        path_->setText(dialog.selectedFiles().first());
}

SaveChoice SaveTargetDialog::choice() const {
    SaveChoice c;
    c.path = path_->text().trimmed().toStdString();
    c.oneFile = shape_.offerOneFile && oneFile_->isChecked();
    c.overwrite = overwrite_->isChecked();
    c.overwriteReadOnly = c.overwrite && readOnly_->isChecked();
    c.copyComments = comments_->isChecked();
    return c;
}

}  // namespace lumipage
