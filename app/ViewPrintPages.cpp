#include "app/ViewPrintPages.h"

#include "view/CLP98View.h"
#include "view/PageNavigator.h"
#include "view/ViewHost.h"
#include "view/ZoomLevels.h"

namespace lumipage {

bool ViewPrintPages::showForPrinting(int page) {
    const bool wasCurrent = page == navigator_.currentPage();
    if (!wasCurrent) {
        navigator_.goToPage(page);
        if (navigator_.currentPage() != page || !view_.pageShown()) return false;
    }
    // The screen follows the job, the page shown whole.
    const int whole = view_.FitLevel(CLP98View::kFitWholePage);
    if (!wasCurrent || view_.level() != whole) {
        view_.SetZoomLevel(whole);
        view_.ScrollToEdges(CLP98View::kEdgeStart, CLP98View::kEdgeStart);
        host_.updateNow();
    }
    return view_.pageShown();
}

const PageRaster* ViewPrintPages::shownPage() const {
    const PageRaster* page = view_.orientation().displayed();
    return page && page->hasBits() ? page : nullptr;
}

PrintPages::ViewState ViewPrintPages::viewState() const {
    return {navigator_.currentPage(), view_.level(), view_.scrollPosition()};
}

void ViewPrintPages::restoreViewState(const ViewState& state) {
    if (state.page != navigator_.currentPage() && state.page >= 1 && state.page <= navigator_.pageCount())
        navigator_.goToPage(state.page);
    if (view_.level() != state.level) view_.SetZoomLevel(state.level);
    view_.userScrollTo(state.scroll);
    host_.invalidate();
}

ViewSize ViewPrintPages::screenBitmapSize() const {
    return {view_.geometry().displayWidth, view_.geometry().displayHeight};
}

int ViewPrintPages::levelDivisor() const { return zoom::divisor(view_.level()); }

}  // namespace lumipage
