#include "gui/QtMessages.h"

#include <QAbstractButton>
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

QMessageBox::StandardButtons buttonsOf(QtMessages::Kind kind) {
    switch (kind) {
        case QtMessages::Kind::Message: return QMessageBox::Ok;
        case QtMessages::Kind::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case QtMessages::Kind::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case QtMessages::Kind::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(QtMessages::Kind kind) {
    switch (kind) {
        case QtMessages::Kind::Message: return QMessageBox::Information;
        case QtMessages::Kind::RetryCancel: return QMessageBox::Warning;
        default: return QMessageBox::Question;
    }
}

// The texts a Japanese desktop gives these buttons.
void nameButtons(QMessageBox& box) {
    static constexpr struct {
        QMessageBox::StandardButton button;
        const char* text;
    } kTexts[] = {
        {QMessageBox::Ok, "OK"},
        {QMessageBox::Cancel, "キャンセル"},
        {QMessageBox::Yes, "はい(&Y)"},
        {QMessageBox::No, "いいえ(&N)"},
        {QMessageBox::Retry, "再試行(&R)"},
    };
    for (const auto& t : kTexts)
        if (QAbstractButton* b = box.button(t.button)) b->setText(QString::fromUtf8(t.text));
}

QMessageBox::StandardButton ask(QWidget* parent, QtMessages::Kind kind, const std::string& caption,
                                const std::string& text) {
    if (headless()) {
        std::fprintf(stderr, "lumipage: %s\n", text.c_str());
        if (kind == QtMessages::Kind::Message) return QMessageBox::Ok;
        return kind == QtMessages::Kind::YesNo ? QMessageBox::No : QMessageBox::Cancel;
    }
    return QMessageBox::StandardButton(QtMessages::makeBox(kind, caption, text, parent)->exec());
}

}  // namespace

std::unique_ptr<QMessageBox> QtMessages::makeBox(Kind kind, const std::string& caption, const std::string& text,
                                                 QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(iconOf(kind), QString::fromStdString(caption),
                                             QString::fromStdString(text), buttonsOf(kind), parent);
    nameButtons(*box);
    return box;
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

void QtMessages::message(const std::string& text) { ask(parent_, Kind::Message, kTitle, text); }

bool QtMessages::askOkCancel(const std::string& text) {
    return ask(parent_, Kind::OkCancel, kTitle, text) == QMessageBox::Ok;
}

bool QtMessages::askOkCancelCaptioned(const std::string& caption, const std::string& text) {
    return ask(parent_, Kind::OkCancel, caption, text) == QMessageBox::Ok;
}

bool QtMessages::askYesNo(const std::string& text) { return ask(parent_, Kind::YesNo, kTitle, text) == QMessageBox::Yes; }

bool QtMessages::askRetryCancel(const std::string& text) {
    return ask(parent_, Kind::RetryCancel, kTitle, text) == QMessageBox::Retry;
}

}  // namespace lumipage
