#include "app/ScanSession.h"

#include <filesystem>

#include "base/CommandIds.h"
#include "base/Messages.h"
#include "base/Settings.h"
#include "document/CLP98Doc.h"
#include "scan/SourceManagerLibrary.h"
#include "view/PageListDocument.h"

namespace lumipage {

namespace {

constexpr const char* kVersionText = "Lumipage 1.0";

// The folder scan-to-fax collects its pages in: the system's temporary
// folder followed by "LpFax".
std::string faxWorkFolder() {
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) temp = "/tmp";
    return temp.string() + "/LpFax";
}

}  // namespace

ScanSession::ScanSession(Settings& settings, CLP98Doc& document, PageListDocument& shown, ScanWindow& window)
    : settings_(settings), document_(document), shown_(shown), window_(window) {
    kept_.folder = settings_.scanFilePath;
}

ScanSession::~ScanSession() = default;

TwainSession& ScanSession::session() {
    if (!session_) {
        library_ = std::make_unique<DlopenSourceManager>(settings_.sourceManager);
        session_ = std::make_unique<TwainSession>(*library_, document_.messages(), window_, kVersionText);
        job_ = std::make_unique<ScanJob>(*session_, document_, document_.messages(), static_cast<ScanJobUi&>(*this), kept_,
                                        faxWorkFolder());
    }
    session_->setXeroxTwain(settings_.xeroxTwain != 0);
    return *session_;
}

bool ScanSession::managerAvailable() {
    if (!available_) available_ = session().managerAvailable();
    return *available_;
}

void ScanSession::selectSource() {
    if (busy_) return;
    session().SelectSource(window_);
}

void ScanSession::scan(ScanMode mode, PrinterDialog dialog) {
    if (busy_) return;
    session();  // the job comes with the session
    busy_ = true;
    mode_ = mode;
    job_->run(mode, dialog);
    window_.scanEnded();
    busy_ = false;
    // The folder the user last scanned into is where the next run starts.
    settings_.scanFilePath = kept_.folder;
    window_.pageChanged();
}

ScanDialogResult ScanSession::showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup) {
    const ScanMode mode = mode_;
    const ScanDialogResult result = window_.showScanDialog(
        settings, setup,
        [this, mode](const ScanSettings& shown, bool* enabled) { return job_->dialogTitle(mode, shown, enabled); });
    // Only these two go on; anything else (a closed dialog) ends the run.
    if (result == ScanDialogResult::Execute || result == ScanDialogResult::Send) return result;
    return ScanDialogResult::End;
}

void ScanSession::adjustThreshold(ThresholdAdjustment& adjustment) { window_.adjustThreshold(adjustment); }

bool ScanSession::printCopy(PrinterDialog dialog) { return window_.printCopy(dialog); }

// Scan to fax: the scanned pages go out through the window's fax send job.
bool ScanSession::sendAllPages() {
    if (window_.canSendFax()) return window_.sendAllPages();
    document_.messages().message(kFaxUnavailable);
    return false;
}

void ScanSession::convertAllPages() {
    // After the job: the conversion dialog then sees every scanned page.
    window_.postCommand(command::kConvertAll);
}

void ScanSession::pageChanged() { window_.pageChanged(); }

// The page being thresholded is shown as it is: the view neither turns nor keeps it.
void ScanSession::showScannedPage(const PageRaster* page) {
    shown_.showInstead(const_cast<PageRaster*>(page));
    window_.pageChanged();
}

}  // namespace lumipage
