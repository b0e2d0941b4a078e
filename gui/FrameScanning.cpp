#include "gui/FrameScanning.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <filesystem>

#include "base/CommandIds.h"
#include "base/Messages.h"
#include "base/Settings.h"
#include "gui/dialogs/ScanDialog.h"
#include "gui/dialogs/SourceChooserDialog.h"
#include "gui/dialogs/ThresholdDialog.h"

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

FrameScanning::FrameScanning(Settings& settings, CLP98Doc& document, Messages& messages, ScanWindow window)
    : settings_(settings), document_(document), messages_(messages), window_(std::move(window)) {
    kept_.folder = settings_.scanFilePath;
}

FrameScanning::~FrameScanning() = default;

TwainSession& FrameScanning::session() {
    if (!session_) {
        library_ = std::make_unique<DlopenSourceManager>(settings_.sourceManager);
        session_ = std::make_unique<TwainSession>(*library_, messages_, *this, kVersionText);
        job_ = std::make_unique<ScanJob>(*session_, document_, messages_, *this, kept_, faxWorkFolder());
    }
    session_->setXeroxTwain(settings_.xeroxTwain != 0);
    return *session_;
}

bool FrameScanning::managerAvailable() {
    if (!available_) available_ = session().managerAvailable();
    return *available_;
}

void FrameScanning::selectSource() {
    if (busy_) return;
    DialogSourceChooser chooser(window_.widget);
    session().SelectSource(chooser);
}

void FrameScanning::scan(ScanMode mode, bool printerDialog) {
    if (busy_) return;
    session();  // the job comes with the session
    busy_ = true;
    mode_ = mode;
    job_->run(mode, printerDialog);
    progress_.reset();
    busy_ = false;
    // The folder the user last scanned into is where the next run starts.
    settings_.scanFilePath = kept_.folder;
    window_.showPage();
}

ScanDialogResult FrameScanning::showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup) {
    progress_.reset();
    const ScanMode mode = mode_;
    ScanDialog dialog(settings, setup,
                      [this, mode](const ScanSettings& shown, bool* enabled) {
                          return job_->dialogTitle(mode, shown, enabled);
                      },
                      window_.widget);
    const int result = dialog.exec();
    dialog.store(settings);
    if (result == int(ScanDialogResult::Execute) || result == int(ScanDialogResult::Send)) return ScanDialogResult(result);
    return ScanDialogResult::End;
}

// The threshold dialog comes up while the acquisition keeps the window
// disabled; the dialog, a child of the window, must stay usable.
void FrameScanning::adjustThreshold(ThresholdAdjustment& adjustment) {
    const bool wasEnabled = !window_.widget || window_.widget->isEnabled();
    enableWindow(true);
    ThresholdDialog dialog(adjustment, window_.widget);
    dialog.exec();
    enableWindow(wasEnabled);
}

bool FrameScanning::printCopy(bool printerDialog) { return window_.printCopy(printerDialog); }

// Scan to fax: the scanned pages go out through the window's fax send job.
bool FrameScanning::sendAllPages() {
    if (window_.sendAllPages) return window_.sendAllPages();
    messages_.message(kFaxUnavailable);
    return false;
}

void FrameScanning::convertAllPages() {
    // After the job: the conversion dialog then sees every scanned page.
    window_.postCommand(command::kConvertAll);
}

void FrameScanning::pageChanged() { window_.showPage(); }

void FrameScanning::showScannedPage(const PageRaster* page) {
    if (window_.showScanned) window_.showScanned(page);
}

bool FrameScanning::pump() {
    QApplication::processEvents();
    return !QCoreApplication::closingDown();
}

void FrameScanning::enableWindow(bool enabled) {
    if (window_.widget) window_.widget->setEnabled(enabled);
}

// The rows of the page being read, and a cancel that stops the scanner. The
// window is disabled meanwhile, so the progress window is one of its own.
bool FrameScanning::readingPage(int page, int rows, int total) {
    if (!progress_) {
        progress_ = std::make_unique<QProgressDialog>();
        progress_->setObjectName("ScanProgress");
        progress_->setWindowTitle("スキャナ入力");
        progress_->setCancelButtonText("キャンセル");
        progress_->setMinimumDuration(0);
        progress_->setAutoReset(false);
        progress_->setAutoClose(false);
    }
    progress_->setLabelText(QString("%1 ページ目を読み取り中").arg(page));
    progress_->setRange(0, total > 0 ? total : 0);  // an unknown length shows a busy bar
    progress_->setValue(total > 0 ? std::min(rows, total) : 0);
    if (!progress_->isVisible()) progress_->show();
    const bool going = pump();
    return going && !progress_->wasCanceled();
}

void FrameScanning::pageRead() {
    // Kept between the pages of one run; the dialog's return ends it.
    if (progress_ && progress_->wasCanceled()) progress_.reset();
}

}  // namespace lumipage
