#pragma once
#include <functional>

#include "fax/FaxJobPages.h"
#include "image/PageOrientation.h"

namespace lumipage {

class CLP98Doc;
class OpenFileTable;

// The pages of a send job taken from the page list: all pages or the
// selected ones in list order, each loaded by the document and shown with
// its display transform.
class DocumentFaxPages : public FaxJobPages {
public:
    enum class Range { All, Selected };

    DocumentFaxPages(CLP98Doc& doc, Range range);

    // Called with false when the call starts and true when it ends.
    void onMainWindowEnabled(std::function<void(bool)> f) { enable_ = std::move(f); }
    // The view's scroll position around the job.
    void onViewSaved(std::function<void()> save, std::function<void()> restore) {
        saveScroll_ = std::move(save);
        restoreScroll_ = std::move(restore);
    }

    int rangePages() const override;
    int globalPage(int rangePage) const override;
    Load showPage(int globalPage) override;
    const PageRaster* displayedPage() const override { return orientation_.displayed(); }
    std::string fileName() const override;
    void markPage(int globalPage, uint8_t marks) override;
    void saveView() override;
    void restoreView() override;
    void enableMainWindow(bool enabled) override {
        if (enable_) enable_(enabled);
    }

private:
    CLP98Doc& doc_;
    OpenFileTable& table_;
    Range range_;
    PageOrientation orientation_;
    int savedPage_ = 0;
    std::function<void(bool)> enable_;
    std::function<void()> saveScroll_;
    std::function<void()> restoreScroll_;
};

}  // namespace lumipage
