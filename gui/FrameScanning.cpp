#include "gui/FrameScanning.h"

#include <QApplication>
#include <QProgressDialog>
#include <QWidget>

#include "gui/dialogs/ScanDialog.h"
#include "gui/dialogs/SourceChooserDialog.h"
#include "gui/dialogs/ThresholdDialog.h"

namespace lumipage {

FrameScanning::FrameScanning(QWidget* window, ScanWindowJobs jobs) : window_(window), jobs_(std::move(jobs)) {}

FrameScanning::~FrameScanning() = default;

ScanDialogResult FrameScanning::showScanDialog(ScanSettings& settings, const ScanDialogSetup& setup,
                                               const ScanDialogTitle& title) {
    progress_.reset();
    ScanDialog dialog(settings, setup, title, window_);
    const int result = dialog.exec();
    dialog.store(settings);
    return ScanDialogResult(result);
}

// The threshold dialog comes up while the acquisition keeps the window
// disabled; the dialog, a child of the window, must stay usable.
void FrameScanning::adjustThreshold(ThresholdAdjustment& adjustment) {
    const bool wasEnabled = !window_ || window_->isEnabled();
    enableWindow(true);
    ThresholdDialog dialog(adjustment, window_);
    dialog.exec();
    enableWindow(wasEnabled);
}

void FrameScanning::scanEnded() { progress_.reset(); }

std::optional<size_t> FrameScanning::choose(const std::vector<std::string>& sources, size_t current) {
    return DialogSourceChooser(window_).choose(sources, current);
}

bool FrameScanning::pump() {
    QApplication::processEvents();
    return !QCoreApplication::closingDown();
}

void FrameScanning::enableWindow(bool enabled) {
    if (window_) window_->setEnabled(enabled);
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
