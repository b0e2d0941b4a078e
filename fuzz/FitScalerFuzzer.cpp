// Fitting with any geometry: page size, clip rectangle, destination size,
// offset and turn come from the first input bytes, the pixels from the rest.
// Nothing may be read or written outside the buffers, and the unused bits at
// the end of the destination's rows must stay white.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "image/BitTables.h"
#include "image/FitScaler.h"
#include "image/PageRaster.h"

using namespace lumipage;

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    int32_t number(int32_t low, int32_t high) {
        const uint32_t v = uint32_t(byte()) << 8 | byte();
        return low + int32_t(v % uint32_t(high - low + 1));
    }
    const uint8_t* rest() const { return data_ + at_; }
    size_t left() const { return at_ < size_ ? size_ - at_ : 0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class NullFax : public FaxRowSink, public FaxRowProgress, public FaxRowCoder {
public:
    bool sendRow(std::span<const uint8_t>, bool) override { return true; }
    bool drain() override { return true; }
    bool endPage() override { return true; }
    void showRow(int32_t) override {}
    size_t codeRow(std::span<const uint8_t> row, std::span<uint8_t> out) override {
        if (row.size() > out.size()) return 0;
        std::memcpy(out.data(), row.data(), row.size());
        return row.size();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 24 || size > (1 << 16)) return 0;
    Bytes in(data, size);
    const uint8_t flags = in.byte();
    const int32_t width = in.number(1, 700);
    const int32_t height = in.number(1, 700);
    std::optional<PageRect> clip;
    if (flags & 1) clip = PageRect{in.number(-50, 750), in.number(-50, 750), in.number(-50, 750), in.number(-50, 750)};
    std::optional<PagePoint> offset;
    if (flags & 2) offset = PagePoint{in.number(-20, 1500), in.number(-20, 1500)};
    const bool turn = flags & 4;
    const int32_t targetWidth = in.number(0, 1500);
    const int32_t targetHeight = in.number(0, 1500);

    PageRaster page;
    if (!page.create(width, height, 200)) return 0;
    if (in.left() > 0)
        for (size_t i = 0; i < size_t(height) * page.bytesPerRow; ++i) page.bits()[i] = in.rest()[i % in.left()];
    page.clearPadding();

    FitScaler scaler;
    switch ((flags >> 3) % 3) {
        case 0: {
            PageRaster target;
            target.setSize(targetWidth, targetHeight);
            if (scaler.fitIntoRaster(page, clip, target, offset, turn) && target.width % 8 != 0) {
                const uint8_t unused = uint8_t(~bits::lastByteMask(target.width));
                for (int32_t y = 0; y < target.height; ++y)
                    if (target.row(y)[target.bytesPerRow - 1] & unused) __builtin_trap();
            }
            break;
        }
        case 1: {
            if (targetWidth == 0 || targetHeight == 0) break;
            const size_t stride = size_t((targetWidth + 31) / 32 * 4);
            std::vector<uint8_t> bitmap(stride * size_t(targetHeight));
            const BitmapRows rows{bitmap.data() + stride * size_t(targetHeight - 1), -ptrdiff_t(stride), targetWidth,
                                  targetHeight};
            scaler.fitIntoBitmapRows(page, clip, rows, offset);
            break;
        }
        case 2: {
            NullFax fax;
            scaler.fitIntoFaxPage(page, clip, offset, fax, fax, fax);
            break;
        }
    }
    return 0;
}
