#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumipage {

// Where the coded rows of a fax page go while it is being sent: the fax
// transmitter, or a recording fake in tests. Each step returns success; a
// failure stops the page.
class FaxRowSink {
public:
    virtual ~FaxRowSink() = default;
    // One coded row, least significant bit first; `lastRow` on the page's last row.
    virtual bool sendRow(std::span<const uint8_t> coded, bool lastRow) = 0;
    // Runs between rows: lets queued data drain to the modem.
    virtual bool drain() = 0;
    // After the last row.
    virtual bool endPage() = 0;
};

// Shows how far a page being sent has come.
class FaxRowProgress {
public:
    virtual ~FaxRowProgress() = default;
    // The row about to be sent, counted from 1.
    virtual void showRow(int32_t rowNumber) = 0;
};

// Codes one row of pixels as a ITU-T T.4 one-dimensional (modified Huffman)
// row followed by fill and an EOL that ends on a byte boundary, most
// significant bit first. Returns the bytes produced, 0 when they do not fit.
class FaxRowCoder {
public:
    virtual ~FaxRowCoder() = default;
    virtual size_t codeRow(std::span<const uint8_t> row, std::span<uint8_t> out) = 0;
    // What opens a page, sent before its first row (most significant bit
    // first); returns the bytes produced.
    virtual size_t codePageStart(std::span<uint8_t>) { return 0; }
};

}  // namespace lumipage
