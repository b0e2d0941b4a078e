#include "image/OneDimensionalCoder.h"

#include "image/RunFinder.h"

namespace lumipage {

namespace mh {

// The runs between the row's changes, white first: a row starting black
// begins with a white run of 0, and the last run ends at `pixels`.
void putRowRuns(BitWriter& out, const uint8_t* row, int pixels) {
    int last = 0;
    bool black = false;
    forEachChange(row, pixels, [&](int x) {
        putRun(out, x - last, black);
        last = x;
        black = !black;
    });
    putRun(out, pixels - last, black);
}

}  // namespace mh

size_t encodeOneDimensionalRow(std::span<const uint8_t> row, std::span<uint8_t> out,
                               const OneDimensionalOptions& options) {
    const int pixels = options.pixels >= 0 && size_t(options.pixels) <= row.size() * 8 ? options.pixels
                                                                                        : int(row.size() * 8);
    BitWriter writer(out);
    if (options.eolBefore) writer.put(mh::kEol.bits, mh::kEol.length);
    mh::putRowRuns(writer, row.data(), pixels);
    writer.fillToByte();
    if (options.eolAfter) writer.put(0x0001, 16);  // four fill bits, then EOL
    if (options.rtcAfter)
        for (int i = 0; i < 6; ++i) writer.put(mh::kEol.bits, mh::kEol.length);
    return writer.flush() ? writer.size() : 0;
}

}  // namespace lumipage
