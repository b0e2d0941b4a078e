#include "gui/QtMessages.h"

#include <QMessageBox>

namespace lumipage {

namespace {

constexpr const char* kTitle = "Quor Lumipage";

QMessageBox::StandardButton ask(QWidget* parent, const std::string& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::Icon icon) {
    QMessageBox box(icon, kTitle, QString::fromStdString(text), buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

}  // namespace

void QtMessages::message(const std::string& text) {
    ask(parent_, text, QMessageBox::Ok, QMessageBox::Information);
}

bool QtMessages::askOkCancel(const std::string& text) {
    return ask(parent_, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question) == QMessageBox::Ok;
}

bool QtMessages::askYesNo(const std::string& text) {
    return ask(parent_, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) == QMessageBox::Yes;
}

bool QtMessages::askRetryCancel(const std::string& text) {
    return ask(parent_, text, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Warning) == QMessageBox::Retry;
}

}  // namespace lumipage
