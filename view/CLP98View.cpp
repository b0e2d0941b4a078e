#include "view/CLP98View.h"

#include <algorithm>
#include <cstring>

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "view/ViewColours.h"

namespace lumipage {

namespace {

constexpr double kMillimetresPerInch = 25.399;
constexpr size_t kMostSavedPixelBytes = 5'000'000;

}  // namespace

CLP98View::CLP98View(ViewHost& host, ViewDocument& document, Settings& settings)
    : COSBView(host), document_(document), settings_(settings) {}

const PageRaster* CLP98View::displayedPage() const {
    const PageRaster* page = orientation_.displayed();
    return page && page->hasBits() ? page : nullptr;
}

bool CLP98View::pageShown() const { return displayedPage() != nullptr; }

Colour CLP98View::paperColour() {
    return ViewColours::paperColour(settings_, host_.systemColour(ViewHost::SystemColour::Window));
}

Colour CLP98View::inkColour() const {
    return ViewColours::inkColour(settings_, host_.systemColour(ViewHost::SystemColour::WindowText));
}

bool CLP98View::BuildDisplayBitmap(int level, SavedPixels saved) {
    if (saved == SavedPixels::Discard) savedPixels_.clear();
    bool built;
    gamma_ = settings_.adjustGamma != 0;
    if (const PageRaster* page = displayedPage()) {
        geometry_ = DisplayGeometry::forPage(*page, level);
        built = CreateOffscreenBitmap(geometry_.displayWidth, geometry_.displayHeight, geometry_.bitsPerPixel,
                                      geometry_.colours, paperColour(), inkColour(), settings_.contrast, true);
        geometry_.pageLoaded = built;
    } else if (const CDIB* colour = document_.colourPage()) {
        // A colour page is shown at its own size.
        geometry_ = DisplayGeometry{};
        geometry_.pageWidth = geometry_.displayWidth = colour->width();
        geometry_.pageHeight = geometry_.displayHeight = colour->height();
        geometry_.pageDpi = int(colour->pixelsPerMetreX() * kMillimetresPerInch * 0.001);
        geometry_.bitsPerPixel = colour->bitsPerPixel();
        geometry_.displayRowBytes = int(CDIB::strideFor(colour->width(), colour->bitsPerPixel()));
        built = CopyOffscreenBitmap(*colour);
    } else {
        geometry_ = DisplayGeometry{};
        built = CreateOffscreenBitmap(1, 1, 8, 16, rgb(255, 255, 255), rgb(0, 0, 0), 100, true);
    }
    updateStatusBar();
    return built;
}

void CLP98View::ClearDisplayBitmap(bool inverted) {
    if (hasBitmap()) {
        const int ink = geometry_.colours - 1;
        const int value = !inverted                     ? 0
                          : geometry_.bitsPerPixel == 1 ? 0xFF
                          : geometry_.bitsPerPixel == 4 ? ink * 17  // both pixels of the byte
                                                        : ink;
        bitmap().fill(uint8_t(value));
    }
    host_.invalidate();
}

void CLP98View::RenderPage() {
    if (!hasBitmap()) return;
    if (const PageRaster* page = displayedPage(); page && geometry_.pageLoaded) {
        renderer_.render(*page, geometry_, bitmap());
        return;
    }
    const CDIB* colour = document_.colourPage();
    if (!colour || colour->width() != bitmap().width() || colour->height() != bitmap().height()) return;
    const size_t bytes = std::min(colour->stride(), bitmap().stride());
    for (int y = 0; y < colour->height(); ++y) std::memcpy(bitmap().rowAddress(y), colour->rowAddress(y), bytes);
}

void CLP98View::RefreshColours() {
    if (!pageShown()) return;
    const ViewPoint scroll = scrollPosition();
    const size_t bytes = size_t(bitmap().stride()) * size_t(bitmap().height());
    if (level_ != zoom::kOneToOne && savedPixels_.empty() && bytes < kMostSavedPixelBytes)
        savedPixels_ = bitmap().copyBitsOut();
    if (!BuildDisplayBitmap(level_, SavedPixels::Keep)) return;
    scrollTo(scroll);
    if (savedPixels_.empty() || !bitmap().copyBitsIn(savedPixels_)) RenderPage();
    host_.invalidate();
}

std::vector<COSBView::Fill> CLP98View::background() const { return COSBView::background(settings_.viewFrameShadow); }

StatusTexts CLP98View::statusTexts() const {
    if (!geometry_.pageLoaded && !document_.colourPage()) return StatusTexts::forNoPage();
    return StatusTexts::forPage(geometry_.pageWidth, geometry_.pageHeight, geometry_.pageDpi, geometry_.divisor);
}

void CLP98View::updateStatusBar() {
    const StatusTexts texts = statusTexts();
    host_.setStatusText(1, texts.paper);
    host_.setStatusText(2, texts.pixels);
    host_.setStatusText(3, texts.dpi);
    host_.setStatusText(4, texts.zoom);
}

void CLP98View::OnInitialUpdate() {
    setCentring(settings_.viewCenter != 0);
    COSBView::OnInitialUpdate();
}

void CLP98View::OnUpdate(int hint) {
    if (hint == 0) ShowCurrentPage();
}

// The freshly loaded raster takes its page word's turn, mirroring and
// inversion, the level follows the fit mode, and the page is placed as the
// PageStartPosition setting says.
void CLP98View::ShowCurrentPage() {
    shownVersion_ = document_.pageVersion();
    orientation_.showPage(document_.pageRaster(), document_.pageWord());
    storePageWord();
    level_ = FitLevel(fitMode_);
    raiseFrameLevel();
    ClearDisplayBitmap(orientation_.inverted());
    if (!BuildDisplayBitmap(level_)) return;
    RenderPage();
    resizeFrame();
    switch (settings_.pageStartPosition) {
        case 1: ScrollVertical(kTop); break;
        case 2: ScrollToEdges(kEdgeStart, kEdgeStart); break;
        case 3: ScrollToEdges(kEdgeEnd, kEdgeStart); break;
        default: break;
    }
    keepFrameInside();
    host_.invalidate();
    repaintPending_ = true;
}

void CLP98View::flushPendingPaint() {
    if (repaintPending_) host_.updateNow();
}

int CLP98View::OnSize(bool sizedByUser) {
    scrollTo(scrollPosition());  // the new client size may allow less scrolling
    if (frameShown()) {
        resizeFrame();
        keepFrameInside();
        host_.invalidate();
    }
    if (!sizedByUser || fitMode_ == kFitNone || !pageShown() || FitLevel(fitMode_) == level_) return 0;
    return fitMode_ == kFitTwicePageWidth ? command::kFitTwicePageWidth
           : fitMode_ == kFitPageWidth    ? command::kFitPageWidth
                                          : command::kFitWholePage;
}

void CLP98View::storePageWord() {
    if (document_.pageRaster() && document_.pageWord() != orientation_.word()) document_.setPageWord(orientation_.word());
}

}  // namespace lumipage
