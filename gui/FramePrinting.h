#pragma once
#include <QPrinter>
#include <memory>
#include <optional>

#include "app/DocumentPrintPages.h"
#include "view/PrintJob.h"

class QWidget;

namespace lumipage {

class CLP98Doc;
class Messages;
class CLP98View;
class OpenFileTable;
class PageNavigator;
class ViewHost;
struct Settings;

// The page list and the view lent to a print job: pages are gone to as the
// navigation does, shown whole while they print, and the view's page, level
// and scroll position are given back at the end. Marks and the selection
// are the page list's, as without a window.
class FramePrintPages : public DocumentPrintPages {
public:
    FramePrintPages(CLP98Doc& document, CLP98View& view, PageNavigator& navigator, ViewHost& host)
        : DocumentPrintPages(document), view_(view), navigator_(navigator), host_(host) {}

    bool showForPrinting(int page) override;
    const PageRaster* shownPage() const override;
    ViewState viewState() const override;
    void restoreViewState(const ViewState& state) override;
    ViewSize screenBitmapSize() const override;
    int levelDivisor() const override;

private:
    CLP98View& view_;
    PageNavigator& navigator_;
    ViewHost& host_;
};

// The print commands: print with or without the printer dialog, preview,
// printer set-up. One printer is kept for the whole run. `window` is the
// main window the dialogs belong to; null when printing runs without one
// (the command line's "-PRINT").
class FramePrinting {
public:
    FramePrinting(QWidget* window, PrintPages& pages, Settings& settings, Messages& messages)
        : window_(window), pages_(pages), settings_(settings), messages_(messages) {}
    static constexpr const char* kNoPrinter = "プリンタが見つかりません";

    // `client`: the page area's rectangle, for the current-screen range.
    void print(PrintRange range, PrinterDialog dialog, const ViewRect& client);
    void preview(PrintRange range, const ViewRect& client);
    void printerSetup();
    // Batch printing: all pages to the default printer; false when there is none.
    bool printAllDirect();

    QPrinter& printer();

private:
    void setUp(PrintJob& job, PrintRange range, bool preview, const ViewRect& client);
    // With `AutoMousePos` the pointer goes to the middle of the main window first.
    void moveMouseToCentre();

    QWidget* window_;
    PrintPages& pages_;
    Settings& settings_;
    Messages& messages_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace lumipage
