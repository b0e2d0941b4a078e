#include "app/CoreSession.h"

#include "app/SessionCommandStates.h"
#include "app/ViewerCommands.h"
#include "base/FileEditor.h"
#include "document/CLP98Doc.h"
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
                                           [this]() -> FileEditor& { return fileEditor(); }, window_.scannerReady,
                                           window_.colourDialogOpen});
}

CoreSession::~CoreSession() = default;

CLP98FAX& CoreSession::fax() {
    if (!fax_) fax_ = std::make_unique<CLP98FAX>(settings_);
    return *fax_;
}

void CoreSession::useFax(std::unique_ptr<CLP98FAX> fax) { fax_ = std::move(fax); }

PageFileOperations& CoreSession::pageFiles() {
    if (!pageFiles_) pageFiles_ = std::make_unique<PageFileOperations>(document_, settings_, document_.messages());
    return *pageFiles_;
}

FileEditor& CoreSession::fileEditor() {
    if (!fileEditor_) fileEditor_ = window_.makeFileEditor();
    return *fileEditor_;
}

bool CoreSession::editingPageFile() const { return pageFiles_ && pageFiles_->editing(); }

}  // namespace lumipage
