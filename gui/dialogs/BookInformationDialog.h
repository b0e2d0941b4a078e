#pragma once
#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace lumipage {

// "ブック情報" (165): the book's comment and its file version, to read.
class BookInformationDialog : public QDialog {
public:
    explicit BookInformationDialog(const std::string& text, QWidget* parent = nullptr);
    QPlainTextEdit* text() const { return text_; }

private:
    QPlainTextEdit* text_;
};

}  // namespace lumipage
