#include "image/FaxRowDecoder.h"

#include <algorithm>
#include <bit>

#include "image/DecodeTables.h"
#include "image/RowPainter.h"

namespace lumipage {

namespace {

// `width` entries closing a list: enough for b1 and b2 of either colour, and
// for a series of up to 32 V0 codes to look at entries as far ahead as it may take.
constexpr int kEndMarkers = 34;
constexpr int kWhite = 0;
constexpr int kBlack = 1;

// An EOL is eleven zeros and a one; fill may lengthen the zeros. Inside a
// one-dimensional row nine or more zeros at a code boundary already count.
constexpr size_t kEolZeros = 11;
constexpr size_t kRowEolZeros = 9;
// Exactly eight zeros and a one, then 1111: the run colour toggles and
// decoding resumes at the last of the eight zeros (see decodeRunsWith).
constexpr uint32_t kToggleMark = 0xF;

void paintClipped(uint8_t* row, int x0, int x1, int width, int rowBytes) {
    x1 = std::min(x1, width);
    if (x0 < x1) paintSpan(row, x0, x1, rowBytes);
}

}  // namespace

void FaxRowDecoder::startPage(int width, int bytesPerRow) {
    width_ = width;
    rowBytes_ = bytesPerRow;
    positionLimit_ = 8 * (bytesPerRow + 1);
    startedAt_ = std::min(8, width);
    // Before the entries sits -1, left of every position (see twoDimensionalRowWith).
    const size_t size = 1 + size_t(width) + 1 + kEndMarkers + 3;
    reference_.assign(size, width);
    current_.assign(size, width);
    reference_[0] = current_[0] = -1;
    count_ = 0;
}

void FaxRowDecoder::endCurrentRow() {
    for (int i = 0; i < kEndMarkers; ++i) current_[1 + count_ + size_t(i)] = width_;
    std::swap(current_, reference_);
    count_ = 0;
}

// One run of the given colour: make-up codes add up until a terminating
// code completes the run.
template <int Colour>
[[gnu::always_inline]] inline FaxRowDecoder::RunStatus FaxRowDecoder::decodeRunOf(FaxBitReader& in, int& run) const {
    const uint16_t* table = Colour == kWhite ? t4::kWhiteRunTable.entries.data() : t4::kBlackRunTable.entries.data();
    constexpr int kIndexBits = Colour == kWhite ? t4::kWhiteIndexBits : t4::kBlackIndexBits;
    run = 0;
    for (;;) {
        in.fill();
        const uint16_t entry = table[in.peek(kIndexBits)];
        const int length = t4::lengthOf(entry);
        if (length == 0) return RunStatus::Zeros;
        in.skip(length);
        if (in.overrun()) return RunStatus::OutOfData;
        const int value = t4::runOf(entry);
        run += value;
        if (value < 64) return RunStatus::Code;
        run = std::min(run, positionLimit_);  // a damaged row may repeat make-up codes
    }
}

// The data ended inside a row. A row ended by EOL that already covers the
// full width is complete: the last row of a strip need not be followed by
// an EOL, and its codes may end within the last byte.
FaxRowDecoder::Result FaxRowDecoder::endOfData(FaxBitReader& in, int x, RowEnd end) const {
    in.seekToEnd();
    return end == RowEnd::AtEol && x >= width_ ? Result::Complete : Result::Failed;
}

// The reader is copied into a local for the row: the pixel stores through
// a byte pointer could otherwise alias it, forcing it out of registers.
template <FaxRowDecoder::RowEnd End, bool Record>
FaxRowDecoder::Result FaxRowDecoder::decodeRuns(FaxBitReader& reader, uint8_t* row, bool pageEndAllowed) {
    FaxBitReader in = reader;
    Changes changes{current_.data() + 1, current_.data() + 1};
    const Result result = decodeRunsWith<End, Record>(in, changes, row, pageEndAllowed);
    reader = in;
    count_ = changes.count();
    return result;
}

template <FaxRowDecoder::RowEnd End, bool Record>
[[gnu::always_inline]] inline FaxRowDecoder::Result FaxRowDecoder::decodeRunsWith(FaxBitReader& in, Changes& changes,
                                                                                 uint8_t* row, bool pageEndAllowed) {
    const int width = width_;
    const int rowBytes = rowBytes_;
    const int limit = positionLimit_;
    int x = 0;  // output position; it stops moving once the row is full
    int eolsWithoutData = 0;
    Result result = Result::Complete;
    // After one lookup: decoding goes on in the same colour, in the other,
    // or stops with `result`.
    enum class Next { Same, Other, Stop };
    const auto finish = [&](Result r) {
        result = r;
        return Next::Stop;
    };
    // A decoded run of colour Colour: painted when black; true when a row
    // without EOL is full.
    const auto take = [&]<int Colour>(int run) __attribute__((always_inline)) {
        if (Colour == kBlack) paintClipped(row, x, x + run, width, rowBytes);
        x = std::min(x + run, limit);
        if constexpr (Record) changes.add(std::min(x, width));
        return End == RowEnd::AtWidth && x >= width;
    };
    // The codes of one lookup, the run ahead being of colour Colour.
    const auto lookup = [&]<int Colour>() __attribute__((always_inline)) {
        // Two short runs in one lookup where the next bits allow, each taken
        // exactly as the single-code path below would take it.
        in.fill();
        const t4::RunPair& pair =
            (Colour == kWhite ? t4::kWhiteBlackPairs : t4::kBlackWhitePairs)[in.peek(t4::kPairIndexBits)];
        if (pair) {
            const int length1 = t4::firstLengthOf(pair);
            const int length = length1 + t4::secondLengthOf(pair);
            // Only once the reader has run into padding can a code reach past the data.
            if (in.padded() && in.dataBits() < length) [[unlikely]] {
                in.skip(length1);
                if (in.overrun()) return finish(endOfData(in, x, End));
                if (take.template operator()<Colour>(t4::firstRunOf(pair))) return finish(Result::Complete);
                in.skip(t4::secondLengthOf(pair));
                return finish(endOfData(in, x, End));
            }
            const int x1 = std::min(x + t4::firstRunOf(pair), limit);
            if (End == RowEnd::AtWidth && x1 >= width) {
                in.skip(length1);
                take.template operator()<Colour>(t4::firstRunOf(pair));
                return finish(Result::Complete);
            }
            // The two runs as two takes would take them: exactly one is black.
            const int x2 = std::min(x1 + t4::secondRunOf(pair), limit);
            // Painted by whole words of the row: short black runs close together
            // (typed text) then read back the word just stored whole.
            const int black0 = Colour == kWhite ? x1 : x;
            const int black1 = std::min(Colour == kWhite ? x2 : x1, width);
            if (black0 < black1) paintInWord(row, black0, black1, rowBytes);
            if constexpr (Record) {
                changes.add(std::min(x1, width));
                changes.add(std::min(x2, width));
            }
            x = x2;
            in.skip(length);
            if (End == RowEnd::AtWidth && x >= width) return finish(Result::Complete);
            return Next::Same;
        }
        int run = 0;
        const RunStatus status = decodeRunOf<Colour>(in, run);
        if (status == RunStatus::Code) return take.template operator()<Colour>(run) ? finish(Result::Complete) : Next::Other;
        if (status == RunStatus::OutOfData) return finish(endOfData(in, x, End));
        // Eight zero bits: no run code starts so. Rows without EOL have
        // none, so there it is damage.
        if constexpr (End == RowEnd::AtWidth) return finish(Result::Failed);
        size_t zeros = 0;
        if (!in.skipZeros(zeros)) return finish(endOfData(in, x, End));
        int colour = kWhite;  // decoding goes on in
        if (zeros >= kRowEolZeros) {
            in.fill();
            in.skip(1);
            if (x >= startedAt_) return finish(Result::Complete);
            // An EOL before any data: leading EOLs and fill are skipped, but
            // after the first row a second one is RTC.
            if (++eolsWithoutData >= 2 && pageEndAllowed) return finish(Result::PageEnd);
        } else {
            // Exactly eight zeros then a one. The window four bits on decides:
            // 00001111 toggles the colour and decoding resumes three bits
            // further on (at the last of the eight zeros); anything else is
            // skipped as eight bits and the row goes on in white.
            in.fill();
            if (in.dataBits() < 4) return finish(endOfData(in, x, End));
            if (in.peek(4) == kToggleMark) {
                in.seek(in.bitPosition() - 1);
                colour = 1 - Colour;
            } else {
                in.skip(4);
            }
        }
        // Keep the recorded changes in step with the colour decoding goes on in.
        if constexpr (Record) {
            if (int(changes.count() & 1) != colour) changes.add(std::min(x, width));
        }
        return colour == Colour ? Next::Same : Next::Other;
    };
    // The run's colour is where the loop is: each colour has its own copy of
    // the lookup, so no variable carries it.
    Next next;
white:
    next = lookup.template operator()<kWhite>();
    if (next == Next::Same) goto white;
    if (next == Next::Other) goto black;
    return result;
black:
    next = lookup.template operator()<kBlack>();
    if (next == Next::Same) goto black;
    if (next == Next::Other) goto white;
    return result;
}

FaxRowDecoder::Result FaxRowDecoder::oneDimensional(FaxBitReader& in, uint8_t* row, bool pageEndAllowed) {
    return decodeRuns<RowEnd::AtEol, false>(in, row, pageEndAllowed);
}

FaxRowDecoder::Result FaxRowDecoder::fixedWidth(FaxBitReader& in, uint8_t* row) {
    const Result result = decodeRuns<RowEnd::AtWidth, false>(in, row, false);
    if (result == Result::Complete) in.alignToByte();
    return result;
}

// Skips up to and including the next EOL; false when the data ends first.
bool FaxRowDecoder::skipThroughEol(FaxBitReader& in) {
    for (;;) {
        size_t zeros = 0;
        if (!in.skipZeros(zeros)) return false;
        in.fill();
        in.skip(1);
        if (zeros >= kEolZeros) return true;
    }
}

FaxRowDecoder::Result FaxRowDecoder::t4TwoDimensional(FaxBitReader& in, uint8_t* row, bool pageEndAllowed,
                                                      bool atStreamStart) {
    if (atStreamStart && !skipThroughEol(in)) return Result::Failed;
    in.fill();
    if (in.dataBits() < 1) return Result::Failed;
    const bool oneDimensionalRow = in.peek(1) == 1;
    in.skip(1);
    Result result;
    if (oneDimensionalRow) {
        result = decodeRuns<RowEnd::AtEol, true>(in, row, pageEndAllowed);
    } else {
        result = twoDimensionalRow(in, row);
        // A complete row is followed by EOL; at the end of a strip it may be missing.
        if (result == Result::Complete && !skipThroughEol(in)) in.seekToEnd();
    }
    if (result == Result::Complete) endCurrentRow();
    return result;
}

FaxRowDecoder::Result FaxRowDecoder::t6(FaxBitReader& in, uint8_t* row) {
    const Result result = twoDimensionalRow(in, row);
    if (result == Result::Complete) endCurrentRow();
    return result;
}

// A series of `count` V0 codes with b at b1: each puts a change where the
// reference row has the next one, and b1 after it is the next entry, as
// reference entries increase. Rows much like the row above (most rows of
// typed text) are mostly such series, taken here entry by entry without a
// lookup each; out of line, so that the code-by-code loop keeps its
// registers. Paints the black runs that end in the series and appends its
// changes to `out`; returns the number of codes taken, fewer when the row
// ends at a change at its width (later codes are the next row's).
int FaxRowDecoder::takeV0Series(const int32_t* b, int count, int a0, bool black, uint8_t* row, int32_t* out) const {
    if (b[count - 1] >= width_) count = int(std::find(b, b + count, width_) - b) + 1;
    const int32_t* const end = b + count;
    const int32_t* next = b;
    if (black) paintInWord(row, a0, *next++, rowBytes_);
    for (; next + 1 < end; next += 2) paintInWord(row, next[0], next[1], rowBytes_);
    std::copy(b, end, out);
    return count;
}

// The coding procedure of T.4 section 4.2 / T.6 section 2.2 run backwards:
// a0 starts just before the row in white; b1 is the first change on the
// reference row right of a0 to the opposite of a0's colour, b2 the change
// after it. Reference entries alternate: even indices change to black, odd
// to white, so b1 is searched among entries of the parity of a0's colour.
FaxRowDecoder::Result FaxRowDecoder::twoDimensionalRow(FaxBitReader& reader, uint8_t* row) {
    FaxBitReader in = reader;  // in a local, as for one-dimensional rows
    Changes changes{current_.data() + 1, current_.data() + 1};
    const Result result = twoDimensionalRowWith(in, changes, row);
    reader = in;
    count_ = changes.count();
    return result;
}

[[gnu::always_inline]] inline FaxRowDecoder::Result FaxRowDecoder::twoDimensionalRowWith(FaxBitReader& in,
                                                                                        Changes& changes,
                                                                                        uint8_t* row) {
    const int width = width_;
    const int rowBytes = rowBytes_;
    const int32_t* const ref = reference_.data() + 1;
    Changes out = changes;  // in a local, as the reader
    int a0 = -1;
    // b1 in ref, or an entry before it of the same parity. Its parity is the
    // colour of a0: even entries are changes to black. The entry before the
    // first is -1, left of every a0, so b may step back onto it.
    const int32_t* b = ref;
    int colour = kWhite;  // of a0 (also the parity of b) as the loops hand over
    // GoOn: decoding goes on in a0's colour, Toggle: in the other colour.
    // NearEnd: fewer than eight bytes of data are left, codes must now be
    // checked for running past them.
    enum class Step { GoOn, Toggle, Complete, Failed, NearEnd };

    // A vertical mode code, its bits taken, with a0 of colour Colour: a1 at
    // `offset` from b1. Checked: the code may have run past the data.
    const auto vertical = [&]<bool Checked, int Colour>(const t4::ModePair::Vertical& code)
                              __attribute__((always_inline)) {
        if constexpr (Checked) {
            if (in.overrun()) return Step::Failed;
        }
        b += b[0] <= a0 ? 2 : 0;  // mostly one step or none: without a branch
        while (b[0] <= a0) b += 2;
        const int a1 = b[0] + code.offset;
        if (a1 <= a0 || a1 >= width) [[unlikely]] {
            // An empty run, the row's end or damage.
            const int start = std::max(a0, 0);
            if (a1 < start) return Step::Failed;
            if (Colour == kBlack) paintClipped(row, start, a1, width, rowBytes);
            if (a1 > width) return Step::Failed;
            out.add(a1);  // an empty run cancels the change at a0
            a0 = a1;
            b += code.step;
            return a0 == width ? Step::Complete : Step::Toggle;
        }
        // Black runs start at a change, so a0 is a position here.
        if (Colour == kBlack) paintInWord(row, a0, a1, rowBytes);
        *out.end++ = a1;  // right of every change so far
        a0 = a1;
        // The next b1 has the opposite parity. Entries before b - 1 lie
        // left of a1; so does b - 1 unless a1 moved left of b1.
        b += code.step;
        return Step::Toggle;
    };

    // A series of V0 codes (1 bits), read unchecked.
    const auto sameAsReference = [&]<int Colour>() __attribute__((always_inline)) {
        b += b[0] <= a0 ? 2 : 0;
        while (b[0] <= a0) b += 2;
        // At most 32 codes, as many bits as the reader is sure to hold.
        const int count = takeV0Series(b, std::countl_one(in.peek(32)), a0, Colour == kBlack, row, out.end);
        in.skip(count);
        out.end += count;
        b += count;
        a0 = b[-1];
        if (a0 >= width) return Step::Complete;
        return count & 1 ? Step::Toggle : Step::GoOn;
    };

    // Every other mode. Checked: the codes may have run past the data.
    const auto otherMode = [&]<bool Checked, int Colour>(const t4::ModePair& entry) __attribute__((always_inline)) {
        if (entry.mode == t4::Mode::Invalid) return Step::Failed;  // 0000000x: EOL or no code
        in.skip(entry.first.length);
        if (Checked && in.overrun()) return Step::Failed;
        const int start = std::max(a0, 0);
        if (entry.mode == t4::Mode::Horizontal) {
            int run1 = 0;
            int run2 = 0;
            // The mode code left enough bits in the reader for the pair lookup.
            const t4::RunPair& pair =
                (Colour == kWhite ? t4::kWhiteBlackPairs : t4::kBlackWhitePairs)[in.peek(t4::kPairIndexBits)];
            bool decoded = false;
            if (pair) {  // both runs short: one lookup
                in.skip(t4::firstLengthOf(pair) + t4::secondLengthOf(pair));
                run1 = t4::firstRunOf(pair);
                run2 = t4::secondRunOf(pair);
                decoded = !Checked || !in.overrun();
            } else {
                decoded = Colour == kWhite ? decodeRunOf<kWhite>(in, run1) == RunStatus::Code &&
                                                 decodeRunOf<kBlack>(in, run2) == RunStatus::Code
                                           : decodeRunOf<kBlack>(in, run1) == RunStatus::Code &&
                                                 decodeRunOf<kWhite>(in, run2) == RunStatus::Code;
            }
            if (!decoded) return Step::Failed;
            const int a1 = start + run1;
            const int a2 = a1 + run2;
            if (a2 > width) {
                if (Colour == kBlack)
                    paintClipped(row, start, a1, width, rowBytes);
                else
                    paintClipped(row, a1, a2, width, rowBytes);
                return Step::Failed;
            }
            if (Colour == kBlack) {
                if (start < a1) paintInWord(row, start, a1, rowBytes);
            } else if (a1 < a2) {
                paintInWord(row, a1, a2, rowBytes);
            }
            out.add(a1);
            out.add(a2);
            a0 = a2;
        } else if (entry.mode == t4::Mode::Pass) {
            while (b[0] <= a0) b += 2;
            if (Colour == kBlack && start < b[1]) paintInWord(row, start, b[1], rowBytes);
            a0 = b[1];  // b2
            b += 2;
        } else {
            // Extensions (such as uncompressed mode) are not supported: the
            // three bits naming one are skipped and decoding goes on.
            in.fill();
            in.skip(t4::kExtensionValueBits);
            if (in.overrun()) return Step::Failed;
        }
        if (a0 >= width) return a0 == width ? Step::Complete : Step::Failed;
        return Step::GoOn;
    };

    // One lookup's codes with a0 of colour Colour. Unchecked, the loop runs
    // while the data lasts beyond the codes a lookup may take, so the
    // vertical codes need no test for overrun; it hands over to the checked
    // loop near the end.
    const auto lookup = [&]<bool Checked, int Colour>() __attribute__((always_inline)) {
        if constexpr (Checked) {
            in.fill();
        } else if (!in.fillFromData()) {
            return Step::NearEnd;
        }
        const t4::ModePair& entry = t4::kModePairTable[in.peek(t4::kModePairIndexBits)];
        // Near the end a series is taken as its first two codes.
        if (entry.mode == t4::Mode::Vertical || (Checked && entry.mode == t4::Mode::V0Series)) [[likely]] {
            // One vertical code, or two that the lookup found together: the
            // second is taken as the next lookup would take it, once the first
            // leaves the row unfinished.
            in.skip(entry.first.length);
            const Step step = vertical.template operator()<Checked, Colour>(entry.first);
            if (step != Step::Toggle || entry.second.length == 0) return step;
            in.skip(entry.second.length);
            const Step second = vertical.template operator()<Checked, 1 - Colour>(entry.second);
            return second == Step::Toggle ? Step::GoOn : second;
        }
        if (!Checked && entry.mode == t4::Mode::V0Series) return sameAsReference.template operator()<Colour>();
        const Step step = otherMode.template operator()<Checked, Colour>(entry);
        // The runs of a horizontal code may have taken in the last bytes.
        if (!Checked && step == Step::GoOn && in.padded()) return Step::NearEnd;
        return step;
    };

    // The codes up to the row's end. a0's colour is where the loop is: each
    // colour has its own copy of the lookup, so no variable carries it.
    const auto decode = [&]<bool Checked>() __attribute__((always_inline)) {
        Step step;
        if (colour == kBlack) goto black;
    white:
        step = lookup.template operator()<Checked, kWhite>();
        if (step == Step::GoOn) goto white;
        if (step == Step::Toggle) goto black;
        colour = kWhite;
        return step;
    black:
        step = lookup.template operator()<Checked, kBlack>();
        if (step == Step::GoOn) goto black;
        if (step == Step::Toggle) goto white;
        colour = kBlack;
        return step;
    };

    Step step = in.padded() ? Step::NearEnd : decode.template operator()<false>();
    if (step == Step::NearEnd) step = decode.template operator()<true>();
    changes = out;
    return step == Step::Complete ? Result::Complete : Result::Failed;
}

}  // namespace lumipage
