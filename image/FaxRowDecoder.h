#pragma once
#include <cstdint>
#include <vector>

#include "image/FaxBitReader.h"

namespace lumipage {

// Decodes one row of ITU-T T.4 / T.6 coded data into a row of pixels that
// starts white. Keeps the changing-element lists of two-dimensional coding:
// the reference row's and the current row's positions where the colour
// changes, the first entry being a change to black, ending with `width`
// repeated as end markers.
class FaxRowDecoder {
public:
    enum class Result {
        Complete,  // the row is decoded
        Failed,    // damaged data or no more data: decoding stops
        PageEnd,   // a second EOL without data (RTC): the page ends here
    };

    // Sizes the lists for the page and makes the reference the white row.
    void startPage(int width, int bytesPerRow);

    // A modified Huffman row ended by EOL (T.4 one-dimensional, also inside
    // the program's tagged rows). EOLs before the row's data are skipped; with
    // pageEndAllowed a second one ends the page.
    Result oneDimensional(FaxBitReader& in, uint8_t* row, bool pageEndAllowed);
    // A modified Huffman row without EOL, complete at `width` pixels, after
    // which the reader moves to the next byte boundary (TIFF compression 2).
    Result fixedWidth(FaxBitReader& in, uint8_t* row);
    // A T.4 two-dimensional row: tag bit after EOL, then a one-dimensional row
    // or a two-dimensional row followed by EOL. atStreamStart: the data
    // begins here, so everything up to the first EOL is skipped first.
    Result t4TwoDimensional(FaxBitReader& in, uint8_t* row, bool pageEndAllowed, bool atStreamStart);
    // A T.6 row.
    Result t6(FaxBitReader& in, uint8_t* row);

private:
    enum class RowEnd { AtEol, AtWidth };
    enum class RunStatus { Code, Zeros, OutOfData };

    // The current row's changes while it is decoded (kept in locals there).
    struct Changes {
        int32_t* first;  // the entry before it is -1, left of every position
        int32_t* end;
        size_t count() const { return size_t(end - first); }
        // Appends a change; a change at the position of the previous one
        // cancels it (a zero-length run changes no pixel). The -1 before the
        // first entry is no position, so the first change needs no test.
        void add(int32_t x) {
            if (end[-1] == x) [[unlikely]]
                --end;
            else
                *end++ = x;
        }
    };

    template <RowEnd End, bool Record>
    Result decodeRuns(FaxBitReader& reader, uint8_t* row, bool pageEndAllowed);
    template <RowEnd End, bool Record>
    Result decodeRunsWith(FaxBitReader& in, Changes& changes, uint8_t* row, bool pageEndAllowed);
    template <int Colour>
    RunStatus decodeRunOf(FaxBitReader& in, int& run) const;
    Result endOfData(FaxBitReader& in, int x, RowEnd end) const;
    Result twoDimensionalRow(FaxBitReader& reader, uint8_t* row);
    Result twoDimensionalRowWith(FaxBitReader& in, Changes& changes, uint8_t* row);
    static bool skipThroughEol(FaxBitReader& in);
    [[gnu::noinline]] int takeV0Series(const int32_t* b, int count, int a0, bool black, uint8_t* row,
                                       int32_t* out) const;

    void endCurrentRow();  // appends the end markers and makes the row the reference

    std::vector<int32_t> reference_;
    std::vector<int32_t> current_;
    size_t count_ = 0;       // entries of current_ in use
    int width_ = 0;
    int rowBytes_ = 0;
    int positionLimit_ = 0;  // a row is full once its position passes the last byte
    int startedAt_ = 0;      // position at which a row's data has begun (left its first byte)
};

}  // namespace lumipage
