// Loading pages from TIFF files: our reader against libtiff's
// TIFFReadEncodedStrip on the same files (the typed fax page, the 300 dpi
// scan and the noise page, each G3 one-dimensional and G4). TiffRead/Compare times both in one
// loop and reports libtiff's time over ours (above 1 means ours is faster).
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "BenchPages.h"
#include "image/PageRaster.h"
#include "image/TiffReader.h"
#include "support/LibtiffFiles.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace {

using namespace lumipage;

// Files written once per run: page index x compression (3: G3 one-dimensional, 4: G4).
const std::string& benchFile(int page, int compression) {
    static std::map<std::pair<int, int>, std::string> files;
    static const std::string folder = test::tempFolder();
    auto& path = files[{page, compression}];
    if (path.empty()) {
        const PageRaster& image = bench::benchPage(size_t(page));
        test::LibtiffPage p;
        p.image = &image;
        p.compression = compression;
        p.xResolution = p.yResolution = image.width > 2000 ? 300 : 200;
        path = folder + "/" + bench::kBenchPages[size_t(page)].name + "-" + std::to_string(compression) + ".tif";
        if (!test::writeTiffWithLibtiff(path, {p})) path.clear();
    }
    return path;
}

bool loadOurs(const std::string& path, PageRaster& raster) {
    test::RecordingMessages messages;
    TiffReader reader;
    return reader.open(path, messages) && reader.loadPage(1, raster, {}, messages);
}

bool loadLibtiff(const std::string& path, std::vector<uint8_t>& buffer) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return false;
    bool ok = true;
    size_t at = 0;
    buffer.resize(size_t(TIFFNumberOfStrips(tif)) * size_t(TIFFStripSize(tif)));
    for (uint32_t s = 0; s < TIFFNumberOfStrips(tif) && ok; ++s) {
        const tmsize_t n = TIFFReadEncodedStrip(tif, s, buffer.data() + at, TIFFStripSize(tif));
        ok = n >= 0;
        at += size_t(n);
    }
    TIFFClose(tif);
    return ok;
}

void setLabel(benchmark::State& state) {
    state.SetLabel(std::string(bench::kBenchPages[size_t(state.range(0))].name) + (state.range(1) == 4 ? " G4" : " G3"));
}

void Ours(benchmark::State& state) {
    const std::string& path = benchFile(int(state.range(0)), int(state.range(1)));
    PageRaster raster;
    for (auto _ : state) {
        if (!loadOurs(path, raster)) state.SkipWithError("our reader failed");
        benchmark::DoNotOptimize(raster.bits());
    }
    setLabel(state);
}

void Libtiff(benchmark::State& state) {
    const std::string& path = benchFile(int(state.range(0)), int(state.range(1)));
    TIFFSetWarningHandler(nullptr);
    std::vector<uint8_t> buffer;
    for (auto _ : state) {
        if (!loadLibtiff(path, buffer)) state.SkipWithError("libtiff failed");
        benchmark::DoNotOptimize(buffer.data());
    }
    setLabel(state);
}

void Compare(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const std::string& path = benchFile(int(state.range(0)), int(state.range(1)));
    TIFFSetWarningHandler(nullptr);
    PageRaster raster;
    std::vector<uint8_t> buffer;
    Clock::duration ours{}, theirs{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        loadOurs(path, raster);
        const auto t1 = Clock::now();
        loadLibtiff(path, buffer);
        const auto t2 = Clock::now();
        ours += t1 - t0;
        theirs += t2 - t1;
        benchmark::DoNotOptimize(raster.bits());
        benchmark::DoNotOptimize(buffer.data());
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = std::chrono::duration<double, std::milli>(ours).count() / n;
    state.counters["libtiff_ms"] = std::chrono::duration<double, std::milli>(theirs).count() / n;
    state.counters["libtiff/ours"] = double(theirs.count()) / double(std::max<Clock::rep>(ours.count(), 1));
    setLabel(state);
}

void pages(benchmark::internal::Benchmark* b) {
    for (int page = 0; page < int(bench::kBenchPages.size()); ++page)
        for (int compression : {3, 4}) b->Args({page, compression});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(Ours)->Name("TiffRead/Ours")->Apply(pages);
BENCHMARK(Libtiff)->Name("TiffRead/Libtiff")->Apply(pages);
BENCHMARK(Compare)->Name("TiffRead/Compare")->Apply(pages);

}  // namespace
