#include "support/NaiveFit.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace lumipage::test {

std::vector<std::pair<int, int>> naiveCovers(const fit::RatioColumn& column) {
    if (column.covers == "copy") return {{0, 0}};
    std::vector<std::pair<int, int>> covers;
    std::istringstream in{std::string(column.covers)};
    std::string item;
    while (std::getline(in, item, ',')) {
        int first = 0;
        int last = 0;
        const int got = std::sscanf(item.c_str(), " %d-%d", &first, &last);
        covers.emplace_back(first, got == 2 ? last : first);
    }
    return covers;
}

std::vector<uint16_t> naiveTable(const fit::RatioColumn& column) {
    const auto covers = naiveCovers(column);
    const int l = column.sourcePixels;
    std::vector<uint16_t> table(size_t{1} << l);
    for (size_t x = 0; x < table.size(); ++x) {
        for (int out = 0; out < column.outputPixels; ++out) {
            bool black = false;
            for (int p = 0; p < l && p < int(covers.size()); ++p) {
                const bool set = (x >> (l - 1 - p)) & 1;
                if (set && covers[size_t(p)].first <= out && out <= covers[size_t(p)].second) black = true;
            }
            if (black) table[x] = uint16_t(table[x] | (0x8000u >> out));
        }
    }
    return table;
}

bool pixel(const PageRaster& page, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= page.width || y >= page.height) return false;
    return (page.row(y)[x / 8] >> (7 - x % 8)) & 1;
}

void setPixel(PageRaster& page, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= page.width || y >= page.height) return;
    page.row(y)[x / 8] |= uint8_t(0x80 >> (x % 8));
}

namespace {

// A pixel of the source in the layout's coordinates: with a turn, turned
// pixel (x, y) is page pixel (bytesPerRow x 8 - 1 - y, x).
bool sourcePixel(const PageRaster& page, const FitLayout& f, int32_t x, int32_t y) {
    if (!f.turned) return pixel(page, x, y);
    return pixel(page, int32_t(page.bytesPerRow) * 8 - 1 - y, x);
}

bool covers(const std::pair<int, int>& c, int out) { return c.first <= out && out <= c.second; }

}  // namespace

PageRaster naiveFit(const PageRaster& page, const FitLayout& f) {
    PageRaster out;
    out.create(f.destinationWidth, f.destinationHeight, page.dpi);
    const size_t index = size_t(f.ratio - kFitRatioList.data());
    const auto cover = naiveCovers(fit::kRatioColumns[index]);
    const int l = f.ratio->sourcePixels;
    const int h = f.ratio->outputPixels;
    const int32_t sourceWidth = f.source.width();
    const int32_t sourceHeight = f.source.height();
    const int32_t rows = (sourceHeight + l - 1) / l * h;  // the last group completed with white
    for (int32_t oy = 0; oy < rows && f.destinationTop + oy < f.destinationHeight; ++oy) {
        const int32_t gy = oy / h;
        const int ky = oy % h;
        for (int32_t ox = 0; ox < f.outputColumns && f.destinationLeft + ox < f.destinationWidth; ++ox) {
            const int32_t gx = ox / h;
            const int kx = ox % h;
            bool black = false;
            for (int i = 0; i < l && !black; ++i) {
                const int32_t sx = gx * l + i;
                if (!covers(cover[size_t(i)], kx) || sx >= sourceWidth) continue;
                for (int j = 0; j < l && !black; ++j) {
                    const int32_t sy = gy * l + j;
                    if (!covers(cover[size_t(j)], ky) || sy >= sourceHeight) continue;
                    black = sourcePixel(page, f, f.source.left + sx, f.source.top + sy);
                }
            }
            if (black) setPixel(out, f.destinationLeft + ox, f.destinationTop + oy);
        }
    }
    return out;
}

}  // namespace lumipage::test
