#include "gui/dialogs/CommentDialog.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "base/Messages.h"
#include "comments/CommentFile.h"
#include "comments/FileKind.h"
#include "comments/StandardItems.h"
#include "platform/FileSystem.h"

namespace lumipage {

namespace {

QPushButton* button(const char* text, const char* id, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(id);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

CommentDialog::CommentDialog(CommentHost& host, Messages& messages, QWidget* parent)
    : QDialog(parent),
      host_(host),
      messages_(messages),
      edit_(new QPlainTextEdit(this)),
      standard_(button("標準項目挿入 &I", "1252", this)),
      save_(button("コメント保存 &W", "1253", this)),
      delete_(button("コメント削除 &X", "1254", this)),
      copy_(button("次頁へ複写 &N", "1256", this)) {
    setObjectName("164");
    setModal(false);
    edit_->setObjectName("1255");
    auto* layout = new QGridLayout(this);
    layout->addWidget(edit_, 0, 0, 1, 4);
    layout->addWidget(standard_, 1, 0);
    layout->addWidget(save_, 1, 1);
    layout->addWidget(delete_, 1, 2);
    layout->addWidget(copy_, 1, 3);
    resize(520, 360);

    connect(edit_, &QPlainTextEdit::modificationChanged, this, [this] { updateState(); });
    connect(standard_, &QPushButton::clicked, this, [this] { insertStandardItems(); });
    connect(save_, &QPushButton::clicked, this, [this] { save(); });
    connect(delete_, &QPushButton::clicked, this, [this] { deleteComment(); });
    connect(copy_, &QPushButton::clicked, this, [this] { copyToNextPage(); });
    showTarget(host_.commentTarget());
}

bool CommentDialog::modified() const { return edit_->document()->isModified(); }

// The edit shows line feeds; the comment file keeps CR LF.
std::string CommentDialog::editedText() const {
    std::string text = edit_->toPlainText().toStdString();
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

void CommentDialog::setText(const std::string& text, bool modified) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    edit_->setPlainText(shown);
    edit_->document()->setModified(modified);
}

void CommentDialog::showTarget(const std::optional<CommentTarget>& target) {
    target_ = target;
    protected_ = target_ && CommentFile::isProtected(target_->file);
    setText(target_ ? CommentFile::read(target_->file, target_->page).value_or("") : std::string(), false);
    updateState();
}

void CommentDialog::updateState() {
    const bool exists = target_ && files::exists(CommentFile::pathFor(target_->file));
    QString caption = "コメント";
    if (target_ && protected_) caption += "(保護)";
    else if (target_ && !exists) caption += "(新規)";
    if (target_) caption += " " + QString::fromStdString(files::fileNameOf(target_->file));
    setWindowTitle(caption);
    const bool editable = target_ && !protected_;
    edit_->setReadOnly(!editable);
    standard_->setEnabled(editable);
    save_->setEnabled(editable && modified());
    delete_->setEnabled(editable && exists);
    copy_->setEnabled(editable && !edit_->toPlainText().isEmpty() && !target_->lastPageOfList);
}

void CommentDialog::followPage() {
    if (modified()) save();
    showTarget(host_.commentTarget());
}

bool CommentDialog::save() {
    if (!target_ || protected_) return false;
    if (!CommentFile::write(target_->file, target_->page, editedText(), messages_)) {
        updateState();
        return false;
    }
    edit_->document()->setModified(false);
    host_.commentChanged(target_->file);
    updateState();
    return true;
}

void CommentDialog::deleteComment() {
    if (!target_ || protected_) return;
    if (!messages_.askOkCancelCaptioned("コメント", "コメントを削除します")) return;
    const bool done = target_->page == 0 ? files::removeFile(CommentFile::pathFor(target_->file))
                                         : CommentFile::write(target_->file, target_->page, "", messages_);
    if (done) {
        setText({}, false);
        host_.commentChanged(target_->file);
    }
    updateState();
}

void CommentDialog::insertStandardItems() {
    if (!target_ || protected_) return;
    const std::string text = edit_->toPlainText().toStdString();
    std::string extended = withStandardItems(text, fileKindOf(target_->file));
    setText(extended, true);
    updateState();
}

void CommentDialog::copyToNextPage() {
    if (!target_ || protected_) return;
    const std::string previous = editedText();
    if (modified() && !save()) return;
    host_.goToNextPage();
    // The page change showed the next page's comment; an empty one takes the text.
    showTarget(host_.commentTarget());
    if (target_ && !protected_ && edit_->toPlainText().isEmpty()) setText(previous, true);
    updateState();
}

}  // namespace lumipage
