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
}  // namespace

FrameScanning& CMainFrame::scanning() const {
    if (!scanning_) {
        // Made on first use; the window lends itself, so it is not const here.
        CMainFrame& self = const_cast<CMainFrame&>(*this);
        ScanWindow window;
        window.widget = &self;
        window.showPage = [&self] { self.refresh(); };
        window.showScanned = [&self](const PageRaster* page) {
            // The view shows the page as it is; it neither turns nor keeps it.
            self.viewDocument_->showInstead(const_cast<PageRaster*>(page));
            self.refresh();
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

bool CMainFrame::scannerReady() const {
    // The source manager is tried once, when the window first asks.
    FrameScanning& scan = scanning();
    return scan.managerAvailable() && !scan.busy();
}

void CMainFrame::addScanHandlers() {
    router().setHandler(kSelectScanner, [this] { scanning().selectSource(); });
    router().setHandler(kScanNew, [this] { scanning().scan(ScanMode::NewFiles); });
    router().setHandler(kRescan, [this] { scanning().scan(ScanMode::Rescan); });
    router().setHandler(kCopyDirect, [this] { scanning().scan(ScanMode::Copy, false); });
    router().setHandler(kCopyWithPrinterSetup, [this] { scanning().scan(ScanMode::Copy, true); });
    router().setHandler(kFaxFromScanner, [this] { scanning().scan(ScanMode::ScanToFax); });
}

}  // namespace lumipage
