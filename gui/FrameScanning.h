#pragma once
#include <functional>
#include <memory>

#include "app/ScanSession.h"

class QProgressDialog;
class QWidget;

namespace lumipage {

// What the window lends to its scans besides itself.
struct ScanWindowJobs {
    std::function<void()> refresh;                             // the page list or the page shown changed
    std::function<bool(PrinterDialog dialog)> printCopy;       // the current page, first page only
    std::function<void(int id)> postCommand;
    std::function<bool()> sendAllPages;                        // scan to fax: the send job over every page
};

// The window side of scanning: the scan dialog, the threshold dialog, the
// scanner list, the progress window while pages are read, and the window
// kept answering meanwhile.
class FrameScanning : public ScanWindow {
public:
    FrameScanning(QWidget* window, ScanWindowJobs jobs);
    ~FrameScanning() override;

    // ScanWindow
    ScanDialogResult showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup,
                                    const ScanDialogTitle& title) override;
    void adjustThreshold(ThresholdAdjustment& adjustment) override;
    void scanEnded() override;
    bool printCopy(PrinterDialog dialog) override { return jobs_.printCopy(dialog); }
    bool canSendFax() const override { return bool(jobs_.sendAllPages); }
    bool sendAllPages() override { return jobs_.sendAllPages(); }
    void postCommand(int id) override { jobs_.postCommand(id); }
    void pageChanged() override { jobs_.refresh(); }
    std::optional<size_t> choose(const std::vector<std::string>& sources, size_t current) override;

    // TwainHost
    bool pump() override;
    void enableWindow(bool enabled) override;
    bool readingPage(int page, int rows, int total) override;
    void pageRead() override;

private:
    QWidget* window_;
    ScanWindowJobs jobs_;
    std::unique_ptr<QProgressDialog> progress_;  // while pages are read
};

}  // namespace lumipage
