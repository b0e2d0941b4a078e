#include "image/MHRowCoder.h"

#include "image/RunFinder.h"

namespace lumipage {

namespace mh {

void putRowRuns(BitWriter& out, const uint8_t* row, int pixels) {
    if (pixels == 0) putRun<false>(out, 0);  // an empty row is still one white run
    int x = 0;
    while (x < pixels) {
        int end = findRunEnd<false>(row, x, pixels);
        putRun<false>(out, end - x);
        x = end;
        if (x >= pixels) break;
        end = findRunEnd<true>(row, x, pixels);
        putRun<true>(out, end - x);
        x = end;
    }
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
