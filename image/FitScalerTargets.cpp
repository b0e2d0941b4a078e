// The three destinations of a fit: a page raster, the rows of a bitmap, and
// a fax page sent row by row.
#include <algorithm>
#include <cstring>
#include <new>

#include "image/BitTables.h"
#include "image/CDIB.h"
#include "image/FitScaler.h"
#include "image/PageRaster.h"
#include "image/T4RowCoder.h"

namespace lumipage {

namespace {

bool hasPixels(const PageRaster& page) { return page.hasBits() && page.width > 0 && page.height > 0; }

// Writes output rows into image rows, keeping the unused bits at the right
// end of every row white.
class RowsOutput : public FitRowOutput {
public:
    RowsOutput(const BitmapRows& target, int32_t left) : target_(target), leftByte_(size_t(left / 8)) {}

    bool putRow(int32_t y, std::span<const uint8_t> columns) override {
        const size_t rowBytes = target_.rowBytes();
        if (y < 0 || y >= target_.height || leftByte_ >= rowBytes) return true;
        uint8_t* row = target_.row(y);
        const size_t n = std::min(columns.size(), rowBytes - leftByte_);
        std::memcpy(row + leftByte_, columns.data(), n);
        row[rowBytes - 1] &= bits::lastByteMask(target_.width);
        return true;
    }

private:
    BitmapRows target_;
    size_t leftByte_;
};

// Completes every row of the fax page, white where the image leaves it,
// codes it and hands it to the sink in order.
class FaxPageOutput : public FitRowOutput {
public:
    FaxPageOutput(const FitLayout& layout, std::vector<uint8_t>& row, std::vector<uint8_t>& coded,
                  FaxRowProgress& progress, FaxRowSink& sink, FaxRowCoder& coder)
        : leftByte_(size_t(layout.destinationLeft / 8)), row_(row), coded_(coded), progress_(progress),
          sink_(sink), coder_(coder) {}

    bool putRow(int32_t y, std::span<const uint8_t> columns) override {
        std::fill(row_.begin(), row_.end(), uint8_t{0});
        while (next_ < y)
            if (!send()) return false;
        if (leftByte_ < row_.size())
            std::memcpy(row_.data() + leftByte_, columns.data(), std::min(columns.size(), row_.size() - leftByte_));
        return send();
    }

    // The white rows below the image, then the end of the page.
    bool finish() {
        std::fill(row_.begin(), row_.end(), uint8_t{0});
        while (next_ < FitScaler::kFaxHeight)
            if (!send()) return false;
        return sink_.endPage();
    }

private:
    static constexpr size_t kPageStartBytes = 16;  // within the spare room of the coded row

    bool send() {
        const bool last = next_ == FitScaler::kFaxHeight - 1;
        progress_.showRow(next_ + 1);
        // Whatever opens the page goes out with its first row.
        const size_t opening = next_ == 0 ? coder_.codePageStart({coded_.data(), kPageStartBytes}) : 0;
        if (opening > kPageStartBytes) return false;
        const size_t n = coder_.codeRow(row_, {coded_.data() + opening, FitScaler::kCodedRowBytes});
        if (n == 0 || n > FitScaler::kCodedRowBytes) return false;
        // Fax data goes to the modem least significant bit first.
        PageRaster::reverseBitOrder(coded_.data(), opening + n);
        if (!sink_.sendRow({coded_.data(), opening + n}, last)) return false;
        ++next_;
        return last || sink_.drain();
    }

    size_t leftByte_;
    std::vector<uint8_t>& row_;
    std::vector<uint8_t>& coded_;
    FaxRowProgress& progress_;
    FaxRowSink& sink_;
    FaxRowCoder& coder_;
    int32_t next_ = 0;
};

}  // namespace

bool FitScaler::fitIntoRaster(const PageRaster& source, const std::optional<PageRect>& clip, PageRaster& destination,
                              const std::optional<PagePoint>& offset, bool turn) {
    if (&source == &destination) return false;
    const std::optional<PageRect> rectangle = hasPixels(source) ? fitRectangle(source, clip, turn) : std::nullopt;
    if (!rectangle) {
        destination.clear();
        return false;
    }
    const int32_t width = destination.width == 0 ? rectangle->width() : destination.width;
    const int32_t height = destination.height == 0 ? rectangle->height() : destination.height;
    if (width <= 0 || height <= 0 || width > PageRaster::kMaxSide || height > PageRaster::kMaxSide) {
        destination.clear();
        return false;
    }
    destination.setSize(width, height);
    if (!destination.hasBits() || destination.capacity() < destination.imageSize) {
        if (!destination.allocate(destination.imageSize)) return false;
    } else {
        destination.clear();
    }
    const std::optional<FitLayout> layout = planFit(source, *rectangle, clip.has_value(), turn, width, height, offset);
    if (!layout) return false;
    const BitmapRows rows{destination.bits(), ptrdiff_t(destination.bytesPerRow), width, height};
    RowsOutput output(rows, layout->destinationLeft);
    if (run(source, *layout, output)) return true;
    destination.clear();
    return false;
}

bool FitScaler::fitIntoBitmapRows(const PageRaster& source, const std::optional<PageRect>& clip,
                                  const BitmapRows& target, const std::optional<PagePoint>& offset) {
    if (!target.top || target.width <= 0 || target.height <= 0) return false;
    const size_t stride = size_t(target.step < 0 ? -target.step : target.step);
    if (stride < target.rowBytes()) return false;
    for (int32_t y = 0; y < target.height; ++y) std::memset(target.row(y), 0, stride);

    const std::optional<PageRect> bounds = hasPixels(source) ? clippedBounds(source, clip) : std::nullopt;
    if (!bounds) return false;
    const bool turn = bounds->isLandscape() != (target.height < target.width);
    const std::optional<PageRect> rectangle = fitRectangle(source, clip, turn);
    const std::optional<FitLayout> layout =
        planFit(source, *rectangle, clip.has_value(), turn, target.width, target.height, offset);
    if (!layout) return false;
    RowsOutput output(target, layout->destinationLeft);
    if (run(source, *layout, output)) return true;
    for (int32_t y = 0; y < target.height; ++y) std::memset(target.row(y), 0, stride);
    return false;
}

bool FitScaler::fitIntoBitmap(const PageRaster& source, const std::optional<PageRect>& clip, CDIB& bitmap,
                              const std::optional<PagePoint>& offset) {
    if (bitmap.bitsPerPixel() != 1 || !bitmap.rowAddress(0)) return false;
    // Row 0 is the top row in either storage order; a bottom-up bitmap steps backwards.
    const ptrdiff_t stride = ptrdiff_t(bitmap.stride());
    const ptrdiff_t step = bitmap.rowOrder() == 1 ? -stride : stride;
    return fitIntoBitmapRows(source, clip, BitmapRows{bitmap.rowAddress(0), step, bitmap.width(), bitmap.height()},
                             offset);
}

bool FitScaler::fitIntoFaxPage(const PageRaster& source, const std::optional<PageRect>& clip,
                               const std::optional<PagePoint>& offset, FaxRowProgress& progress, FaxRowSink& sink) {
    T4RowCoder coder;
    return fitIntoFaxPage(source, clip, offset, progress, sink, coder);
}

bool FitScaler::fitIntoFaxPage(const PageRaster& source, const std::optional<PageRect>& clip,
                               const std::optional<PagePoint>& offset, FaxRowProgress& progress, FaxRowSink& sink,
                               FaxRowCoder& coder) {
    const std::optional<PageRect> bounds = hasPixels(source) ? clippedBounds(source, clip) : std::nullopt;
    if (!bounds) return false;
    // The fax page is upright: a landscape rectangle is turned.
    const bool turn = bounds->isLandscape();
    const std::optional<PageRect> rectangle = fitRectangle(source, clip, turn);
    const std::optional<FitLayout> layout =
        planFit(source, *rectangle, clip.has_value(), turn, kFaxWidth, kFaxHeight, offset);
    if (!layout) return false;
    try {
        faxRow_.assign(size_t(kFaxWidth / 8), 0);
        // A little room beyond the usable part, for coders that write ahead.
        codedRow_.resize(kCodedRowBytes + 100);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FaxPageOutput output(*layout, faxRow_, codedRow_, progress, sink, coder);
    return run(source, *layout, output) && output.finish();
}

}  // namespace lumipage
