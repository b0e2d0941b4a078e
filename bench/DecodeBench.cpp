// Page decoding speed: our decoder and libtiff's TIFFReadEncodedStrip on the
// same coded strips, timed in turn in the same loop. Decode/<page>/<coding>
// reports both times and libtiff's time over ours ("libtiff/ours", above 1
// means ours is faster). Each of our runs includes clearing the page, as
// loading a page does; libtiff reads the strip from the mapped file (opened
// without strip chopping, so the page is one strip for both).
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "BenchPages.h"
#include "image/PageDecoder.h"
#include "support/LibtiffCoder.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using bench::BenchCoding;

struct Sample {
    std::string tiffPath;        // the page as a single-strip TIFF file written by libtiff
    std::vector<uint8_t> strip;  // its strip as stored
    int width = 0, height = 0;
};

// Each page in each coding, coded once by libtiff.
const Sample& sample(size_t page, const BenchCoding& c) {
    static std::map<std::string, Sample> samples;
    const std::string key = std::string(bench::kBenchPages[page].name) + "-" + c.name;
    auto it = samples.find(key);
    if (it != samples.end()) return it->second;
    static const std::string folder = test::tempFolder();
    const PageRaster& raster = bench::benchPage(page);
    Sample s;
    s.width = raster.width;
    s.height = raster.height;
    s.tiffPath = folder + "/" + key + ".tif";
    test::libtiffWriteFile(s.tiffPath, raster, {c.compression, c.twoDimensional, 1, 0});
    s.strip = test::libtiffRawStrips(s.tiffPath).at(0);
    return samples.emplace(key, std::move(s)).first->second;
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

class LibtiffPage {
public:
    explicit LibtiffPage(const std::string& path) : tif_(TIFFOpen(path.c_str(), "rc")) {
        buffer_.resize(size_t(TIFFStripSize(tif_.get())));
    }
    bool read() { return TIFFReadEncodedStrip(tif_.get(), 0, buffer_.data(), tmsize_t(buffer_.size())) > 0; }

private:
    std::unique_ptr<TIFF, TiffCloser> tif_;
    std::vector<uint8_t> buffer_;
};

class OurPage {
public:
    OurPage(const Sample& s, const BenchCoding& c) : data_(s.strip) {
        page_.coding = c.coding;
        page_.create(s.width, s.height, 200);
    }
    bool read() {
        page_.clear();
        return decoder_.decodePage(data_, page_) == page_.height;
    }

private:
    const std::vector<uint8_t>& data_;
    PageRaster page_;
    PageDecoder decoder_;
};

void compare(benchmark::State& state, size_t pageIndex, BenchCoding c) {
    using Clock = std::chrono::steady_clock;
    const Sample& s = sample(pageIndex, c);
    OurPage ours(s, c);
    LibtiffPage theirs(s.tiffPath);
    if (!ours.read()) state.SkipWithError("the page did not decode whole");
    if (!theirs.read()) state.SkipWithError("libtiff could not read the page");
    Clock::duration oursTime{}, theirsTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(ours.read());
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(theirs.read());
        const auto t2 = Clock::now();
        oursTime += t1 - t0;
        theirsTime += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = std::chrono::duration<double, std::milli>(oursTime).count() / n;
    state.counters["libtiff_ms"] = std::chrono::duration<double, std::milli>(theirsTime).count() / n;
    state.counters["libtiff/ours"] = double(theirsTime.count()) / double(std::max<Clock::rep>(oursTime.count(), 1));
}

// Ours alone, for profiling.
void oursOnly(benchmark::State& state, size_t pageIndex, BenchCoding c) {
    OurPage ours(sample(pageIndex, c), c);
    if (!ours.read()) state.SkipWithError("the page did not decode whole");
    for (auto _ : state) benchmark::DoNotOptimize(ours.read());
}

const bool kRegistered = [] {
    for (size_t page = 0; page < bench::kBenchPages.size(); ++page)
        for (const BenchCoding& c : bench::kBenchCodings) {
            const std::string suffix = std::string(bench::kBenchPages[page].name) + "/" + c.name;
            benchmark::RegisterBenchmark(("Decode/" + suffix).c_str(), compare, page, c)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("DecodeOurs/" + suffix).c_str(), oursOnly, page, c)
                ->Unit(benchmark::kMillisecond);
        }
    return true;
}();

}  // namespace
}  // namespace lumipage
