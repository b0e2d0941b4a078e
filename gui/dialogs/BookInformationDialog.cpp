#include "gui/dialogs/BookInformationDialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumipage {

BookInformationDialog::BookInformationDialog(const std::string& text, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)) {
    setObjectName("165");
    setWindowTitle("ブック情報");
    text_->setObjectName("text");
    text_->setReadOnly(true);
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    text_->setPlainText(shown);
    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("1");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(480, 360);
}

}  // namespace lumipage
