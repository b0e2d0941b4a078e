// Strips of a memory transfer as a scanner source might send them: page
// geometry, bit depth and every strip's layout come from the input bytes,
// the strip data from the rest. Nothing may be read outside the strip
// buffer or written outside the raster and its gray copy, and the unused
// bits at the end of each raster row must stay white.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image/PageRaster.h"
#include "scan/StripWriter.h"

using namespace lumipage;

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t word() { return uint32_t(byte()) << 8 | byte(); }
    // Mostly small values, sometimes huge or the don't-care value.
    uint32_t field() {
        const uint8_t kind = byte();
        if (kind == 0xff) return 0xffffffff;
        if (kind >= 0xf0) return uint32_t(word()) << 16 | word();
        return word() % 600;
    }
    size_t left() const { return at_ < size_ ? size_ - at_ : 0; }
    const uint8_t* take(size_t n) {
        const uint8_t* p = data_ + at_;
        at_ += n;
        return p;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    const int width = 1 + int(in.word() % 400);
    const int height = 1 + int(in.word() % 200);
    const int bits[3] = {1, 4, 8};
    const int depth = bits[in.byte() % 3];
    const int threshold = in.byte();
    const bool xerox = in.byte() & 1;
    PageRaster page;
    if (!page.create(width, height, 300)) return 0;
    std::vector<uint8_t> gray;
    StripWriter writer(page, gray, depth, threshold, xerox);
    for (int strip = 0; strip < 16 && in.left() > 0; ++strip) {
        StripLayout layout{in.field(), in.field(), in.field(), in.field(), in.field(), in.field()};
        const size_t length = std::min<size_t>(in.word(), in.left());
        // The strip's own buffer, exactly as long as the source says, so that overreads show.
        const uint8_t* start = in.take(length);
        std::vector<uint8_t> buffer(start, start + length);
        writer.store(buffer, layout);
    }
    const uint8_t mask = width % 8 == 0 ? 0 : uint8_t(0xff >> (width % 8));
    for (int y = 0; y < height; ++y)
        if (page.row(y)[page.bytesPerRow - 1] & mask) std::abort();
    if (depth == 8 && gray.size() != size_t(width) * size_t(height)) std::abort();
    return 0;
}
