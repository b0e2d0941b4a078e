// Our page encoder against libtiff's CCITT encoders on text-like pages.
#include <benchmark/benchmark.h>

#include <tiffio.h>

#include <chrono>
#include <vector>

#include "image/MHEncoder.h"
#include "support/LibtiffWriter.h"
#include "support/TestImages.h"

namespace {

using namespace lumipage;

// A fax page (1728 x 2290) or an A4 page at 300 dpi (2480 x 3508) of text.
const PageRaster& textPage(int width, int height) {
    static const PageRaster fax = test::makePage(test::Pattern::Text, 1728, 2290, 1);
    static const PageRaster a4 = test::makePage(test::Pattern::Text, 2480, 3508, 1);
    return width == fax.width && height == fax.height ? fax : a4;
}

int compressionOf(int coding) { return coding == 14 ? COMPRESSION_CCITTFAX4 : COMPRESSION_CCITTFAX3; }

struct OurEncoder {
    MHEncoder encoder;
    std::vector<uint8_t> out;
    size_t run(const PageRaster& page, int coding) {
        const PageToEncode view = PageToEncode::of(page).withCoding(coding);
        out.resize(MHEncoder::bufferSize(view));
        return encoder.encodePage(out, view);
    }
};

// Arguments: width, height, coding (12 = G3, 14 = G4).
void BM_Ours(benchmark::State& state) {
    const PageRaster& page = textPage(int(state.range(0)), int(state.range(1)));
    OurEncoder ours;
    size_t bytes = 0;
    for (auto _ : state) benchmark::DoNotOptimize(bytes = ours.run(page, int(state.range(2))));
    state.counters["coded_bytes"] = double(bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * page.bytesPerRow * page.height);
}

void BM_Libtiff(benchmark::State& state) {
    const PageRaster& page = textPage(int(state.range(0)), int(state.range(1)));
    size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = test::libtiffEncode(page, compressionOf(int(state.range(2)))).size());
    state.counters["tiff_bytes"] = double(bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * page.bytesPerRow * page.height);
}

// Both coders in turn on the same page; reports libtiff's time over ours.
void BM_Ratio(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const PageRaster& page = textPage(int(state.range(0)), int(state.range(1)));
    const int coding = int(state.range(2));
    OurEncoder ours;
    double oursSeconds = 0, libtiffSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(ours.run(page, coding));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(test::libtiffEncode(page, compressionOf(coding)).size());
        const auto t2 = Clock::now();
        oursSeconds += std::chrono::duration<double>(t1 - t0).count();
        libtiffSeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = oursSeconds / n * 1e3;
    state.counters["libtiff_ms"] = libtiffSeconds / n * 1e3;
    state.counters["speedup"] = libtiffSeconds / oursSeconds;
}

void pages(benchmark::internal::Benchmark* b) {
    for (int coding : {14, 12}) {
        b->Args({1728, 2290, coding});
        b->Args({2480, 3508, coding});
    }
    b->ArgNames({"w", "h", "coding"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Ours)->Apply(pages);
BENCHMARK(BM_Libtiff)->Apply(pages);
BENCHMARK(BM_Ratio)->Apply(pages);

}  // namespace
