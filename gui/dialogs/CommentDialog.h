#pragma once
#include <QDialog>
#include <optional>
#include <string>

#include "comments/CommentHost.h"

class QPlainTextEdit;
class QPushButton;

namespace lumipage {

class Messages;

// The comment dialog (164, "コメント"), modeless: follows the current page,
// saving a changed comment before it moves on, and edits the comment of the
// page (or of a one-page file) with the standard items, save, delete and
// copy-to-next-page buttons. Protected comments (books, read-only comment
// files) are shown but not changed.
class CommentDialog : public QDialog {
public:
    CommentDialog(CommentHost& host, Messages& messages, QWidget* parent = nullptr);

    // Called on every page change: saves a changed comment, then shows the new target's.
    void followPage();
    // Writes the shown comment; false (text kept as changed) when it cannot be written.
    bool save();
    void deleteComment();
    void insertStandardItems();
    void copyToNextPage();

    QPlainTextEdit* edit() const { return edit_; }
    bool modified() const;

private:
    void showTarget(const std::optional<CommentTarget>& target);
    void updateState();
    std::string editedText() const;
    void setText(const std::string& text, bool modified);

    CommentHost& host_;
    Messages& messages_;
    std::optional<CommentTarget> target_;
    bool protected_ = false;
    QPlainTextEdit* edit_;
    QPushButton* standard_;
    QPushButton* save_;
    QPushButton* delete_;
    QPushButton* copy_;
};

}  // namespace lumipage
