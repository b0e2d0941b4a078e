// Fitting pages: an A4 page scanned at 300 dpi into the fax page, upright and
// turned, as the engine does it, as a pixel-by-pixel fit would, and as Qt's
// smooth scaling does the same job (scale into the fax page keeping the
// aspect, then back to one bit a pixel).
#include <benchmark/benchmark.h>

#include "QtReference.h"
#include "image/FitScaler.h"
#include "image/PageRaster.h"
#include "support/NaiveFit.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

void fitIntoFaxSize(benchmark::State& state, int width, int height, bool turn) {
    const PageRaster page = makePage(Pattern::Text, width, height, 7);
    FitScaler scaler;
    PageRaster target;
    target.setSize(1728, 2290);
    for (auto _ : state) {
        const bool ok = scaler.fitIntoRaster(page, std::nullopt, target, std::nullopt, turn);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(target.bits());
    }
    state.SetItemsProcessed(state.iterations());  // pages
}

void BM_FitA4At300DpiIntoFaxPage(benchmark::State& state) { fitIntoFaxSize(state, 2480, 3508, false); }
BENCHMARK(BM_FitA4At300DpiIntoFaxPage)->Unit(benchmark::kMillisecond);

void BM_FitLandscapeA4IntoFaxPageTurned(benchmark::State& state) { fitIntoFaxSize(state, 3508, 2480, true); }
BENCHMARK(BM_FitLandscapeA4IntoFaxPageTurned)->Unit(benchmark::kMillisecond);

void BM_FitFaxPageOneToOne(benchmark::State& state) { fitIntoFaxSize(state, 1728, 2290, false); }
BENCHMARK(BM_FitFaxPageOneToOne)->Unit(benchmark::kMillisecond);

// The same fit computed one output pixel at a time from the covering rule.
void BM_NaiveFitA4At300DpiIntoFaxPage(benchmark::State& state) {
    const PageRaster page = makePage(Pattern::Text, 2480, 3508, 7);
    const auto rectangle = fitRectangle(page, std::nullopt, false);
    const auto layout = planFit(page, *rectangle, false, false, 1728, 2290, std::nullopt);
    for (auto _ : state) {
        PageRaster out = test::naiveFit(page, *layout);
        benchmark::DoNotOptimize(out.bits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NaiveFitA4At300DpiIntoFaxPage)->Unit(benchmark::kMillisecond);

// The reference: QImage::scaled with smooth transformation into the fax
// page, converted back to a 1-bit page by threshold, as our fit delivers.
void BM_QtSmoothFitA4At300DpiIntoFaxPage(benchmark::State& state) {
    const PageRaster page = makePage(Pattern::Text, 2480, 3508, 7);
    const QImage source = bench::monoImage(page);
    for (auto _ : state) {
        const QImage fitted = source.scaled(1728, 2290, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        benchmark::DoNotOptimize(fitted.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QtSmoothFitA4At300DpiIntoFaxPage)->Unit(benchmark::kMillisecond);

class DiscardingSink : public FaxRowSink, public FaxRowProgress {
public:
    bool sendRow(std::span<const uint8_t> coded, bool) override {
        bytes += coded.size();
        return true;
    }
    bool drain() override { return true; }
    bool endPage() override { return true; }
    void showRow(int32_t) override {}
    size_t bytes = 0;
};

// Fitting and coding every row of a fax page, as sending does.
void BM_FitAndCodeFaxPage(benchmark::State& state) {
    const PageRaster page = makePage(Pattern::Text, 2480, 3508, 7);
    FitScaler scaler;
    DiscardingSink sink;
    for (auto _ : state) {
        const bool ok = scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink);
        benchmark::DoNotOptimize(ok);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FitAndCodeFaxPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumipage
