// Page coding speed: our encoder against libtiff's CCITT encoders coding the
// same raster, timed in turn in the same loop. Encode/<page>/<coding> reports
// both times and libtiff's time over ours ("libtiff/ours", above 1 means ours
// is faster). libtiff codes into a TIFF file in memory, whose few header bytes
// cost next to nothing beside a page.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "BenchPages.h"
#include "image/PageEncoder.h"
#include "support/LibtiffWriter.h"

namespace lumipage {
namespace {

using bench::BenchCoding;

struct OurEncoder {
    PageEncoder encoder;
    std::vector<uint8_t> out;
    size_t run(const PageRaster& page, int32_t coding) {
        const PageToEncode view = PageToEncode::of(page).withCoding(coding);
        out.resize(PageEncoder::bufferSize(view));
        return encoder.encodePage(out, view);
    }
};

size_t libtiffRun(const PageRaster& page, const BenchCoding& c) {
    return test::libtiffEncode(page, c.compression, c.twoDimensional ? 1 : 0).size();
}

void compare(benchmark::State& state, size_t pageIndex, BenchCoding c) {
    using Clock = std::chrono::steady_clock;
    const PageRaster& page = bench::benchPage(pageIndex);
    OurEncoder ours;
    if (ours.run(page, c.coding) == 0) state.SkipWithError("our encoder failed");
    if (libtiffRun(page, c) == 0) state.SkipWithError("libtiff failed");
    Clock::duration oursTime{}, theirsTime{};
    size_t bytes = 0, tiffBytes = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(bytes = ours.run(page, c.coding));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(tiffBytes = libtiffRun(page, c));
        const auto t2 = Clock::now();
        oursTime += t1 - t0;
        theirsTime += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = std::chrono::duration<double, std::milli>(oursTime).count() / n;
    state.counters["libtiff_ms"] = std::chrono::duration<double, std::milli>(theirsTime).count() / n;
    state.counters["libtiff/ours"] = double(theirsTime.count()) / double(std::max<Clock::rep>(oursTime.count(), 1));
    state.counters["coded_bytes"] = double(bytes);
    state.counters["tiff_bytes"] = double(tiffBytes);
}

// Ours alone, for profiling.
void oursOnly(benchmark::State& state, size_t pageIndex, BenchCoding c) {
    const PageRaster& page = bench::benchPage(pageIndex);
    OurEncoder ours;
    for (auto _ : state) benchmark::DoNotOptimize(ours.run(page, c.coding));
}

const bool kRegistered = [] {
    for (size_t page = 0; page < bench::kBenchPages.size(); ++page)
        for (const BenchCoding& c : bench::kBenchCodings) {
            const std::string suffix = std::string(bench::kBenchPages[page].name) + "/" + c.name;
            benchmark::RegisterBenchmark(("Encode/" + suffix).c_str(), compare, page, c)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("EncodeOurs/" + suffix).c_str(), oursOnly, page, c)
                ->Unit(benchmark::kMillisecond);
        }
    return true;
}();

}  // namespace
}  // namespace lumipage
