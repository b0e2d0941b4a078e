#pragma once
#include <vector>

#include "view/PrintBitmap.h"
#include "view/PrintLayout.h"
#include "view/ViewTypes.h"

namespace lumipage {

class CDIB;
class PageRaster;

// One printed sheet as the printer (or the preview) offers it.
class PrintSheet {
public:
    virtual ~PrintSheet() = default;
    // The drawing rectangle, in printer pixels, from the sheet's top-left.
    virtual ViewSize drawingSize() const = 0;
    // Draws a 1-bit bitmap (index 0 white, 1 black) stretched into `destination`.
    virtual void drawBitmap(const CDIB& bitmap, const ViewRect& destination) = 0;
    // Draws a page kept as a colour bitmap, as the window shows it.
    virtual void drawColourPage(const CDIB& page) = 0;
};

// The page list and the view as a print job borrows them.
class PrintPages {
public:
    struct ViewState {
        int page = 0;
        int level = 0;
        ViewPoint scroll{};
    };

    virtual ~PrintPages() = default;
    virtual int pageCount() const = 0;
    virtual int currentPage() const = 0;
    // The selected global pages, in page order, after a fresh count of the marks.
    virtual std::vector<int> selectedPages() = 0;
    // Makes the page current as going to it does, applies its page word and
    // shows it whole, so the screen follows the job. False when it cannot be loaded.
    virtual bool showForPrinting(int page) = 0;
    // The current page as shown (turned, mirrored, inverted), or null for a colour page.
    virtual const PageRaster* shownPage() const = 0;
    virtual const CDIB* colourPage() const = 0;
    // A page held only in memory: it is printed but never marked.
    virtual bool inMemoryPage() const = 0;
    // Print status 1 (printed) or 2 (print error) in the page's word.
    virtual void markPrint(int page, int status) = 0;
    virtual void recountMarks() = 0;
    virtual ViewState viewState() const = 0;
    virtual void restoreViewState(const ViewState& state) = 0;
    // What the current-screen range needs: the screen bitmap's size, the
    // scroll position and the current level's divisor (in tenths).
    virtual ViewSize screenBitmapSize() const = 0;
    virtual int levelDivisor() const = 0;
};

// A print or preview job over a range of pages: one sheet a page, each page
// printed as shown, in black on white; pages marked printed or print error;
// the view's page, level and scroll given back at the end.
class PrintJob {
public:
    static constexpr int kPrinted = 1;
    static constexpr int kPrintError = 2;

    explicit PrintJob(PrintPages& pages) : pages_(pages) {}

    // Set by the print commands before the job runs. `client` is the
    // window's client rectangle (used by the current-screen range).
    void setUp(PrintRange range, bool preview, bool ownResolution, const ViewRect& client = {});
    // The number of sheets: 0 means there is nothing to print (the
    // selected-page commands with no page selected).
    int prepare();
    void begin();
    // Prints sheet n (1-based) on `sheet`; false when the page was skipped.
    bool printSheet(int n, PrintSheet& sheet);
    void end();

    PrintRange range() const { return range_; }
    bool preview() const { return preview_; }
    const CDIB& lastBitmap() const { return bitmap_.bitmap(); }

private:
    int pageOfSheet(int n) const;
    void mark(int page, int status);

    PrintPages& pages_;
    PrintRange range_ = PrintRange::AllPages;
    bool preview_ = false;
    bool ownResolution_ = false;
    ViewRect client_{};
    std::vector<int> selected_;
    PrintPages::ViewState saved_{};
    PrintBitmap bitmap_;
};

}  // namespace lumipage
