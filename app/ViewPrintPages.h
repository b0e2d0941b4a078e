#pragma once
#include "app/DocumentPrintPages.h"

namespace lumipage {

class CLP98View;
class PageNavigator;
class ViewHost;

// The page list and the view lent to a print job: pages are gone to as the
// navigation does, shown whole while they print, and the view's page, level
// and scroll position are given back at the end. Marks and the selection
// are the page list's, as without a window.
class ViewPrintPages : public DocumentPrintPages {
public:
    ViewPrintPages(CLP98Doc& document, CLP98View& view, PageNavigator& navigator, ViewHost& host)
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

}  // namespace lumipage
