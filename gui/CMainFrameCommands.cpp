// The window's commands that open the comment dialogs, print, and those the
// application object carries out.
#include <QApplication>

#include "base/CommandIds.h"
#include "app/CommandLine.h"
#include "app/PrintCommands.h"
#include "app/CoreSession.h"
#include "base/Settings.h"
#include "comments/BookContents.h"
#include "document/BookInformation.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "gui/CMainFrame.h"
#include "gui/DialogPlacement.h"
#include "gui/FramePrinting.h"
#include "gui/PageWidget.h"
#include "gui/QtMessages.h"
#include "gui/dialogs/BookInformationDialog.h"
#include "gui/dialogs/CommentDialog.h"
#include "gui/dialogs/ContentsDialog.h"
#include "gui/dialogs/KeywordIndexDialog.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {

using namespace command;

void CMainFrame::setApplicationCommands(std::function<std::optional<CommandState>(int)> state,
                                        std::function<bool(int)> run) {
    for (const int id : {kManual, kGuideBook, kSaveStateAndExit}) {
        router().setUpdate(id, [state, id] { return state(id).value_or(CommandState{}); });
        router().setHandler(id, [run, id] { run(id); });
    }
    refresh();
}

CommandState CMainFrame::stateOf(int id) const { return session_->router().state(id); }
CommandRouter& CMainFrame::router() { return session_->router(); }

// The window's part of the command table: the handlers of the commands
// that open its dialogs; when each is offered the core decides.
void CMainFrame::addHandlers() {
    CommandRouter& table = router();
    for (const PrintCommand& c : kPrintCommands)
        table.setHandler(c.id, [this, c] {
            if (c.preview) printing().preview(c.range, pageClientRect());
            else printing().print(c.range, c.dialog, pageClientRect());
        });
    table.setHandler(kPrinterSetup, [this] { printing().printerSetup(); });
    table.setHandler(kContents, [this] { openContents(); });
    table.setHandler(kKeywordIndex, [this] { openKeywordIndex(); });
    table.setHandler(kEditComment, [this] { openCommentDialog(); });
    table.setHandler(kBookInformation, [this] { openBookInformation(); });
    table.setHandler(kExit, [this] { close(); });
    table.setHandler(kOpen, [this] { openWithDialog(); });
    table.setHandler(kJump, [this] { openJumpDialog(); });
    table.setHandler(kPageCounter, [this] { openPageList(false); });
    table.setHandler(kSelectionCounter, [this] { openPageList(true); });
    addOptionsHandlers();
    addColourHandlers();
    addFaxHandlers();
    addPageFileHandlers();
}

ViewRect CMainFrame::pageClientRect() const {
    const QRect r = page_->viewport()->rect();
    return ViewRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// The window speaks through the program's one messages object, the document's.
Messages& CMainFrame::messages() { return document_.messages(); }

FramePrinting& CMainFrame::printing() {
    if (!printing_) {
        printing_ = std::make_unique<FramePrinting>(this, session_->printPages(), settings_, messages());
    }
    return *printing_;
}

void CMainFrame::openContents() {
    std::vector<ContentsEntry> entries;
    for (int i = 1; i <= table_.fileCount(); ++i) {
        const auto found = contentsEntries(table_.entry(i).path, table_.firstPageOf(i), table_.entry(i).pages);
        entries.insert(entries.end(), found.begin(), found.end());
    }
    ContentsDialog dialog(std::move(entries), [this](int page) { navigator_->chooseFromList(page); }, this);
    dialog.exec();
    refresh();
}

void CMainFrame::openKeywordIndex() {
    KeywordIndex index;
    for (int i = 1; i <= table_.fileCount(); ++i)
        index.addFile(table_.entry(i).path, table_.firstPageOf(i), table_.entry(i).pages);
    KeywordIndexDialog dialog(std::move(index), [this](int page) { navigator_->chooseFromList(page); }, this);
    dialog.exec();
    refresh();
}

void CMainFrame::openCommentDialog() {
    if (!commentDialog_) {
        commentDialog_ = new CommentDialog(session_->commentHost(), messages(), this);
        // Closed by the user: where it stood is kept for the next opening.
        connect(commentDialog_, &QDialog::finished, this, [this] {
            if (settings_.saveDialogPos) settings_.commentDlg = placementEntry(*commentDialog_, false);
        });
        commentDialog_->adjustSize();
        placeDialog(*commentDialog_, settings_.commentDlg, *this);
    }
    commentDialog_->followPage();
    commentDialog_->show();
    commentDialog_->raise();
    if (settings_.autoMousePos) movePointerInto(*commentDialog_);
}

// At exit the entry also says whether the dialog was open, so that it
// comes back at the next start.
void CMainFrame::storeCommentDialogAtExit() {
    if (startup_.noSave || !settings_.saveDialogPos) return;
    if (commentDialog_) settings_.commentDlg = placementEntry(*commentDialog_, commentDialog_->isVisible());
    else settings_.commentDlg = closedEntry(settings_.commentDlg);
}

// The comment dialog follows the current page.
void CMainFrame::followCommentTarget() {
    if (!commentDialog_ || !commentDialog_->isVisible()) return;
    const auto target = session_->commentHost().commentTarget();
    std::optional<std::pair<std::string, int>> shown;
    if (target) shown = std::make_pair(target->file, target->page);
    if (shown == commentShown_) return;
    commentShown_ = shown;
    commentDialog_->followPage();
}

void CMainFrame::openBookInformation() {
    BookInformationDialog dialog(book_information::text(table_, document_), this);
    dialog.exec();
}

}  // namespace lumipage
