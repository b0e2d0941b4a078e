#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "image/PageRaster.h"
#include "scan/ScanJob.h"

namespace lumipage::test {

// Answers the scan dialog from a script (then "終了") and records what the
// job asked of the window.
class ScriptedScanUi : public ScanJobUi {
public:
    std::deque<ScanDialogResult> answers;
    std::vector<ScanDialogSetup> dialogs;
    int thresholdDialogs = 0;
    int newThreshold = -1;  // what the threshold dialog sets, -1: unchanged
    std::string newFileName;  // typed into the threshold dialog when not empty
    std::vector<PrinterDialog> copies;
    int sends = 0, conversions = 0, repaints = 0;

    // What the last dialog offered: the reduction methods and the zoom range.
    std::vector<std::string> reductions;
    std::optional<ScalingRange> zoom;

    ScanDialogResult showScanDialog(ScanSettings&, const ScanDialogSetup& setup) override {
        if (setup.capabilities) {
            reductions.clear();
            for (const ReductionChoice& r : setup.capabilities->reductions) reductions.push_back(r.text);
            zoom = setup.capabilities->scaling;
        }
        dialogs.push_back(setup);
        dialogs.back().capabilities = nullptr;
        if (answers.empty()) return ScanDialogResult::End;
        const ScanDialogResult next = answers.front();
        answers.pop_front();
        return next;
    }
    void adjustThreshold(ThresholdAdjustment& adjustment) override {
        ++thresholdDialogs;
        if (newThreshold >= 0) {
            adjustment.preview(newThreshold);
            adjustment.threshold = newThreshold;
        }
        if (!newFileName.empty()) adjustment.fileName = newFileName;
    }
    bool printCopy(PrinterDialog dialog) override {
        copies.push_back(dialog);
        return true;
    }
    bool sendAllPages() override { return ++sends > 0; }
    void convertAllPages() override { ++conversions; }
    void pageChanged() override { ++repaints; }
    // Ink counts of the scanned pages shown, in order.
    std::vector<size_t> shownInk;
    void showScannedPage(const PageRaster* page) override {
        if (!page) return;
        size_t ink = 0;
        for (int y = 0; y < page->height; ++y)
            for (uint32_t i = 0; i < page->bytesPerRow; ++i) ink += size_t(__builtin_popcount(page->row(y)[i]));
        shownInk.push_back(ink);
    }
};

}  // namespace lumipage::test
