#pragma once
#include <QDialog>
#include <optional>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace lumipage {

class Messages;

// Whose comment the dialog shows: the current file's, as its file part
// (page 0) or as the section of the page within the file.
struct CommentTarget {
    std::string file;
    int page = 0;
    bool lastPageOfList = false;
};

// What the comment dialog needs from the window.
class CommentHost {
public:
    virtual ~CommentHost() = default;
    // The current file and page, or nothing when no page is shown.
    virtual std::optional<CommentTarget> commentTarget() const = 0;
    virtual void goToNextPage() = 0;
    // A comment was written or deleted: the caption's title may have changed.
    virtual void commentChanged(const std::string& file) = 0;
};

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
