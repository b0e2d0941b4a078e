// The window's scanning commands: choosing the scanner, new scans and
// rescans into the page list, and copies (scan and print).
#include "base/CommandIds.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "gui/CMainFrame.h"
#include "gui/FramePrinting.h"
#include "gui/FrameScanning.h"
#include "gui/PageWidget.h"
#include "gui/QtMessages.h"
#include "view/PageListDocument.h"

namespace lumipage {

namespace {
using namespace command;
bool isScanCommand(int id) {
    return id == kSelectScanner || id == kScanNew || id == kRescan || id == kCopyDirect ||
           id == kCopyWithPrinterSetup || id == kFaxFromScanner;
}
}  // namespace

FrameScanning& CMainFrame::scanning() const {
    if (!scanning_) {
        // Made on first use; the window lends itself, so it is not const here.
        CMainFrame& self = const_cast<CMainFrame&>(*this);
        ScanWindow window;
        window.widget = &self;
        window.showPage = [&self] { self.showCurrentPage(); };
        window.showScanned = [&self](const PageRaster* page) {
            // The view shows the page as it is; it neither turns nor keeps it.
            self.viewDocument_->showInstead(const_cast<PageRaster*>(page));
            self.showCurrentPage();
        };
        window.printCopy = [&self](bool printerDialog) {
            self.printing().print(PrintRange::FirstPage, printerDialog, self.pageClientRect());
            return true;
        };
        window.postCommand = [&self](int id) { self.postCommand(id); };
        window.sendAllPages = [&self] { return self.sendFax(false, nullptr); };
        scanning_ = std::make_unique<FrameScanning>(settings_, document_, self.messages(), std::move(window));
    }
    return *scanning_;
}

std::optional<CommandState> CMainFrame::scanCommandState(int id) const {
    if (!isScanCommand(id)) return std::nullopt;
    FrameScanning& scan = scanning();
    // The source manager is tried once, when the window first asks.
    bool on = scan.managerAvailable() && !scan.busy();
    if (id == kRescan) on = on && table_.fileCount() > 0;
    return CommandState{on, false, {}};
}

bool CMainFrame::runScanCommand(int id) {
    if (!isScanCommand(id)) return false;
    if (!scanCommandState(id)->enabled) return true;
    FrameScanning& scan = scanning();
    switch (id) {
        case kSelectScanner: scan.selectSource(); break;
        case kScanNew: scan.scan(ScanMode::NewFiles); break;
        case kRescan: scan.scan(ScanMode::Rescan); break;
        case kCopyDirect: scan.scan(ScanMode::Copy, false); break;
        case kCopyWithPrinterSetup: scan.scan(ScanMode::Copy, true); break;
        case kFaxFromScanner: scan.scan(ScanMode::ScanToFax); break;
        default: return false;
    }
    refresh();
    return true;
}

}  // namespace lumipage
