#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scan/ScanJob.h"
#include "scan/TwainSession.h"

namespace lumipage {

class CLP98Doc;
class DlopenSourceManager;
class Messages;
class PageListDocument;
struct Settings;

// The scan dialog's title for the settings it shows, with whether "実行"
// may be pressed for them.
using ScanDialogTitle = std::function<std::string(const ScanSettings& shown, bool* executeEnabled)>;

// What a scan needs from the window it runs under: its dialogs, its event
// pump and progress while pages are read (TwainHost), the scanner list
// (SourceChooser), and the window's own jobs a scan hands its pages to.
class ScanWindow : public TwainHost, public SourceChooser {
public:
    virtual ScanDialogResult showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup,
                                            const ScanDialogTitle& title) = 0;
    virtual void adjustThreshold(ThresholdAdjustment& adjustment) = 0;
    // The run is over: whatever shows its progress goes.
    virtual void scanEnded() = 0;
    // Prints the document's current page (a copy).
    virtual bool printCopy(PrinterDialog dialog) = 0;
    // Scan to fax: the send job over every page, in a window that has one.
    virtual bool canSendFax() const { return true; }
    virtual bool sendAllPages() = 0;
    // Runs a command once the scan has returned (the conversion after a run).
    virtual void postCommand(int id) = 0;
    // The page list or the page shown changed.
    virtual void pageChanged() = 0;
};

// Scanning for the program's life: the source manager named in the
// settings, loaded on first use, one TWAIN session and the scan settings
// the scan dialog keeps between runs. A scan command runs one scan job; a
// second one is refused while it runs.
class ScanSession : private ScanJobUi {
public:
    static constexpr const char* kFaxUnavailable = "この画面からはＦＡＸ送信できません";

    ScanSession(Settings& settings, CLP98Doc& document, PageListDocument& shown, ScanWindow& window);
    ~ScanSession() override;
    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

    // Whether the source manager could be loaded (tried once).
    bool managerAvailable();
    bool busy() const { return busy_; }
    // The scan commands are offered: a source manager is there and no scan runs.
    bool ready() { return managerAvailable() && !busy_; }
    void selectSource();
    void scan(ScanMode mode, PrinterDialog dialog = PrinterDialog::Skip);
    ScanSettings& kept() { return kept_; }

private:
    TwainSession& session();

    // ScanJobUi
    ScanDialogResult showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup) override;
    void adjustThreshold(ThresholdAdjustment& adjustment) override;
    bool printCopy(PrinterDialog dialog) override;
    bool sendAllPages() override;
    void convertAllPages() override;
    void pageChanged() override;
    void showScannedPage(const PageRaster* page) override;

    Settings& settings_;
    CLP98Doc& document_;
    PageListDocument& shown_;
    ScanWindow& window_;
    std::unique_ptr<DlopenSourceManager> library_;
    std::unique_ptr<TwainSession> session_;
    std::unique_ptr<ScanJob> job_;
    ScanSettings kept_;
    ScanMode mode_ = ScanMode::NewFiles;
    std::optional<bool> available_;
    bool busy_ = false;
};

}  // namespace lumipage
