// The fitting engine: source rows (plain, or turned 8 at a time by 8 x 8
// transposition), then a copy or a table scaling. Horizontally each group of
// l source pixels is one table lookup giving h output pixels; vertically the
// table's single-pixel entries say which output rows each source row of a
// group covers, and those rows are ORed a byte at a time.
#include "image/FitScaler.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "image/BitTables.h"
#include "image/PageRaster.h"

namespace lumipage {

namespace {

bool isWhite(const uint8_t* row, size_t bytes) {
    uint8_t any = 0;
    for (size_t i = 0; i < bytes; ++i) any |= row[i];
    return any == 0;
}

void orInto(uint8_t* to, const uint8_t* from, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) to[i] |= from[i];
}

// Scales one row: every group of l source bits (the last one filled with
// white) becomes the table's h output bits. Writes exactly `outBytes` bytes.
void scaleRow(const uint8_t* row, size_t bytes, const ScaleRatio& ratio, uint8_t* out, size_t outBytes) {
    const int l = ratio.sourcePixels;
    const int h = ratio.outputPixels;
    const uint32_t groupMask = (1u << l) - 1;
    const uint16_t* table = ratio.table.data();
    uint8_t* const end = out + outBytes;
    const size_t groups = (bytes * 8 + size_t(l) - 1) / size_t(l);
    uint64_t in = 0;  // source bits not yet taken: the low `inBits`
    int inBits = 0;
    size_t next = 0;
    uint64_t made = 0;  // output bits not yet stored: the low `madeBits`
    int madeBits = 0;
    for (size_t g = 0; g < groups && out < end; ++g) {
        while (inBits < l) {
            in = (in << 8) | (next < bytes ? row[next] : 0u);
            ++next;
            inBits += 8;
        }
        inBits -= l;
        made = (made << h) | (table[(in >> inBits) & groupMask] >> (16 - h));
        madeBits += h;
        while (madeBits >= 8 && out < end) {
            madeBits -= 8;
            *out++ = uint8_t(made >> madeBits);
        }
    }
    if (out < end && madeBits > 0) *out++ = uint8_t(made << (8 - madeBits));
    std::fill(out, end, uint8_t{0});
}

// Whether the planned source lies inside the page's buffer, rounding rows
// included (the turned path reads whole bands of 8 rows).
bool sourceInside(const PageRaster& page, const FitLayout& f) {
    const int32_t rowsHeld = (page.height + 7) & ~7;
    const int32_t columnsHeld = int32_t(page.bytesPerRow) * 8;
    const PageRect& s = f.source;
    if (s.left < 0 || s.top < 0 || s.left % 8 != 0 || s.right % 8 != 0) return false;
    if (f.turned) return s.right <= rowsHeld && s.bottom <= columnsHeld;
    return s.right <= columnsHeld && s.bottom <= page.height;
}

bool validPage(const PageRaster& page) {
    return page.hasBits() && page.width > 0 && page.height > 0 && page.bytesPerRow == uint32_t(page.width + 7) / 8 &&
           page.capacity() >= size_t((page.height + 7) & ~7) * page.bytesPerRow;
}

}  // namespace

// Hands out the rows of the planned source rectangle from the top down.
class FitScaler::SourceRows {
public:
    SourceRows(const PageRaster& page, const FitLayout& f, std::vector<uint8_t>& transposed)
        : page_(page), f_(f), bytes_(size_t(f.source.width() / 8)), transposed_(transposed) {}

    size_t bytes() const { return bytes_; }

    const uint8_t* row(int32_t y) {
        if (!f_.turned) return page_.row(y) + f_.source.left / 8;
        const int32_t group = y / 8;
        if (group != loadedGroup_) transpose(group);
        return transposed_.data() + size_t(y % 8) * bytes_;
    }

private:
    // Turned rows 8g .. 8g + 7 are page byte column bytesPerRow - 1 - g read
    // down the page: the byte's last pixel gives the first of the 8 rows and
    // its first pixel (bit 7) the eighth; the topmost page row lands in each
    // turned byte's top bit.
    void transpose(int32_t group) {
        const size_t stride = page_.bytesPerRow;
        const uint8_t* column = page_.bits() + (stride - 1 - size_t(group)) + size_t(f_.source.left) * stride;
        uint8_t* out = transposed_.data();
        for (size_t band = 0; band < bytes_; ++band, column += 8 * stride) {
            uint64_t spread = 0;
            for (size_t j = 0; j < 8; ++j) spread |= bits::kSpreadLsbFirst[column[j * stride]] >> j;
            for (size_t k = 0; k < 8; ++k) out[k * bytes_ + band] = uint8_t(spread >> (8 * k));
        }
        loadedGroup_ = group;
    }

    const PageRaster& page_;
    const FitLayout& f_;
    size_t bytes_;
    std::vector<uint8_t>& transposed_;
    int32_t loadedGroup_ = -1;
};

bool FitScaler::reserve(const FitLayout& f) {
    const size_t sourceBytes = size_t(f.source.width() / 8);
    const size_t outBytes = size_t(f.outputColumns / 8);
    const size_t h = size_t(f.ratio->outputPixels);
    try {
        if (f.turned && transposed_.size() < sourceBytes * 8) transposed_.resize(sourceBytes * 8);
        if (!f.ratio->isCopy()) {
            if (groupRows_.size() < h * outBytes) groupRows_.resize(h * outBytes);
            if (scaledRow_.size() < outBytes) scaledRow_.resize(outBytes);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool FitScaler::run(const PageRaster& source, const FitLayout& layout, FitRowOutput& output) {
    if (!validPage(source) || !layout.ratio || !sourceInside(source, layout)) return false;
    if (layout.isEmpty() || layout.source.width() <= 0 || layout.source.height() <= 0) return true;
    if (!reserve(layout)) return false;
    SourceRows rows(source, layout, transposed_);
    return layout.ratio->isCopy() ? copyRows(rows, layout, output) : scaleRows(rows, layout, output);
}

bool FitScaler::copyRows(SourceRows& rows, const FitLayout& f, FitRowOutput& output) {
    const size_t bytes = std::min(rows.bytes(), size_t(f.outputColumns / 8));
    for (int32_t y = f.source.top; y < f.source.bottom; ++y) {
        const int32_t to = f.destinationTop + (y - f.source.top);
        if (to >= f.destinationHeight) break;
        if (!output.putRow(to, {rows.row(y), bytes})) return false;
    }
    return true;
}

bool FitScaler::scaleRows(SourceRows& rows, const FitLayout& f, FitRowOutput& output) {
    const ScaleRatio& ratio = *f.ratio;
    const int l = ratio.sourcePixels;
    const int h = ratio.outputPixels;
    const size_t outBytes = size_t(f.outputColumns / 8);
    uint8_t* const group = groupRows_.data();

    int32_t to = f.destinationTop;
    // Emits the h rows of a group, as far as they fit in the destination.
    auto emit = [&]() {
        for (int k = 0; k < h && to < f.destinationHeight; ++k, ++to)
            if (!output.putRow(to, {group + size_t(k) * outBytes, outBytes})) return false;
        std::memset(group, 0, size_t(h) * outBytes);
        return true;
    };

    std::memset(group, 0, size_t(h) * outBytes);
    int inGroup = 0;
    for (int32_t y = f.source.top; y < f.source.bottom && to < f.destinationHeight; ++y) {
        const uint8_t* row = rows.row(y);
        if (!isWhite(row, rows.bytes())) {
            scaleRow(row, rows.bytes(), ratio, scaledRow_.data(), outBytes);
            // The output rows this source row covers, as the table gives them.
            const uint16_t covers = ratio.table[1u << (l - 1 - inGroup)];
            for (int k = 0; k < h; ++k)
                if (covers & (0x8000u >> k)) orInto(group + size_t(k) * outBytes, scaledRow_.data(), outBytes);
        }
        if (++inGroup == l) {
            inGroup = 0;
            if (!emit()) return false;
        }
    }
    // An incomplete last group: the missing rows are white.
    if (inGroup > 0 && !emit()) return false;
    return true;
}

}  // namespace lumipage
