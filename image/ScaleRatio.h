#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace lumipage {

// The fixed scaling ratios a page is fitted with. A ratio maps a group of l
// source pixels onto a group of h output pixels; each source pixel covers a
// fixed run of consecutive output pixels, and an output pixel is black when
// any source pixel covering it is black (ink always wins). The same mapping
// serves rows (horizontally) and columns (vertically).

// Entry x holds the output of the l source bits x (first source pixel in the
// most significant of the l bits), left-aligned: first output pixel in bit 15.
using ScaleTable = std::span<const uint16_t>;

struct ScaleRatio {
    int percent = 100;      // only a label
    int sourcePixels = 1;   // l, 1 to 11
    int outputPixels = 1;   // h, 1 to 16
    ScaleTable table;       // 2^l entries; empty for 1:1, which is a plain copy

    constexpr bool isCopy() const { return table.empty(); }
};

namespace fit {

inline constexpr int kMaxSourcePixels = 11;
inline constexpr int kMaxOutputPixels = 16;

// One ratio as a readable column: for source pixels 0..l-1 in turn, the
// output pixels it covers ("a" or "a-b"), separated by ", ". "copy" is 1:1.
struct RatioColumn {
    int percent;
    int sourcePixels;
    int outputPixels;
    std::string_view covers;
};

// Searched in this order when fitting: the first ratio that fits wins.
inline constexpr std::array<RatioColumn, 39> kRatioColumns{{
    {600, 1, 6, "0-5"},
    {500, 1, 5, "0-4"},
    {450, 2, 9, "0-3, 4-8"},
    {400, 1, 4, "0-3"},
    {375, 4, 15, "0-3, 4-7, 8-11, 12-14"},
    {333, 3, 10, "0-2, 3-5, 6-9"},
    {320, 5, 16, "0-2, 3-5, 6-8, 9-11, 12-15"},
    {300, 1, 3, "0-2"},
    {266, 3, 8, "0-2, 3-5, 6-7"},
    {250, 2, 5, "0-1, 2-4"},
    {240, 5, 12, "0-1, 2-4, 5-6, 7-9, 10-11"},
    {225, 4, 9, "0-1, 2-3, 4-5, 6-8"},
    {200, 1, 2, "0-1"},
    {187, 8, 15, "0-1, 2-3, 4-5, 6-7, 8-9, 10-11, 12-13, 13-14"},
    {180, 5, 9, "0-1, 2-3, 4-5, 6-7, 8"},
    {177, 9, 16, "0-1, 2-3, 4-5, 6, 7-8, 9-10, 11-12, 13-14, 15"},
    {166, 3, 5, "0-1, 2-3, 3-4"},
    {162, 8, 13, "0-1, 1-2, 3-4, 4-5, 6-7, 7-8, 9-10, 11-12"},
    {150, 2, 3, "0-1, 1-2"},
    {137, 8, 11, "0, 1, 2-3, 4, 5, 6-7, 8, 9-10"},
    {133, 3, 4, "0, 1, 2-3"},
    {125, 4, 5, "0, 1, 2, 3-4"},
    {120, 5, 6, "0, 1, 2, 3, 4-5"},
    {112, 8, 9, "0, 1, 2, 3, 4, 5, 6, 7-8"},
    {111, 9, 10, "0, 1, 2, 3, 4, 5, 6, 7, 8-9"},
    {109, 11, 12, "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10-11"},
    {100, 1, 1, "copy"},
    {90, 10, 9, "0, 1, 2, 3, 4, 5, 6, 7, 8, 8"},
    {83, 6, 5, "0, 1, 2, 3, 4, 4"},
    {80, 5, 4, "0, 1, 2, 3, 3"},
    {75, 4, 3, "0, 1, 1, 2"},
    {66, 3, 2, "0, 1, 1"},
    {60, 5, 3, "0, 0, 1, 2, 2"},
    {50, 2, 1, "0, 0"},
    {44, 9, 4, "0, 0, 1, 1, 2, 2, 3, 3, 3"},
    {42, 7, 3, "0, 0, 1, 1, 2, 2, 2"},
    {40, 5, 2, "0, 0, 1, 1, 1"},
    {33, 3, 1, "0, 0, 0"},
    {25, 4, 1, "0, 0, 0, 0"},
}};

inline constexpr bool isCopy(const RatioColumn& c) { return c.covers == "copy"; }

// The output pixels covered by source pixel `pixel` of the column, as
// left-aligned bits (output pixel 0 in bit 15); 0 when the text is malformed.
constexpr uint16_t coverMask(const RatioColumn& c, int pixel) {
    std::string_view rest = c.covers;
    for (int i = 0; i < pixel; ++i) {
        const size_t comma = rest.find(", ");
        if (comma == std::string_view::npos) return 0;
        rest = rest.substr(comma + 2);
    }
    rest = rest.substr(0, rest.find(", "));
    auto number = [&rest]() {
        int n = 0;
        while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
            n = n * 10 + (rest.front() - '0');
            rest.remove_prefix(1);
        }
        return n;
    };
    if (rest.empty()) return 0;
    const int first = number();
    int last = first;
    if (!rest.empty() && rest.front() == '-') {
        rest.remove_prefix(1);
        last = number();
    }
    if (!rest.empty() || last < first || last >= c.outputPixels) return 0;
    uint16_t mask = 0;
    for (int k = first; k <= last; ++k) mask |= uint16_t(0x8000u >> k);
    return mask;
}

constexpr size_t tableSize(const RatioColumn& c) { return isCopy(c) ? 0 : size_t{1} << c.sourcePixels; }

inline constexpr size_t kTableEntries = [] {
    size_t n = 0;
    for (const RatioColumn& c : kRatioColumns) n += tableSize(c);
    return n;
}();

// The cover of every source pixel of a column, parsed once.
constexpr std::array<uint16_t, kMaxSourcePixels> coverMasks(const RatioColumn& c) {
    std::array<uint16_t, kMaxSourcePixels> masks{};
    for (int pixel = 0; pixel < c.sourcePixels && pixel < kMaxSourcePixels; ++pixel) masks[pixel] = coverMask(c, pixel);
    return masks;
}

// Every table, one after another in list order. Entry x is entry x without
// its lowest set bit, ORed with the cover of the source pixel that bit stands for.
inline constexpr std::array<uint16_t, kTableEntries> kTableData = [] {
    std::array<uint16_t, kTableEntries> data{};
    size_t at = 0;
    for (const RatioColumn& c : kRatioColumns) {
        const size_t entries = tableSize(c);
        const auto masks = coverMasks(c);
        for (size_t x = 1; x < entries; ++x) {
            int lowest = 0;
            while (!(x & (size_t{1} << lowest))) ++lowest;
            data[at + x] = uint16_t(data[at + (x & (x - 1))] | masks[c.sourcePixels - 1 - lowest]);
        }
        at += entries;
    }
    return data;
}();

// A column is sound when it names l covers, stays inside the h output
// pixels, leaves no output pixel uncovered and never runs backwards.
constexpr bool isSound(const RatioColumn& c) {
    if (isCopy(c)) return c.sourcePixels == 1 && c.outputPixels == 1;
    if (c.sourcePixels < 1 || c.sourcePixels > kMaxSourcePixels) return false;
    if (c.outputPixels < 1 || c.outputPixels > kMaxOutputPixels) return false;
    if (c.percent != 100 * c.outputPixels / c.sourcePixels) return false;
    uint16_t all = 0;
    uint16_t previous = 0;
    for (int pixel = 0; pixel < c.sourcePixels; ++pixel) {
        const uint16_t mask = coverMask(c, pixel);
        if (mask == 0) return false;
        if (previous != 0 && mask > previous) return false;  // starts before the previous pixel's
        previous = mask;
        all |= mask;
    }
    const uint16_t wanted = uint16_t(0xFFFF0000u >> c.outputPixels);
    return all == wanted && coverMask(c, c.sourcePixels) == 0;
}

inline constexpr bool kAllColumnsSound = [] {
    for (size_t i = 0; i < kRatioColumns.size(); ++i) {
        if (!isSound(kRatioColumns[i])) return false;
        // Strictly from the largest ratio to the smallest.
        if (i > 0 && kRatioColumns[i].outputPixels * kRatioColumns[i - 1].sourcePixels >=
                         kRatioColumns[i - 1].outputPixels * kRatioColumns[i].sourcePixels)
            return false;
    }
    return true;
}();
static_assert(kAllColumnsSound);

}  // namespace fit

// The ratios in search order, each with its table.
inline constexpr std::array<ScaleRatio, fit::kRatioColumns.size()> kFitRatioList = [] {
    std::array<ScaleRatio, fit::kRatioColumns.size()> list{};
    size_t at = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        const fit::RatioColumn& c = fit::kRatioColumns[i];
        const size_t entries = fit::tableSize(c);
        list[i] = {c.percent, c.sourcePixels, c.outputPixels,
                   entries == 0 ? ScaleTable{} : ScaleTable{fit::kTableData.data() + at, entries}};
        at += entries;
    }
    return list;
}();

// The 1:1 entry, which copies.
inline constexpr size_t kCopyRatioIndex = 26;

static_assert(kFitRatioList[kCopyRatioIndex].isCopy() && kFitRatioList[kCopyRatioIndex].percent == 100);
// 600 %: one black pixel becomes six.
static_assert(kFitRatioList[0].table[1] == 0xFC00);
// 187 %: the last two source pixels share output pixel 13.
static_assert(kFitRatioList[13].table[0b00000010] == 0x000C);
static_assert(kFitRatioList[13].table[0b00000001] == 0x0006);
// 60 %: pixels 0 and 1 make output 0, pixel 2 output 1, pixels 3 and 4 output 2.
static_assert(kFitRatioList[32].table[0b10000] == 0x8000 && kFitRatioList[32].table[0b00100] == 0x4000 &&
              kFitRatioList[32].table[0b00001] == 0x2000 && kFitRatioList[32].table[0b11111] == 0xE000);
// 25 %: any black pixel of four makes the one output pixel black.
static_assert(kFitRatioList[38].table[0] == 0 && kFitRatioList[38].table[0b0100] == 0x8000);

}  // namespace lumipage
