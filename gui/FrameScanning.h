#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scan/ScanJob.h"
#include "scan/SourceManagerLibrary.h"
#include "scan/TwainSession.h"

class QProgressDialog;
class QWidget;

namespace lumipage {

class CLP98Doc;
class PageRaster;
class Messages;
struct Settings;

// What the window lends to its scan jobs.
struct ScanWindow {
    QWidget* widget = nullptr;
    std::function<void()> showPage;                   // the current page changed
    std::function<void(const PageRaster*)> showScanned;  // a page not yet kept, null: back to the document
    std::function<bool(bool printerDialog)> printCopy;  // the current page, first page only
    std::function<void(int id)> postCommand;
    std::function<bool()> sendAllPages;  // scan to fax: the send job over every page
};

// The window side of scanning: the source manager named in the settings,
// one TWAIN session and the scan settings kept for the program's life; it
// answers the scan job with the scan dialog and the threshold dialog.
class FrameScanning : public ScanJobUi, public TwainHost {
public:
    static constexpr const char* kFaxUnavailable = "この画面からはＦＡＸ送信できません";

    FrameScanning(Settings& settings, CLP98Doc& document, Messages& messages, ScanWindow window);
    ~FrameScanning() override;

    // Whether the source manager could be loaded (tested once).
    bool managerAvailable();
    bool busy() const { return busy_; }
    void selectSource();
    void scan(ScanMode mode, bool printerDialog = false);
    ScanSettings& kept() { return kept_; }

    // ScanJobUi
    ScanDialogResult showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup) override;
    void adjustThreshold(ThresholdAdjustment& adjustment) override;
    bool printCopy(bool printerDialog) override;
    bool sendAllPages() override;
    void convertAllPages() override;
    void pageChanged() override;
    void showScannedPage(const PageRaster* page) override;

    // TwainHost
    bool pump() override;
    void enableWindow(bool enabled) override;
    bool readingPage(int page, int rows, int total) override;
    void pageRead() override;

private:
    TwainSession& session();

    Settings& settings_;
    CLP98Doc& document_;
    Messages& messages_;
    ScanWindow window_;
    std::unique_ptr<DlopenSourceManager> library_;
    std::unique_ptr<TwainSession> session_;
    std::unique_ptr<ScanJob> job_;
    ScanSettings kept_;
    ScanMode mode_ = ScanMode::NewFiles;
    std::optional<bool> available_;
    std::unique_ptr<QProgressDialog> progress_;  // while pages are read
    bool busy_ = false;
};

}  // namespace lumipage
