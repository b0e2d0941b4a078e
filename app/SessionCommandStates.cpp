#include "app/SessionCommandStates.h"

#include "app/PrintCommands.h"
#include "base/CommandIds.h"
#include "document/BookInformation.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "document/PageFileOperations.h"

namespace lumipage {

namespace {

using namespace command;

CommandState enabledIf(bool on) { return CommandState{on, false, {}}; }

constexpr int kScanCommands[] = {kSelectScanner,        kScanNew,       kRescan, kCopyDirect,
                                 kCopyWithPrinterSetup, kFaxFromScanner};

void addPrintStates(CommandRouter& router, OpenFileTable& table) {
    for (const PrintCommand& c : kPrintCommands) {
        const bool selectedOnly = c.range == PrintRange::SelectedPages;
        router.setUpdate(c.id, [&table, selectedOnly] {
            return enabledIf(table.totalPages() > 0 && (!selectedOnly || table.counts().selected > 0));
        });
    }
    router.setUpdate(kPrinterSetup, [] { return enabledIf(true); });
}

void addCommentStates(CommandRouter& router, OpenFileTable& table, CLP98Doc& document) {
    const auto filesOpen = [&table] { return enabledIf(table.fileCount() > 0); };
    router.setUpdate(kContents, filesOpen);
    router.setUpdate(kKeywordIndex, filesOpen);
    router.setUpdate(kEditComment, [] { return enabledIf(true); });
    router.setUpdate(kBookInformation,
                     [&table, &document] { return enabledIf(book_information::available(table, document)); });
}

void addScanStates(CommandRouter& router, const SessionFacts& facts) {
    for (const int id : kScanCommands) {
        router.setUpdate(id, [ready = facts.scannerReady, &table = facts.table, id] {
            // The source manager is tried once, when the window first asks.
            bool on = ready();
            if (id == kRescan) on = on && table.fileCount() > 0;
            return enabledIf(on);
        });
    }
}

void addFaxStates(CommandRouter& router, OpenFileTable& table) {
    // Without pages the fax key scans the pages to send, when a scanner is there.
    router.setUpdate(kFaxSend, [&router, &table] {
        return table.totalPages() > 0 ? enabledIf(true) : router.state(kFaxFromScanner);
    });
    router.setUpdate(kFaxSelected, [&table] { return enabledIf(table.counts().selected > 0); });
    router.setUpdate(kFaxAll, [&table] { return enabledIf(table.totalPages() > 0); });
    router.setUpdate(kPhoneBook, [] { return enabledIf(true); });
    router.setUpdate(kVoiceCall, [] { return enabledIf(true); });
}

void addPageFileStates(CommandRouter& router, const SessionFacts& facts) {
    router.setUpdate(kSaveIndex, [&document = facts.document] {
        const IndexFile& index = document.index();
        return CommandState{index.saveCommandEnabled(), false, index.saveCommandText()};
    });
    for (const int id : {kSaveCurrentFile, kConvertSelected, kConvertAll, kEditCurrentFile, kDeleteSentFiles,
                         kDeletePrintedFiles, kDeleteCurrentFile, kDeleteSelectedFiles, kDeleteAllFiles}) {
        router.setUpdate(id, [pageFiles = facts.pageFiles, editor = facts.fileEditor, id] {
            return enabledIf(pageFiles().enabled(*pageFileCommandOf(id), editor()));
        });
    }
}

}  // namespace

void addSessionStates(CommandRouter& router, const SessionFacts& facts) {
    addPrintStates(router, facts.table);
    addCommentStates(router, facts.table, facts.document);
    addScanStates(router, facts);
    addFaxStates(router, facts.table);
    addPageFileStates(router, facts);
    router.setUpdate(kOptions, [] { return enabledIf(true); });
    router.setUpdate(kColourAdjustment, [open = facts.colourDialogOpen] { return CommandState{true, open(), {}}; });
}

}  // namespace lumipage
