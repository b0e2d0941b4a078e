#include "gui/QtMessages.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

namespace lumipage {

namespace {

constexpr const char* kTitle = "Quor Lumipage";

// Without a display (a batch command run from a shell) nobody could answer a
// message box: the text goes to standard error, and a question gets the
// answer that changes nothing (Cancel, No).
bool headless() { return QGuiApplication::platformName() == "offscreen"; }

QMessageBox::StandardButton ask(QWidget* parent, const std::string& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::Icon icon) {
    if (headless()) {
        std::fprintf(stderr, "lumipage: %s\n", text.c_str());
        if (buttons == QMessageBox::Ok) return QMessageBox::Ok;
        return buttons & QMessageBox::No ? QMessageBox::No : QMessageBox::Cancel;
    }
    QMessageBox box(icon, kTitle, QString::fromStdString(text), buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

}  // namespace

void QtMessages::message(const std::string& text) {
    ask(parent_, text, QMessageBox::Ok, QMessageBox::Information);
}

void QtMessages::warning(const std::string& caption, const std::string& text) {
    if (headless()) {
        std::fprintf(stderr, "lumipage: %s: %s\n", caption.c_str(), text.c_str());
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
    box.setObjectName("warning");
    box.exec();
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
