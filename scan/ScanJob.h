#pragma once
#include <functional>
#include <string>
#include <vector>

#include "image/PageRaster.h"
#include "scan/ScanCapabilities.h"
#include "scan/ScanFormulas.h"
#include "scan/TwainSession.h"
#include "view/PrintLayout.h"

namespace lumipage {

class CLP98Doc;
class Messages;

enum class ScanMode { NewFiles = 0, Rescan = 1, Copy = 2, ScanToFax = 3 };
enum class ScanDialogResult { Execute = 1, End = 2, Repaint = 10, Send = 11 };

// The scan settings kept for the program's life; the dialog edits them.
struct ScanSettings {
    std::string folder;
    std::string resolution = "300";
    int zoom = 100;                 // percent
    bool multiPage = false;         // "ﾏﾙﾁﾍﾟｰｼﾞ"
    int brightness = 0;
    int brightnessMin = -100;       // the brightness control's range
    int brightnessMax = 100;
    int threshold = 128;
    bool adjustThreshold = false;   // "閾値調整"
    std::string prefix;
    std::string number = "001";
    bool numbered = true;           // "番号付加"
    std::string fileType = ".TIF";
    bool overwrite = false;         // "上書許可"
    bool feeder = false;            // "ＡＤＦ" (else "原稿台")
    bool continuous = false;        // "連続"
    bool sourceDialog = false;      // "詳細設定"
    int reduction = 0;              // index into the offered reduction choices
    int paperSize = 10;
    bool landscape = false;         // "横"
    scanformulas::Margins margins;
    bool rotate90 = false;          // "90度回転": the page is kept turned a quarter clockwise
    bool customSize = false;        // "寸法指定"
    double customWidth = 210;
    double customHeight = 297;
    std::string title;              // "タイトル"
    std::string filter;             // the file list's kind filter

    // The file the next page goes to.
    std::string targetName() const { return prefix + (numbered ? number : std::string()) + fileType; }
};

// What the scan dialog is shown with.
struct ScanDialogSetup {
    ScanMode mode = ScanMode::NewFiles;
    std::string title;
    bool executeEnabled = true;
    bool sourceDialogEnabled = true;
    bool continuousEnabled = true;
    bool sendShown = false;
    bool sendEnabled = false;
    const ScanCapabilities* capabilities = nullptr;
    std::vector<int> paperSizes;  // indices into scanformulas::kPaperSizes
};

// The threshold adjustment of an 8-bit page (dialog 184): the slider shows
// 256 - threshold; `preview` re-thresholds the page and repaints.
struct ThresholdAdjustment {
    int threshold = 128;
    std::string number;
    std::string fileName;
    bool dontShowAgain = false;  // "&X 次ページ以後この調整画面を表示しない"
    std::function<void(int threshold)> preview;
};

// What the window does for a scan job.
class ScanJobUi {
public:
    virtual ~ScanJobUi() = default;
    virtual ScanDialogResult showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup) = 0;
    virtual void adjustThreshold(ThresholdAdjustment& adjustment) = 0;
    // Prints the document's current (in-memory) page, first page only.
    virtual bool printCopy(PrinterDialog dialog) = 0;
    // Sends all open pages by fax.
    virtual bool sendAllPages() = 0;
    // Starts the conversion of all pages ("全頁ファイル変換...").
    virtual void convertAllPages() = 0;
    virtual void pageChanged() = 0;
    // Shows a page not yet kept (the page being thresholded) in place of the
    // document's page; null returns to the document's page.
    virtual void showScannedPage(const PageRaster* page) = 0;
};

// One scan command: opens the source, shows the dialog, sets the source's
// capabilities, acquires, and keeps each page as a file in the page list,
// prints it (copy) or collects it for a fax.
class ScanJob : private AcquireClient {
public:
    static constexpr const char* kWorkFolderFailed = "作業用ディレクトリが作成出来ません";
    static constexpr const char* kInitError = "TWAIN初期化エラー";
    static constexpr const char* kTransferFailed = "Image transfer failed.";

    ScanJob(TwainSession& session, CLP98Doc& doc, Messages& messages, ScanJobUi& ui, ScanSettings& kept,
            std::string faxWorkFolder);

    bool busy() const { return busy_; }
    // Runs the command; `dialog` only matters for copies.
    void run(ScanMode mode, PrinterDialog dialog = PrinterDialog::Skip);

    // The dialog's title with the state of the target file.
    std::string dialogTitle(ScanMode mode, const ScanSettings& settings, bool* executeEnabled) const;
    // Sends the capabilities the settings ask for, in their order.
    void setCapabilities(const ScanSettings& settings, const ScanCapabilities& caps);
    // The path a page is stored under.
    std::string targetPath(const ScanSettings& settings) const;

private:
    bool openSource(ScanCapabilities& caps);
    ScanDialogSetup dialogSetup(ScanMode mode, const ScanSettings& settings, const ScanCapabilities& caps) const;
    bool scanOnce(ScanSettings& settings, const ScanCapabilities& caps);
    void sendAndClose();
    void finish(ScanMode mode, ScanSettings& settings);
    void setLayout(const ScanSettings& settings);
    void setBrightness(const ScanSettings& settings, const ScanCapabilities& caps);
    bool keepPage(PageRaster& page);
    void turnIfAsked(PageRaster& page);

    // AcquireClient
    bool pageDone(PageRaster& page, bool gray) override;
    void advanceName() override;
    bool numbered() const override { return current_->numbered; }
    bool continuous() const override { return current_->continuous; }
    bool sourceDialog() const override { return current_->sourceDialog; }

    TwainSession& session_;
    CLP98Doc& doc_;
    Messages& messages_;
    ScanJobUi& ui_;
    ScanSettings& kept_;
    std::string faxWorkFolder_;
    ScanSettings* current_ = nullptr;
    ScanMode mode_ = ScanMode::NewFiles;
    PrinterDialog printerDialog_ = PrinterDialog::Skip;
    bool busy_ = false;
    bool copyPrinted_ = false;
    bool thresholdDialogOff_ = false;
    std::string pageName_;  // a name given in the threshold dialog, for this page only
    PageRaster page_;
    PageRaster turned_;
};

}  // namespace lumipage
