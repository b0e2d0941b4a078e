#pragma once
#include "image/FaxRowSink.h"
#include "image/MHRowCoder.h"

namespace lumipage {

// The row coder of fax transmission: each row as ITU-T T.4 one-dimensional
// runs, then fill and an EOL ending on a byte boundary.
class T4RowCoder : public FaxRowCoder {
public:
    size_t codeRow(std::span<const uint8_t> row, std::span<uint8_t> out) override {
        return encodeOneDimensionalRow(row, out, {.eolAfter = true});
    }
};

}  // namespace lumipage
