#pragma once
#include "image/PageOrientation.h"
#include "view/PrintJob.h"

namespace lumipage {

class CLP98Doc;
class OpenFileTable;

// The page list lent to a print job run without a window (the command
// line's "-PRINT"): pages are loaded by the document and shown with their
// page words as the window would show them; there is no view to follow the
// job or to give back afterwards.
class DocumentPrintPages : public PrintPages {
public:
    explicit DocumentPrintPages(CLP98Doc& doc);

    int pageCount() const override;
    int currentPage() const override;
    std::vector<int> selectedPages() override;
    bool showForPrinting(int page) override;
    const PageRaster* shownPage() const override;
    const CDIB* colourPage() const override { return nullptr; }
    bool inMemoryPage() const override;
    void markPrint(int page, int status) override;
    void recountMarks() override;
    ViewState viewState() const override { return {}; }
    void restoreViewState(const ViewState&) override {}
    ViewSize screenBitmapSize() const override { return {0, 0}; }
    int levelDivisor() const override { return 10; }

private:
    CLP98Doc& doc_;
    OpenFileTable& table_;
    PageOrientation orientation_;
};

}  // namespace lumipage
