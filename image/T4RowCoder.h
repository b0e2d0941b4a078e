#pragma once
#include "image/FaxRowSink.h"
#include "image/OneDimensionalCoder.h"

namespace lumipage {

// The row coder of fax transmission: each row as ITU-T T.4 one-dimensional
// runs, then fill and an EOL ending on a byte boundary. The page opens with
// an EOL of its own, or a receiver would take the first row for the noise
// before the page and lose it.
class T4RowCoder : public FaxRowCoder {
public:
    size_t codeRow(std::span<const uint8_t> row, std::span<uint8_t> out) override {
        return encodeOneDimensionalRow(row, out, {.eolAfter = true});
    }
    size_t codePageStart(std::span<uint8_t> out) override {
        if (out.size() < 2) return 0;
        out[0] = 0x00;  // four fill bits, then EOL
        out[1] = 0x01;
        return 2;
    }
};

}  // namespace lumipage
