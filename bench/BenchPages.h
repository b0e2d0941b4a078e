#pragma once
// The pages every codec benchmark runs on: a typed fax page, a 300 dpi scan
// (blurred noisy text edges, skew, dust, a dithered photograph) and a page of
// random noise. Each is drawn once per run.
#include <array>
#include <string>

#include "image/PageRaster.h"
#include "tools/RealisticPages.h"

namespace lumipage::bench {

struct BenchPage {
    const char* name;
    PageRaster (*draw)();
};

inline const std::array<BenchPage, 3> kBenchPages{{
    {"fax", [] { return samples::typedFaxPage(); }},
    {"scan300", [] { return samples::scannedPage(); }},
    {"noise", [] { return samples::noisePage(); }},
}};

inline const PageRaster& benchPage(size_t index) {
    static std::array<PageRaster, 3> pages;
    static std::array<bool, 3> drawn{};
    if (!drawn[index]) {
        pages[index] = kBenchPages[index].draw();
        drawn[index] = true;
    }
    return pages[index];
}

// One coding as our encoder names it and as libtiff is told it.
struct BenchCoding {
    const char* name;
    int32_t coding;     // PageCoding
    int compression;    // TIFF Compression
    bool twoDimensional;
};

inline constexpr std::array<BenchCoding, 4> kBenchCodings{{
    {"MH", 11, 2, false},
    {"G3-1D", 12, 3, false},
    {"G3-2D", 13, 3, true},
    {"G4", 14, 4, false},
}};

}  // namespace lumipage::bench
