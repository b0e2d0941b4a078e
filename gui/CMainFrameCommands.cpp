// The window's commands that open the comment dialogs, print, and those the
// application object carries out.
#include <QApplication>

#include "base/CommandIds.h"
#include "app/CommandLine.h"
#include "base/Settings.h"
#include "comments/BookContents.h"
#include "document/BookInformation.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "gui/CMainFrame.h"
#include "gui/DialogPlacement.h"
#include "gui/FrameCommentHost.h"
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

namespace {

using namespace command;

CommandState enabledIf(bool on) { return CommandState{on, false, {}}; }

struct PrintCommand {
    int id;
    PrintRange range;
    bool dialog;
    bool preview;
};

constexpr PrintCommand kPrintCommands[] = {
    {kPrintAllDialog, PrintRange::AllPages, true, false},  {kPrintAll, PrintRange::AllPages, true, false},
    {kPrintDirect, PrintRange::AllPages, false, false},    {kPrintSelected, PrintRange::SelectedPages, true, false},
    {kPrintScreen, PrintRange::CurrentScreen, true, false}, {kPreviewAll, PrintRange::AllPages, false, true},
    {kPreviewSelected, PrintRange::SelectedPages, false, true},
    {kPreviewScreen, PrintRange::CurrentScreen, false, true},
};

const PrintCommand* printCommand(int id) {
    for (const PrintCommand& c : kPrintCommands)
        if (c.id == id) return &c;
    return nullptr;
}

}  // namespace

void CMainFrame::setApplicationCommands(std::function<std::optional<CommandState>(int)> state,
                                        std::function<bool(int)> run) {
    applicationState_ = std::move(state);
    applicationRun_ = std::move(run);
    refresh();
}

CommandState CMainFrame::stateOf(int id) const {
    if (applicationState_)
        if (auto s = applicationState_(id)) return *s;
    if (auto s = documentCommandState(id)) return *s;
    return commands_->state(id);
}

std::optional<CommandState> CMainFrame::documentCommandState(int id) const {
    if (auto s = optionsCommandState(id)) return s;
    if (auto s = colourCommandState(id)) return s;
    if (auto s = faxCommandState(id)) return s;
    if (auto s = scanCommandState(id)) return s;
    if (auto s = pageFilesCommandState(id)) return s;
    const bool pages = table_.totalPages() > 0;
    if (const PrintCommand* c = printCommand(id))
        return enabledIf(pages && (c->range != PrintRange::SelectedPages || table_.counts().selected > 0));
    switch (id) {
        case kPrinterSetup: return enabledIf(true);
        case kContents:
        case kKeywordIndex: return enabledIf(table_.fileCount() > 0);
        case kEditComment: return enabledIf(true);
        case kBookInformation: return enabledIf(book_information::available(table_, document_));
        default: return std::nullopt;
    }
}

ViewRect CMainFrame::pageClientRect() const {
    const QRect r = page_->viewport()->rect();
    return ViewRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// The window speaks through the program's one messages object, the document's.
Messages& CMainFrame::messages() { return document_.messages(); }

FramePrinting& CMainFrame::printing() {
    if (!printing_) {
        printPages_ = std::make_unique<FramePrintPages>(table_, document_, *view_, *navigator_, *page_);
        printing_ = std::make_unique<FramePrinting>(this, *printPages_, settings_, messages());
    }
    return *printing_;
}

bool CMainFrame::runDocumentCommand(int id) {
    if (runOptionsCommand(id)) return true;
    if (runColourCommand(id)) return true;
    if (runScanCommand(id)) return true;
    if (applicationRun_ && applicationRun_(id)) return true;
    if (runFaxCommand(id)) return true;
    if (runPageFilesCommand(id)) return true;
    if (const PrintCommand* c = printCommand(id)) {
        if (c->preview) printing().preview(c->range, pageClientRect());
        else printing().print(c->range, c->dialog, pageClientRect());
        refresh();
        return true;
    }
    switch (id) {
        case kPrinterSetup: printing().printerSetup(); return true;
        case kContents: openContents(); return true;
        case kKeywordIndex: openKeywordIndex(); return true;
        case kEditComment: openCommentDialog(); return true;
        case kBookInformation: openBookInformation(); return true;
        default: return false;
    }
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
        commentHost_ = std::make_unique<FrameCommentHost>(table_, *navigator_, [this] {
            document_.refreshCommentTitle();  // the caption shows the page's new title
            refresh();
        });
        commentDialog_ = new CommentDialog(*commentHost_, messages(), this);
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
    const auto target = commentHost_->commentTarget();
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
