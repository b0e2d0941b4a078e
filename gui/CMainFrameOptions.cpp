// The options command: the options dialog, and what the window follows up
// after the dialog's OK.
#include "base/CommandIds.h"
#include "app/OptionsModel.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/CommentDialog.h"
#include "gui/dialogs/OptionsDialog.h"

namespace lumipage {

void CMainFrame::addOptionsHandlers() { router().setHandler(command::kOptions, [this] { openOptions(); }); }

void CMainFrame::openOptions() {
    moveMouseToCentre();
    OptionsDialog dialog(settings_, OptionsDialog::screenOf(this), messages(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    // The other settings are read where they are used (printing, saving,
    // index writing, keys, scanning); a changed page start position applies
    // from the next page shown and goes into books written from now on.
    if (dialog.changes().commentFormWithFormatting) reopenCommentDialog();
    refresh();
}

// An open comment dialog is shown again, where it stood, in the form the
// options now ask for. A changed comment is written first; when it cannot be
// written the dialog stays as it is, so the text is not lost.
void CMainFrame::reopenCommentDialog() {
    if (!commentDialog_ || !commentDialog_->isVisible()) return;
    if (commentDialog_->modified() && !commentDialog_->save()) return;
    const QPoint placed = commentDialog_->pos();
    commentDialog_->hide();
    commentDialog_->deleteLater();
    commentDialog_ = nullptr;
    commentShown_.reset();
    openCommentDialog();
    commentDialog_->move(placed);
}

}  // namespace lumipage
