// The view's page reduction, and a whole page change: decoding a T.6 page,
// building the display bitmap and rendering it, at the levels a page is
// usually shown at.
#include <benchmark/benchmark.h>

#include <vector>

#include "base/Settings.h"
#include "image/CDIB.h"
#include "image/MHDecoder.h"
#include "image/MHEncoder.h"
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

// Argument: the zoom level (8 = 1/4, the whole page in a 1280 x 900 window;
// 10 = 1/2, the page width; 12 = 1:1).
void BM_Render(benchmark::State& state) {
    const PageRaster& page = a4Text();
    const DisplayGeometry g = DisplayGeometry::forPage(page, int(state.range(0)));
    CDIB bitmap;
    bitmap.create(g.displayWidth, g.displayHeight, g.bitsPerPixel, 0);
    PageRenderer renderer;
    for (auto _ : state) benchmark::DoNotOptimize(renderer.render(page, g, bitmap));
    state.SetLabel("1/" + std::to_string(g.divisor / 10) + (g.divisor % 10 ? ".5" : ""));
    state.SetBytesProcessed(int64_t(state.iterations()) * page.bytesPerRow * page.height);
}
BENCHMARK(BM_Render)->DenseRange(0, 12)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> g4Strip() {
    const PageToEncode view = PageToEncode::of(a4Text()).withCoding(kTiffG4);
    std::vector<uint8_t> out(MHEncoder::bufferSize(view));
    MHEncoder encoder;
    out.resize(encoder.encodePage(out, view));
    return out;
}

// A page change as the window sees it: the reader allocates and decodes the
// page, the view applies the page word, fits, builds, clears and renders.
// Argument: the fit mode (1 whole page, 2 page width) in a 1280 x 900 window.
void BM_PageChange(benchmark::State& state) {
    const std::vector<uint8_t> strip = g4Strip();
    test::FakeViewHost host;
    host.client = {1280, 900};
    test::FakeViewDocument document;
    Settings settings;
    CLP98View view(host, document, settings);
    view.OnInitialUpdate();
    view.setFitMode(int(state.range(0)));
    MHDecoder decoder;
    for (auto _ : state) {
        document.page.create(kWidth, kHeight, 300);
        document.page.coding = kTiffG4;
        decoder.decodePage(strip, document.page);
        view.ShowCurrentPage();
    }
    state.SetLabel("level " + std::to_string(view.level()) + ", G4 strip of " + std::to_string(strip.size()) +
                   " bytes");
}
BENCHMARK(BM_PageChange)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The decoding alone, to tell the two parts apart.
void BM_DecodeOnly(benchmark::State& state) {
    const std::vector<uint8_t> strip = g4Strip();
    PageRaster page;
    MHDecoder decoder;
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
