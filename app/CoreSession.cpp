#include "app/CoreSession.h"

#include "app/PageListCommentHost.h"
#include "app/ScanSession.h"
#include "app/SessionCommandStates.h"
#include "base/CommandIds.h"
#include "app/ViewPrintPages.h"
#include "app/ViewerCommands.h"
#include "base/FileEditor.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "document/PageFileOperations.h"
#include "fax/CLP98FAX.h"
#include "view/CLP98View.h"
#include "view/PageListDocument.h"
#include "view/PageNavigator.h"

namespace lumipage {

CoreSession::CoreSession(Settings& settings, OpenFileTable& table, CLP98Doc& document, SessionWindow window)
    : settings_(settings), table_(table), document_(document), window_(std::move(window)) {
    viewDocument_ = std::make_unique<PageListDocument>(document_, table_);
    view_ = std::make_unique<CLP98View>(window_.viewHost, *viewDocument_, settings_);
    navigator_ = std::make_unique<PageNavigator>(table_, document_, *view_);
    commands_ = std::make_unique<ViewerCommands>(*view_, *navigator_, document_, table_, settings_);
    router_.setFallback([this](int id) { return commands_->state(id); }, [this](int id) { return commands_->run(id); });
    addSessionStates(router_, SessionFacts{table_, document_, [this]() -> PageFileOperations& { return pageFiles(); },
                                           [this]() -> FileEditor& { return fileEditor(); },
                                           [this] { return scannerReady(); }, window_.colourDialogOpen});
    addScanHandlers();
    addFaxHandlers();
}

CoreSession::~CoreSession() = default;

CLP98FAX& CoreSession::fax() {
    if (!fax_) fax_ = std::make_unique<CLP98FAX>(settings_);
    return *fax_;
}

void CoreSession::useFax(std::unique_ptr<CLP98FAX> fax) { fax_ = std::move(fax); }

bool CoreSession::sendFax(DocumentFaxPages::Range range, FaxSendUi& ui, const FaxCallWindow& window) {
    return sendPages(fax(), document_, settings_, document_.messages(), range, ui, window);
}

// The fax key sends the selected pages when there are any, else all; without
// pages it scans the pages to send. The two send commands are the window's,
// which shows the job.
void CoreSession::addFaxHandlers() {
    using namespace command;
    router_.setHandler(kFaxSend, [this] {
        if (table_.totalPages() == 0) return void(router_.run(kFaxFromScanner));
        router_.run(table_.counts().selected > 0 ? kFaxSelected : kFaxAll);
    });
}

PageFileOperations& CoreSession::pageFiles() {
    if (!pageFiles_) pageFiles_ = std::make_unique<PageFileOperations>(document_, settings_, document_.messages());
    return *pageFiles_;
}

FileEditor& CoreSession::fileEditor() {
    if (!fileEditor_) fileEditor_ = window_.makeFileEditor();
    return *fileEditor_;
}

bool CoreSession::editingPageFile() const { return pageFiles_ && pageFiles_->editing(); }

ScanSession& CoreSession::scanning() {
    if (!scanning_) scanning_ = std::make_unique<ScanSession>(settings_, document_, *viewDocument_, *window_.scanWindow);
    return *scanning_;
}

PrintPages& CoreSession::printPages() {
    if (!printPages_) printPages_ = std::make_unique<ViewPrintPages>(document_, *view_, *navigator_, window_.viewHost);
    return *printPages_;
}

CommentHost& CoreSession::commentHost() {
    if (!commentHost_)
        commentHost_ = std::make_unique<PageListCommentHost>(table_, *navigator_, [this] {
            document_.refreshCommentTitle();  // the caption shows the page's new title
            if (changed_) changed_();
        });
    return *commentHost_;
}

// The source manager is tried once, when the window first asks.
bool CoreSession::scannerReady() { return window_.scanWindow && scanning().ready(); }

void CoreSession::addScanHandlers() {
    using namespace command;
    if (!window_.scanWindow) return;
    router_.setHandler(kSelectScanner, [this] { scanning().selectSource(); });
    router_.setHandler(kScanNew, [this] { scanning().scan(ScanMode::NewFiles); });
    router_.setHandler(kRescan, [this] { scanning().scan(ScanMode::Rescan); });
    router_.setHandler(kCopyDirect, [this] { scanning().scan(ScanMode::Copy, PrinterDialog::Skip); });
    router_.setHandler(kCopyWithPrinterSetup, [this] { scanning().scan(ScanMode::Copy, PrinterDialog::Show); });
    router_.setHandler(kFaxFromScanner, [this] { scanning().scan(ScanMode::ScanToFax); });
}

}  // namespace lumipage
