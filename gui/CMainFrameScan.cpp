// The window's side of scanning: its dialogs and progress (FrameScanning),
// and the jobs a scan hands its pages to: a copy is printed, a scan to fax
// is sent by the window's send job.
#include "gui/CMainFrame.h"
#include "gui/FramePrinting.h"
#include "gui/FrameScanning.h"

namespace lumipage {

std::unique_ptr<FrameScanning> CMainFrame::makeScanWindow() {
    ScanWindowJobs jobs;
    jobs.refresh = [this] { refresh(); };
    jobs.printCopy = [this](PrinterDialog dialog) {
        printing().print(PrintRange::FirstPage, dialog, pageClientRect());
        return true;
    };
    jobs.postCommand = [this](int id) { postCommand(id); };
    jobs.sendAllPages = [this] { return sendFax(false, nullptr); };
    return std::make_unique<FrameScanning>(this, std::move(jobs));
}

}  // namespace lumipage
