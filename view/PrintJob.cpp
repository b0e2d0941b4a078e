#include "view/PrintJob.h"

#include "image/PageRaster.h"

namespace lumipage {

void PrintJob::setUp(PrintRange range, bool preview, bool ownResolution, const ViewRect& client) {
    range_ = range;
    preview_ = preview;
    ownResolution_ = ownResolution;
    client_ = client;
    selected_.clear();
    if (range_ == PrintRange::SelectedPages) selected_ = pages_.selectedPages();
}

int PrintJob::prepare() {
    switch (range_) {
    case PrintRange::AllPages:
        return pages_.pageCount();
    case PrintRange::SelectedPages:
        return int(selected_.size());
    case PrintRange::FirstPage:
    case PrintRange::CurrentScreen:
        return pages_.pageCount() > 0 ? 1 : 0;
    }
    return 0;
}

void PrintJob::begin() { saved_ = pages_.viewState(); }

int PrintJob::pageOfSheet(int n) const {
    switch (range_) {
    case PrintRange::SelectedPages:
        return n >= 1 && n <= int(selected_.size()) ? selected_[size_t(n - 1)] : 0;
    case PrintRange::AllPages:
        return n;
    default:
        return pages_.currentPage();
    }
}

void PrintJob::mark(int page, int status) {
    // The preview never marks; nor is a page held only in memory marked.
    if (preview_ || page <= 0 || pages_.inMemoryPage()) return;
    pages_.markPrint(page, status);
}

bool PrintJob::printSheet(int n, PrintSheet& sheet) {
    const int page = pageOfSheet(n);
    if (page <= 0 || page > pages_.pageCount()) return false;
    if (range_ == PrintRange::AllPages || range_ == PrintRange::SelectedPages) {
        if (!pages_.showForPrinting(page)) {
            if (!preview_) pages_.markPrint(page, kPrintError);
            return false;
        }
    }
    const PageRaster* shown = pages_.shownPage();
    if (!shown) {
        const CDIB* colour = pages_.colourPage();
        if (!colour) {
            mark(page, kPrintError);
            return false;
        }
        sheet.drawColourPage(*colour);
        mark(page, kPrinted);
        return true;
    }
    const ViewSize target = sheet.drawingSize();
    const ViewSize size{shown->width, shown->height};
    const ViewRect region =
        range_ == PrintRange::CurrentScreen
            ? print::currentScreenRegion(client_, saved_.scroll, pages_.screenBitmapSize(), pages_.levelDivisor(), size)
            : ViewRect{0, 0, size.cx, size.cy};
    const print::BitmapShape shape = print::bitmapShape(region, target, ownResolution_);
    if (!bitmap_.fill(*shown, shape)) {
        mark(page, kPrintError);
        return false;
    }
    const CDIB& bitmap = bitmap_.bitmap();
    sheet.drawBitmap(bitmap, print::placement(target, {bitmap.width(), bitmap.height()}));
    mark(page, kPrinted);
    return true;
}

void PrintJob::end() {
    pages_.recountMarks();
    bitmap_.release();
    pages_.restoreViewState(saved_);
}

}  // namespace lumipage
