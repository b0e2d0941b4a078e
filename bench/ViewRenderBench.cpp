// The view's page reduction, and a whole page change: decoding a T.6 page,
// building the display bitmap and rendering it, at the levels a page is
// usually shown at. The pages: the 300 dpi scan (blurred noisy text, dust,
// a dithered photograph) and a synthetic text page. The reference for the
// reduction is Qt's smooth scaling of the same page to the same display
// size, as grey.
#include <benchmark/benchmark.h>

#include <vector>

#include "BenchPages.h"
#include "QtReference.h"
#include "base/Settings.h"
#include "image/CDIB.h"
#include "image/PageDecoder.h"
#include "image/PageEncoder.h"
#include "support/TestImages.h"
#include "support/ViewFakes.h"
#include "view/CLP98View.h"
#include "view/DisplayGeometry.h"
#include "view/PageRenderer.h"

namespace {

using namespace lumipage;

constexpr int kWidth = 2480, kHeight = 3508;  // A4 at 300 dpi
constexpr int kTiffG4 = 14;

const PageRaster& a4Text() {
    static const PageRaster page = test::makePage(test::Pattern::Text, kWidth, kHeight, 1);
    return page;
}

const PageRaster& a4Scan() { return bench::benchPage(1); }

// Argument: the zoom level (8 = 1/4, the whole page in a 1280 x 900 window;
// 10 = 1/2, the page width; 12 = 1:1).
void BM_Render(benchmark::State& state) {
    const PageRaster& page = a4Scan();
    const DisplayGeometry g = DisplayGeometry::forPage(page, int(state.range(0)));
    CDIB bitmap;
    bitmap.create(g.displayWidth, g.displayHeight, g.bitsPerPixel, 0);
    PageRenderer renderer;
    for (auto _ : state) benchmark::DoNotOptimize(renderer.render(page, g, bitmap));
    state.SetLabel("1/" + std::to_string(g.divisor / 10) + (g.divisor % 10 ? ".5" : ""));
    state.SetBytesProcessed(int64_t(state.iterations()) * page.bytesPerRow * page.height);
}
BENCHMARK(BM_Render)->DenseRange(0, 12)->Unit(benchmark::kMillisecond);

// The reference: the same page scaled by Qt to the same display size with
// smooth transformation, as grey. Argument: the zoom level, as above.
void BM_QtSmoothRender(benchmark::State& state) {
    const PageRaster& page = a4Scan();
    const DisplayGeometry g = DisplayGeometry::forPage(page, int(state.range(0)));
    const QImage source = bench::monoImage(page);
    for (auto _ : state) {
        const QImage grey = source.scaled(g.displayWidth, g.displayHeight, Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_Grayscale8);
        benchmark::DoNotOptimize(grey.constBits());
    }
    state.SetLabel("1/" + std::to_string(g.divisor / 10) + (g.divisor % 10 ? ".5" : ""));
}
BENCHMARK(BM_QtSmoothRender)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond);

// Argument: 0 the scan, 1 the text page.
std::vector<uint8_t> g4Strip(int pageKind) {
    const PageToEncode view = PageToEncode::of(pageKind == 0 ? a4Scan() : a4Text()).withCoding(kTiffG4);
    std::vector<uint8_t> out(PageEncoder::bufferSize(view));
    PageEncoder encoder;
    out.resize(encoder.encodePage(out, view));
    return out;
}

// A page change as the window sees it: the reader allocates and decodes the
// page, the view applies the page word, fits, builds, clears and renders.
// Arguments: the fit mode (1 whole page, 2 page width) in a 1280 x 900
// window, the page (0 the scan, 1 the text page).
void BM_PageChange(benchmark::State& state) {
    const std::vector<uint8_t> strip = g4Strip(int(state.range(1)));
    test::FakeViewHost host;
    host.client = {1280, 900};
    test::FakeViewDocument document;
    Settings settings;
    CLP98View view(host, document, settings);
    view.OnInitialUpdate();
    view.setFitMode(int(state.range(0)));
    PageDecoder decoder;
    for (auto _ : state) {
        document.page.create(kWidth, kHeight, 300);
        document.page.coding = kTiffG4;
        decoder.decodePage(strip, document.page);
        view.ShowCurrentPage();
    }
    state.SetLabel(std::string(state.range(1) == 0 ? "scan" : "text") + ", level " + std::to_string(view.level()) +
                   ", G4 strip of " + std::to_string(strip.size()) + " bytes");
}
BENCHMARK(BM_PageChange)->Args({1, 0})->Args({2, 0})->Args({1, 1})->Args({2, 1})->Unit(benchmark::kMillisecond);

// The decoding alone, to tell the two parts apart.
void BM_DecodeOnly(benchmark::State& state) {
    const std::vector<uint8_t> strip = g4Strip(0);
    PageRaster page;
    PageDecoder decoder;
    for (auto _ : state) {
        page.create(kWidth, kHeight, 300);
        page.coding = kTiffG4;
        decoder.decodePage(strip, page);
    }
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// A colour change while a page is shown: the quick refresh, which keeps the
// reduced pixel values and rebuilds only the bitmap and its colours, beside
// showing the page again with the new colours (the reduction repeated).
// Argument: 0 quick refresh, 1 page shown again; the fit mode is the page width.
void BM_ColourChange(benchmark::State& state) {
    test::FakeViewHost host;
    host.client = {1280, 900};
    test::FakeViewDocument document;
    document.page = test::makePage(test::Pattern::Text, kWidth, kHeight, 1);
    Settings settings;
    settings.paperColorMode = 0;
    CLP98View view(host, document, settings);
    view.OnInitialUpdate();
    view.setFitMode(CLP98View::kFitPageWidth);
    view.ShowCurrentPage();
    int bright = 100;
    for (auto _ : state) {
        bright = bright == 100 ? 90 : 100;
        settings.bright = bright;
        if (state.range(0) == 0) view.RefreshColours();
        else view.ShowCurrentPage();
    }
    state.SetLabel(std::string(state.range(0) == 0 ? "quick refresh" : "reduced again") + ", level " +
                   std::to_string(view.level()));
}
BENCHMARK(BM_ColourChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
