// Page decoding speed: our decoder and libtiff's TIFFReadEncodedStrip on the
// same coded pages, side by side. Each of our runs includes clearing the
// page, as loading a page does; libtiff reads the strip from the mapped file
// (opened without strip chopping, so the page is one strip for both).
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "image/MHDecoder.h"
#include "support/LibtiffCoder.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct Coding {
    const char* name;
    PageCoding coding;
    int compression;
    bool twoDimensional;
    int fillOrder;
};

constexpr Coding kCodings[] = {
    {"Raw", PageCoding::Bit, test::kTiffUncompressed, false, 1},
    {"FaxG3", PageCoding::FaxG3, test::kTiffGroup3, false, 2},
    {"TiffMH", PageCoding::TiffMH, test::kTiffModifiedHuffman, false, 1},
    {"TiffG3", PageCoding::TiffG3, test::kTiffGroup3, false, 1},
    {"TiffG3MR", PageCoding::TiffG3MR, test::kTiffGroup3, true, 1},
    {"TiffG4", PageCoding::TiffG4, test::kTiffGroup4, false, 1},
};

struct Sample {
    std::string tiffPath;        // the page as a single-strip TIFF file written by libtiff
    std::vector<uint8_t> strip;  // its strip as stored
};

// One text-like page per size and coding, made once.
const Sample& sample(int width, int height, const Coding& c) {
    static std::map<std::string, Sample> samples;
    const std::string key = std::to_string(width) + "x" + std::to_string(height) + c.name;
    auto it = samples.find(key);
    if (it != samples.end()) return it->second;
    static const std::string folder = test::tempFolder();
    const PageRaster page = test::makePage(test::Pattern::Text, width, height, 1);
    Sample s;
    s.tiffPath = folder + "/" + key + ".tif";
    test::libtiffWriteFile(s.tiffPath, page, {c.compression, c.twoDimensional, c.fillOrder, 0});
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
    OurPage(int width, int height, const Coding& c, const std::vector<uint8_t>& data) : data_(data) {
        page_.coding = int32_t(c.coding);
        page_.create(width, height, 200);
    }
    bool read() {
        page_.clear();
        return decoder_.decodePage(data_, page_) == page_.height;
    }

private:
    const std::vector<uint8_t>& data_;
    PageRaster page_;
    MHDecoder decoder_;
};

template <class Reader>
double secondsPerPage(Reader& reader, int pages) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < pages; ++i) reader.read();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / pages;
}

void ours(benchmark::State& state, int width, int height, Coding c) {
    const Sample& s = sample(width, height, c);
    OurPage page(width, height, c, s.strip);
    if (!page.read()) state.SkipWithError("the page did not decode whole");
    for (auto _ : state) benchmark::DoNotOptimize(page.read());
    state.counters["pages/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    // The same pages through libtiff in the same run, for the ratio.
    LibtiffPage theirs(s.tiffPath);
    double best = 1e9, bestOurs = 1e9;
    for (int round = 0; round < 5; ++round) {
        best = std::min(best, secondsPerPage(theirs, 10));
        bestOurs = std::min(bestOurs, secondsPerPage(page, 10));
    }
    char label[64];
    std::snprintf(label, sizeof label, "%.2f times as fast as libtiff", best / bestOurs);
    state.SetLabel(label);
}

void libtiff(benchmark::State& state, int width, int height, Coding c) {
    LibtiffPage page(sample(width, height, c).tiffPath);
    if (!page.read()) state.SkipWithError("libtiff could not read the page");
    for (auto _ : state) benchmark::DoNotOptimize(page.read());
    state.counters["pages/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

const bool kRegistered = [] {
    struct Size {
        int width, height;
    };
    for (const Size size : {Size{1728, 2290}, Size{2480, 3508}}) {
        for (const Coding& c : kCodings) {
            const std::string suffix = std::string(c.name) + "/" + std::to_string(size.width) + "x" +
                                       std::to_string(size.height);
            benchmark::RegisterBenchmark(("Decode/Ours/" + suffix).c_str(), ours, size.width, size.height, c)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("Decode/Libtiff/" + suffix).c_str(), libtiff, size.width, size.height, c)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    return true;
}();

}  // namespace
}  // namespace lumipage
