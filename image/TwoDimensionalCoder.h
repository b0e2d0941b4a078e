#pragma once
#include <cstdint>
#include <vector>

#include "image/BitWriter.h"

namespace lumipage {

// Two-dimensional row coding of ITU-T T.6 (also the two-dimensional rows of
// T.4, 4.2): each row is described by its changing elements relative to the
// row above. The coder keeps the reference row's changing elements between
// rows; its lists are reused and grow only for wider pages.
class TwoDimensionalCoder {
public:
    // Starts a page: the reference becomes the imaginary white row.
    void startPage(int width);

    // Codes `row` against the reference; the row then becomes the reference.
    void codeRow(const uint8_t* row, BitWriter& out);

    // Makes `row` the reference without coding it (after a one-dimensional row).
    void setReference(const uint8_t* row);

private:
    // Fills current_ with the positions where the row changes colour, a first
    // entry 0 when it starts black, and `width` three times as end markers.
    void findChanges(const uint8_t* row);
    void swapLists() { reference_.swap(current_); }

    int width_ = 0;
    std::vector<int> reference_;
    std::vector<int> current_;
};

}  // namespace lumipage
