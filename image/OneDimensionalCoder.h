#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/BitWriter.h"
#include "image/FaxCodes.h"

namespace lumipage {

// Modified Huffman coding of single rows (ITU-T T.4, 4.1): the run-length
// code tables in the form the encoder writes them, and the one-dimensional
// row coder used by the page encoder and by fax transmission.

// A code ready for BitWriter::put: the code in the low `length` bits.
struct RunCode {
    uint32_t bits = 0;
    uint8_t length = 0;
};

namespace mh {

// Runs up to this length are one table entry: a make-up code (at most 2560)
// followed by a terminating code. Longer runs first repeat the 2560 code.
inline constexpr int kLongestTableRun = 2560 + 63;
inline constexpr int kLongestMakeUp = 2560;

inline constexpr RunCode toRunCode(std::string_view bits) {
    const t4::Code c = t4::codeOf(bits);
    return {c.value, c.length};
}

inline constexpr RunCode kEol = toRunCode(t4::kEol);
inline constexpr RunCode kMakeUp2560 = toRunCode(t4::kExtendedMakeUp.back().bits);

// For one colour: entry n is the complete code of a run of n pixels.
using RunCodeTable = std::array<RunCode, kLongestTableRun + 1>;

inline constexpr RunCodeTable buildRunCodes(const std::array<t4::CodeWord, 64>& terminating,
                                            const std::array<t4::CodeWord, 27>& makeUp) {
    RunCodeTable table{};
    for (int n = 0; n <= kLongestTableRun; ++n) {
        const int makeUpRun = n / 64 * 64;
        RunCode code = toRunCode(terminating[n % 64].bits);
        if (makeUpRun > 0) {
            const int index = makeUpRun / 64 - 1;  // 64 -> 0 ... 1728 -> 26, 1792 -> 27 ...
            const RunCode head =
                toRunCode(index < 27 ? makeUp[index].bits : t4::kExtendedMakeUp[index - 27].bits);
            code = {(head.bits << code.length) | code.bits, uint8_t(head.length + code.length)};
        }
        table[n] = code;
    }
    return table;
}

inline constexpr RunCodeTable kWhiteRuns = buildRunCodes(t4::kWhiteTerminating, t4::kWhiteMakeUp);
inline constexpr RunCodeTable kBlackRuns = buildRunCodes(t4::kBlackTerminating, t4::kBlackMakeUp);

static_assert(kWhiteRuns[0].bits == 0b00110101 && kWhiteRuns[0].length == 8);
static_assert(kBlackRuns[1].bits == 0b010 && kBlackRuns[1].length == 3);
// 1728 white: make-up 010011011 then terminating 0 (00110101).
static_assert(kWhiteRuns[1728].bits == 0b010011011'00110101u && kWhiteRuns[1728].length == 17);
// 1792 black: extended make-up 00000001000 then black 0 (0000110111).
static_assert(kBlackRuns[1792].bits == 0b00000001000'0000110111u && kBlackRuns[1792].length == 21);
static_assert(kWhiteRuns[2623].length == 12 + 8);

// Writes one run of `length` pixels in the given colour.
template <bool Black>
inline void putRun(BitWriter& out, int length) {
    while (length > kLongestTableRun) [[unlikely]] {
        out.put(kMakeUp2560.bits, kMakeUp2560.length);
        length -= kLongestMakeUp;
    }
    const RunCode& code = (Black ? kBlackRuns : kWhiteRuns)[length];
    out.put(code.bits, code.length);
}

// The colour chosen at run time: the table is picked without a branch.
inline void putRun(BitWriter& out, int length, bool black) {
    while (length > kLongestTableRun) [[unlikely]] {
        out.put(kMakeUp2560.bits, kMakeUp2560.length);  // the same code for both colours
        length -= kLongestMakeUp;
    }
    const RunCode& code = (black ? kBlackRuns : kWhiteRuns)[length];
    out.put(code.bits, code.length);
}

// Writes the alternating runs of pixels 0 .. pixels-1 of a row, starting with
// white (a white run of 0 when the row starts black).
void putRowRuns(BitWriter& out, const uint8_t* row, int pixels);

}  // namespace mh

// Extra codes around a one-dimensional row.
struct OneDimensionalOptions {
    bool eolBefore = false;  // an EOL ahead of the row (T.4 pages and .FAX)
    bool eolAfter = false;   // fill, then an EOL ending on a byte boundary (TaggedMH rows)
    bool rtcAfter = false;   // return to control (six EOLs) after the row (the last row of a T.4 page)
    int pixels = -1;         // pixels to code; -1 codes every bit of the row's bytes
};

// Codes one row of `row.size()` bytes as T.4 modified Huffman runs, filled
// to a byte boundary. Returns the bytes produced, 0 when they do not fit.
size_t encodeOneDimensionalRow(std::span<const uint8_t> row, std::span<uint8_t> out,
                               const OneDimensionalOptions& options = {});

}  // namespace lumipage
