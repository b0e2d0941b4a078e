#include "view/PageRenderer.h"

#include <algorithm>
#include <cstring>

#include "image/CDIB.h"
#include "image/PageRaster.h"
#include "view/ReductionTables.h"
#include "view/ZoomLevels.h"

namespace lumipage {

namespace {

using namespace reduction;

constexpr size_t kSlack = 16;  // whole 3-byte chunks may write up to 8 bytes past the row

void add16(uint8_t* at, uint16_t value) {
    uint16_t v;
    std::memcpy(&v, at, 2);
    v = uint16_t(v + value);
    std::memcpy(at, &v, 2);
}

// Calls f(index, b0, b1, b2) for `chunks` groups of three source bytes; a
// group reaching past the row reads paper.
template <class F>
void forEachThreeBytes(const uint8_t* row, int bytesPerRow, int chunks, F f) {
    const int whole = std::min(chunks, bytesPerRow / 3);
    for (int i = 0; i < whole; ++i, row += 3) f(i, row[0], row[1], row[2]);
    for (int i = whole; i < chunks; ++i) {
        uint8_t b[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k)
            if (3 * i + k < bytesPerRow) b[k] = row[3 * (i - whole) + k];
        f(i, b[0], b[1], b[2]);
    }
}

int ceilDiv(int a, int b) { return (a + b - 1) / b; }

// Four 6-bit groups of 24 page pixels, leftmost first.
struct Sixes {
    unsigned g0, g1, g2, g3;
    Sixes(uint8_t b0, uint8_t b1, uint8_t b2) {
        const unsigned v = unsigned(b0) << 16 | unsigned(b1) << 8 | b2;
        g0 = v >> 18;
        g1 = v >> 12 & 63;
        g2 = v >> 6 & 63;
        g3 = v & 63;
    }
};

}  // namespace

PageRenderer::Rows PageRenderer::rowsOf(const DisplayGeometry& g, int displayRow) {
    const int first = int(int64_t(displayRow) * g.divisor / 10);
    const int count = std::min(g.divisor / 10, g.pageHeight - first);
    return {first, std::max(count, 0)};
}

bool PageRenderer::render(const PageRaster& page, const DisplayGeometry& g, CDIB& bitmap) {
    if (!page.hasBits() || page.width != g.pageWidth || page.height != g.pageHeight ||
        int(page.bytesPerRow) != g.pageBytesPerRow || page.capacity() < size_t(page.height) * page.bytesPerRow)
        return false;
    if (bitmap.width() != g.displayWidth || bitmap.height() != g.displayHeight ||
        bitmap.bitsPerPixel() != g.bitsPerPixel || int(bitmap.stride()) < g.displayRowBytes)
        return false;
    if (g.displayWidth <= 0 || g.displayHeight <= 0) return true;

    if (g.level == zoom::kOneToOne) {
        for (int r = 0; r < g.displayHeight; ++r) std::memcpy(bitmap.rowAddress(r), page.row(r), page.bytesPerRow);
        return true;
    }
    displayRow_.resize(size_t(g.displayRowBytes) + kSlack);
    if (g.level <= zoom::kLastSummed) sums_.resize(size_t(g.displayWidth) + 4);
    for (int r = 0; r < g.displayHeight; ++r) {
        reduceRow(page, g, r);
        std::memcpy(bitmap.rowAddress(r), displayRow_.data(), size_t(g.displayRowBytes));
    }
    return true;
}

void PageRenderer::reduceRow(const PageRaster& page, const DisplayGeometry& g, int displayRow) {
    std::fill(displayRow_.begin(), displayRow_.end(), uint8_t{0});
    if (g.level == zoom::kOneAndAHalf) {
        addOneAndAHalfRows(page, g, displayRow);
        return;
    }
    const Rows rows = rowsOf(g, displayRow);
    if (g.level <= zoom::kLastSummed) {
        sumWholeBytes(page, g, rows);
        return;
    }
    for (int s = rows.first; s < rows.first + rows.count; ++s) addRow(page.row(s), int(page.bytesPerRow), g);
}

// Levels 1/64 to 1/16: each display pixel takes divisor / 80 whole source
// bytes; a ragged end of the row makes a last, narrower pixel.
void PageRenderer::sumWholeBytes(const PageRaster& page, const DisplayGeometry& g, Rows rows) {
    const int span = g.divisor / 80;
    const int bpr = int(page.bytesPerRow);
    const int whole = bpr / span;
    std::fill(sums_.begin(), sums_.end(), uint16_t{0});
    uint16_t* sums = sums_.data();
    for (int s = rows.first; s < rows.first + rows.count; ++s) {
        const uint8_t* p = page.row(s);
        for (int i = 0; i < whole; ++i) {
            unsigned sum = 0;
            for (int k = 0; k < span; ++k) sum += kBitCount[*p++];
            sums[i] = uint16_t(sums[i] + sum);
        }
        unsigned tail = 0;
        for (int k = whole * span; k < bpr; ++k) tail += kBitCount[*p++];
        sums[whole] = uint16_t(sums[whole] + tail);
    }
    uint8_t* out = displayRow_.data();
    for (int i = 0; i < g.displayWidth; ++i) out[i] = uint8_t(sums[i] >> g.shift);
}

// Levels 1/12 to 1/2: one source row added to the display row.
void PageRenderer::addRow(const uint8_t* row, int bpr, const DisplayGeometry& g) {
    uint8_t* out = displayRow_.data();
    const int rowBytes = g.displayRowBytes;
    switch (g.divisor) {
        case 20: {  // 1/2: one source byte, two display bytes
            const int n = std::min(bpr, ceilDiv(rowBytes, 2));
            for (int i = 0; i < n; ++i) add16(out + 2 * i, kPairs[row[i]]);
            break;
        }
        case 30:  // 1/3: three source bytes, four display bytes
            forEachThreeBytes(row, bpr, ceilDiv(rowBytes, 4), [out](int i, uint8_t b0, uint8_t b1, uint8_t b2) {
                const Sixes s(b0, b1, b2);
                uint8_t* o = out + 4 * i;
                o[0] = uint8_t(o[0] + kTriples[s.g0]);
                o[1] = uint8_t(o[1] + kTriples[s.g1]);
                o[2] = uint8_t(o[2] + kTriples[s.g2]);
                o[3] = uint8_t(o[3] + kTriples[s.g3]);
            });
            break;
        case 40: {  // 1/4: one source byte, two display pixels
            const int n = std::min(bpr, ceilDiv(rowBytes, 2));
            for (int i = 0; i < n; ++i) add16(out + 2 * i, kQuads[row[i]]);
            break;
        }
        case 60:  // 1/6: three source bytes, four display pixels
            forEachThreeBytes(row, bpr, ceilDiv(rowBytes, 4), [out](int i, uint8_t b0, uint8_t b1, uint8_t b2) {
                const Sixes s(b0, b1, b2);
                uint8_t* o = out + 4 * i;
                o[0] = uint8_t(o[0] + kBitCount[s.g0]);
                o[1] = uint8_t(o[1] + kBitCount[s.g1]);
                o[2] = uint8_t(o[2] + kBitCount[s.g2]);
                o[3] = uint8_t(o[3] + kBitCount[s.g3]);
            });
            break;
        case 80: {  // 1/8: one source byte, one display pixel
            const int n = std::min(bpr, rowBytes);
            for (int i = 0; i < n; ++i) out[i] = uint8_t(out[i] + kBitCount[row[i]]);
            break;
        }
        case 120:  // 1/12: three source bytes, two display pixels of one and a half bytes
            forEachThreeBytes(row, bpr, ceilDiv(rowBytes, 2), [out](int i, uint8_t b0, uint8_t b1, uint8_t b2) {
                uint8_t* o = out + 2 * i;
                o[0] = uint8_t(o[0] + kBitCount[b0] + kBitCount[b1 >> 4]);
                o[1] = uint8_t(o[1] + kBitCount[b1 & 15] + kBitCount[b2]);
            });
            break;
        default: break;
    }
}

// 1/1.5: display row 2k takes page row 3k counted twice; row 2k + 1 takes
// page rows 3k + 1 and 3k + 2 once each. Across, three page pixels make two
// display pixels (weights 2, 1 and 1, 2).
void PageRenderer::addOneAndAHalfRows(const PageRaster& page, const DisplayGeometry& g, int displayRow) {
    const int first = int(int64_t(displayRow) * g.divisor / 10);
    const bool twice = displayRow % 2 == 0;
    const int count = twice ? 1 : std::min(2, g.pageHeight - first);
    const auto& table = twice ? kWeightedTwice : kWeighted;
    const int bpr = int(page.bytesPerRow);
    uint8_t* out = displayRow_.data();
    for (int s = first; s < first + count; ++s)
        forEachThreeBytes(page.row(s), bpr, ceilDiv(g.displayRowBytes, 8),
                          [out, &table](int i, uint8_t b0, uint8_t b1, uint8_t b2) {
                              const Sixes x(b0, b1, b2);
                              uint8_t* o = out + 8 * i;
                              add16(o, table[x.g0]);
                              add16(o + 2, table[x.g1]);
                              add16(o + 4, table[x.g2]);
                              add16(o + 6, table[x.g3]);
                          });
}

}  // namespace lumipage
