#pragma once
#include <string>

#include <QDialog>

class QPlainTextEdit;
class QRadioButton;

namespace lumipage {

// The book options dialog (167): where a page starts after a page change,
// the book information text, and the total and selected page counts.
class BookOptionsDialog : public QDialog {
public:
    BookOptionsDialog(int pageStartPosition, const std::string& information, int totalPages, int selectedPages,
                      QWidget* parent = nullptr);

    // 0 same as the previous page, 1 top, 2 top left, 3 top right.
    int pageStartPosition() const;
    // With CR LF line ends, as comment files keep them.
    std::string information() const;

private:
    QRadioButton* positions_[4];
    QPlainTextEdit* information_;
};

}  // namespace lumipage
