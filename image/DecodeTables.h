#pragma once
#include <array>
#include <cstdint>

#include "image/FaxCodes.h"

namespace lumipage::t4 {

// Direct lookup tables for decoding, built at compile time from the code
// lists of FaxCodes.h. Each table is indexed by the next bits of the stream
// (most significant bit first), so any code costs one lookup.

// Run tables: one 16-bit entry per index, the run in the low 12 bits (0 to
// 2560; 64 or more is a make-up code) and the code length in the top 4
// bits. Length 0 marks the indices that start with eight zero bits: no run
// code does, there an EOL (or fill before one) begins.
inline constexpr int kWhiteIndexBits = 12;  // the longest white code (extended make-up) has 12 bits
inline constexpr int kBlackIndexBits = 13;  // the longest black codes have 13 bits

constexpr int runOf(uint16_t entry) { return entry & 0x0FFF; }
constexpr int lengthOf(uint16_t entry) { return entry >> 12; }

template <int IndexBits>
struct RunTable {
    std::array<uint16_t, size_t{1} << IndexBits> entries{};
    bool prefixFree = true;  // no index was claimed by two codes
};

template <int IndexBits, size_t N>
constexpr void addCodes(RunTable<IndexBits>& table, const std::array<CodeWord, N>& codes) {
    for (const CodeWord& word : codes) {
        const Code code = codeOf(word.bits);
        const int spare = IndexBits - code.length;
        const uint32_t first = uint32_t(code.value) << spare;
        for (uint32_t i = first; i < first + (uint32_t{1} << spare); ++i) {
            if (table.entries[i] != 0) table.prefixFree = false;
            table.entries[i] = uint16_t(word.run | (code.length << 12));
        }
    }
}

template <int IndexBits, size_t A, size_t B>
constexpr RunTable<IndexBits> buildRunTable(const std::array<CodeWord, A>& terminating,
                                            const std::array<CodeWord, B>& makeUp) {
    RunTable<IndexBits> table;
    addCodes(table, terminating);
    addCodes(table, makeUp);
    addCodes(table, kExtendedMakeUp);
    return table;
}

// True when exactly the indices starting with eight zero bits are unclaimed:
// the code set is complete apart from the EOL prefix.
template <int IndexBits>
constexpr bool onlyZeroPrefixUnclaimed(const RunTable<IndexBits>& table) {
    for (uint32_t i = 0; i < table.entries.size(); ++i) {
        const bool zeroPrefix = (i >> (IndexBits - 8)) == 0;
        if ((table.entries[i] == 0) != zeroPrefix) return false;
    }
    return true;
}

inline constexpr RunTable<kWhiteIndexBits> kWhiteRunTable =
    buildRunTable<kWhiteIndexBits>(kWhiteTerminating, kWhiteMakeUp);
inline constexpr RunTable<kBlackIndexBits> kBlackRunTable =
    buildRunTable<kBlackIndexBits>(kBlackTerminating, kBlackMakeUp);

static_assert(kWhiteRunTable.prefixFree && onlyZeroPrefixUnclaimed(kWhiteRunTable));
static_assert(kBlackRunTable.prefixFree && onlyZeroPrefixUnclaimed(kBlackRunTable));
// White 2 is 0111; white make-up 1728 is 010011011; white 1792 is 00000001000.
static_assert(kWhiteRunTable.entries[0b0111'0000'0000] == (2 | 4 << 12));
static_assert(kWhiteRunTable.entries[0b0100'1101'1000] == (1728 | 9 << 12));
static_assert(kWhiteRunTable.entries[0b0000'0001'0000] == (1792 | 11 << 12));
// Black 2 is 11; black 0 is 0000110111; black make-up 1728 is 0000001100101.
static_assert(kBlackRunTable.entries[0b11'000'0000'0000] == (2 | 2 << 12));
static_assert(kBlackRunTable.entries[0b0000'1101'1100'0] == (0 | 10 << 12));
static_assert(kBlackRunTable.entries[0b0000'0011'0010'1] == (1728 | 13 << 12));

// Pairs of runs in one lookup: rows of short runs (dithering, noise, the
// ragged edges of scanned text) mostly hold a terminating code of one colour
// followed by a terminating code of the other that together fit in
// kPairIndexBits bits. Each table is indexed by the next kPairIndexBits bits
// and gives both runs and both code lengths, or no pair where the bits do not
// start such a pair (the single-code tables decide there).
inline constexpr int kPairIndexBits = 11;

// Both runs and code lengths as bytes, ready to use without shifting or masking.
struct RunPair {
    uint8_t firstRun = 0, firstLength = 0, secondRun = 0, secondLength = 0;
    constexpr explicit operator bool() const { return firstLength != 0; }  // false: no pair here
    constexpr bool operator==(const RunPair&) const = default;
};
static_assert(sizeof(RunPair) == 4);

constexpr RunPair packPair(int run1, int length1, int run2, int length2) {
    return {uint8_t(run1), uint8_t(length1), uint8_t(run2), uint8_t(length2)};
}
constexpr int firstRunOf(const RunPair& pair) { return pair.firstRun; }
constexpr int firstLengthOf(const RunPair& pair) { return pair.firstLength; }
constexpr int secondRunOf(const RunPair& pair) { return pair.secondRun; }
constexpr int secondLengthOf(const RunPair& pair) { return pair.secondLength; }

template <int FirstBits, int SecondBits>
constexpr std::array<RunPair, size_t{1} << kPairIndexBits> buildPairTable(const RunTable<FirstBits>& first,
                                                                           const RunTable<SecondBits>& second) {
    std::array<RunPair, size_t{1} << kPairIndexBits> t{};
    for (uint32_t i = 0; i < t.size(); ++i) {
        // A code no longer than the window owns every index starting with it.
        const uint16_t e1 = first.entries[i << (FirstBits - kPairIndexBits)];
        const int length1 = lengthOf(e1);
        if (length1 == 0 || length1 >= kPairIndexBits || runOf(e1) >= 64) continue;
        const int rest = kPairIndexBits - length1;
        const uint32_t after = i & ((uint32_t{1} << rest) - 1);
        const uint16_t e2 = second.entries[after << (SecondBits - rest)];
        const int length2 = lengthOf(e2);
        if (length2 == 0 || length2 > rest || runOf(e2) >= 64) continue;
        t[i] = packPair(runOf(e1), length1, runOf(e2), length2);
    }
    return t;
}

inline constexpr auto kWhiteBlackPairs = buildPairTable(kWhiteRunTable, kBlackRunTable);
inline constexpr auto kBlackWhitePairs = buildPairTable(kBlackRunTable, kWhiteRunTable);

// White 2 (0111) then black 3 (10): 011110xxxxx. Black 2 (11) then white 1 (000111): 11000111xxx.
static_assert(kWhiteBlackPairs[0b01111'000000] == packPair(2, 4, 3, 2));
static_assert(kBlackWhitePairs[0b11000'111000] == packPair(2, 2, 1, 6));
// White make-up 64 (11011) is no terminating code: no pair.
static_assert(!kWhiteBlackPairs[0b11011'110000]);

// Two-dimensional mode codes (Table 4/T.4, Table 1/T.6), indexed by the next
// 7 bits. Each 16-bit entry holds the mode in the low 4 bits, the code
// length in the next 4 and, for the vertical modes, the offset a1 - b1 plus
// 3 in the top 8 bits.
// V0Series marks, in kModePairTable only, bits that start with a series of V0 codes.
enum class Mode : uint8_t { Invalid, Pass, Horizontal, Vertical, Extension, V0Series };

constexpr Mode modeOf(uint16_t entry) { return Mode(entry & 0x0F); }
constexpr int modeLengthOf(uint16_t entry) { return (entry >> 4) & 0x0F; }
constexpr int verticalOffsetOf(uint16_t entry) { return (entry >> 8) - 3; }

inline constexpr int kModeIndexBits = 7;

inline constexpr std::array<uint16_t, 128> kModeTable = [] {
    struct Named {
        std::string_view bits;
        Mode mode;
        int offset;
    };
    constexpr Named modes[] = {
        {kPass, Mode::Pass, 0},           {kHorizontal, Mode::Horizontal, 0},
        {kVertical0, Mode::Vertical, 0},  {kVerticalR1, Mode::Vertical, 1},
        {kVerticalR2, Mode::Vertical, 2}, {kVerticalR3, Mode::Vertical, 3},
        {kVerticalL1, Mode::Vertical, -1}, {kVerticalL2, Mode::Vertical, -2},
        {kVerticalL3, Mode::Vertical, -3}, {kExtension, Mode::Extension, 0},
    };
    std::array<uint16_t, 128> t{};  // 0: Mode::Invalid
    for (const Named& m : modes) {
        const Code code = codeOf(m.bits);
        const int spare = kModeIndexBits - code.length;
        for (uint32_t i = uint32_t(code.value) << spare; i < uint32_t(code.value + 1) << spare; ++i)
            t[i] = uint16_t(int(m.mode) | code.length << 4 | (m.offset + 3) << 8);
    }
    return t;
}();

// The mode codes looked up by the next 10 bits, so that two vertical codes
// in a row, the common case on scans (most changes sit within three pixels
// of the row above), take one lookup. Each entry gives the code the bits
// start with and, when that is a vertical code followed within the 10 bits
// by a second vertical code, that code too, every field ready to use: the
// decoder's inner loop takes them without shifting or masking.
inline constexpr int kModePairIndexBits = 10;
// V0 codes from which on a series is worth taking whole: rows like the row
// above have long series; noise and scans have short ones, which the pairs
// take faster.
inline constexpr int kManyV0 = 6;

struct ModePair {
    struct Vertical {
        uint8_t length;  // bits of the code; 0 in `second`: no second code
        int8_t offset;   // a1 - b1
        int8_t step;     // entries b moves on the reference row after it: +1, or -1 when a1 lies left of b1
    };
    Mode mode;  // of the first code; V0Series where the bits start with kManyV0 or more V0 codes (1 bits)
    Vertical first;  // its length for every mode; offset and step for a vertical code
    Vertical second;
    uint8_t unused = 0;
};
static_assert(sizeof(ModePair) == 8);

constexpr ModePair::Vertical verticalOf(uint16_t entry) {
    const int offset = verticalOffsetOf(entry);
    return {uint8_t(modeLengthOf(entry)), int8_t(offset), int8_t(offset >= 0 ? 1 : -1)};
}

inline constexpr std::array<ModePair, 1 << kModePairIndexBits> kModePairTable = [] {
    constexpr int kBits = kModePairIndexBits;
    std::array<ModePair, 1 << kBits> t{};
    for (uint32_t i = 0; i < t.size(); ++i) {
        const uint16_t e1 = kModeTable[i >> (kBits - kModeIndexBits)];
        t[i].mode = modeOf(e1);
        t[i].first = verticalOf(e1);
        if (modeOf(e1) != Mode::Vertical) continue;
        const int rest = kBits - modeLengthOf(e1);
        const uint32_t after = i & ((uint32_t{1} << rest) - 1);
        // The second code's first 7 bits, zeros in where fewer are left.
        const uint32_t window = rest >= kModeIndexBits ? after >> (rest - kModeIndexBits) : after << (kModeIndexBits - rest);
        const uint16_t e2 = kModeTable[window];
        if (modeOf(e2) != Mode::Vertical || modeLengthOf(e2) > rest) continue;
        t[i].second = verticalOf(e2);
        if (i >> (kBits - kManyV0) == (1u << kManyV0) - 1) t[i].mode = Mode::V0Series;  // the pair stays as it is
    }
    return t;
}();

// V0 V0 (11), VR1 then VL1 (011 010), VL3 (0000010) then V0; V0 then horizontal (001) has no second.
static_assert(kModePairTable[0b11'00000000].second.length == 1 && kModePairTable[0b11'00000000].mode == Mode::Vertical);
static_assert(kModePairTable[0b111111'0000].mode == Mode::V0Series && kModePairTable[0b111111'0000].second.length == 1 &&
              kModePairTable[0b111110'0000].mode == Mode::Vertical);
static_assert(kModePairTable[0b011010'0000].second.length == 3 && kModePairTable[0b011010'0000].second.offset == -1 &&
              kModePairTable[0b011010'0000].second.step == -1 && kModePairTable[0b011010'0000].first.offset == 1 &&
              kModePairTable[0b011010'0000].first.step == 1);
static_assert(kModePairTable[0b0000010'1'00].second.length == 1 && kModePairTable[0b0000010'1'00].first.length == 7);
static_assert(kModePairTable[0b1'001'000000].second.length == 0 && kModePairTable[0b1'001'000000].mode == Mode::Vertical);
static_assert(kModePairTable[0b001'0000000].mode == Mode::Horizontal && kModePairTable[0b001'0000000].first.length == 3);

// The extension code is followed by three bits naming the extension.
inline constexpr int kExtensionValueBits = 3;

static_assert(modeOf(kModeTable[0b1000000]) == Mode::Vertical && modeLengthOf(kModeTable[0b1000000]) == 1);
static_assert(modeOf(kModeTable[0b0001000]) == Mode::Pass && modeOf(kModeTable[0b0010000]) == Mode::Horizontal);
static_assert(verticalOffsetOf(kModeTable[0b0000010]) == -3 && verticalOffsetOf(kModeTable[0b0000011]) == 3);
static_assert(modeOf(kModeTable[0b0000001]) == Mode::Extension && modeOf(kModeTable[0]) == Mode::Invalid);

}  // namespace lumipage::t4
