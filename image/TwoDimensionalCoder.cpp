#include "image/TwoDimensionalCoder.h"

#include <array>

#include "image/FaxCodes.h"
#include "image/OneDimensionalCoder.h"
#include "image/RunFinder.h"

namespace lumipage {

namespace {

constexpr RunCode kPass = mh::toRunCode(t4::kPass);
constexpr RunCode kHorizontal = mh::toRunCode(t4::kHorizontal);

// Vertical mode codes indexed by a1 - b1 + 3 (T.6 Table 1).
constexpr std::array<RunCode, 7> kVertical{
    mh::toRunCode(t4::kVerticalL3), mh::toRunCode(t4::kVerticalL2), mh::toRunCode(t4::kVerticalL1),
    mh::toRunCode(t4::kVertical0),  mh::toRunCode(t4::kVerticalR1), mh::toRunCode(t4::kVerticalR2),
    mh::toRunCode(t4::kVerticalR3),
};
static_assert(kVertical[3].bits == 1 && kVertical[3].length == 1);
static_assert(kVertical[0].bits == 0b0000010 && kVertical[6].bits == 0b0000011 && kPass.length == 4);

constexpr int kEndMarkers = 3;

}  // namespace

void TwoDimensionalCoder::startPage(int width) {
    width_ = width;
    const size_t needed = size_t(width) + 1 + kEndMarkers;
    if (reference_.size() < needed) {
        reference_.resize(needed);
        current_.resize(needed);
    }
    for (int i = 0; i < kEndMarkers; ++i) reference_[i] = width;
}

void TwoDimensionalCoder::findChanges(const uint8_t* row) {
    int* changes = current_.data();
    int count = 0;
    forEachChange(row, width_, [&](int x) { changes[count++] = x; });
    for (int i = 0; i < kEndMarkers; ++i) changes[count + i] = width_;
}

void TwoDimensionalCoder::setReference(const uint8_t* row) {
    findChanges(row);
    swapLists();
}

// The T.6 coding procedure (T.6, 2.2). a0 starts just before the row, as an
// imaginary white pixel; b1 is the first reference change right of a0 whose
// colour differs from a0's colour, which in the list is an element of even
// index for a white a0 and odd index for a black one.
void TwoDimensionalCoder::codeRow(const uint8_t* row, BitWriter& out) {
    findChanges(row);
    const int* a = current_.data();
    const int* b = reference_.data();
    int a0 = -1;
    int ai = 0;  // index of a1 in the current list
    int bi = 0;  // index of b1 in the reference list
    bool black = false;
    while (a0 < width_) {
        // b1 never lies more than one element before the previous b1.
        if ((bi & 1) != int(black)) bi = bi > 0 ? bi - 1 : 1;
        while (b[bi] <= a0 && b[bi] < width_) bi += 2;
        const int a1 = a[ai];
        const int b1 = b[bi];
        const int b2 = b[bi + 1];
        if (b2 < a1) {
            out.put(kPass.bits, kPass.length);
            a0 = b2;
            continue;
        }
        const int delta = a1 - b1;
        if (delta >= -3 && delta <= 3) {
            const RunCode& v = kVertical[delta + 3];
            out.put(v.bits, v.length);
            a0 = a1;
            ++ai;
            black = !black;
            continue;
        }
        const int a2 = a[ai + 1];
        const int start = a0 < 0 ? 0 : a0;
        out.put(kHorizontal.bits, kHorizontal.length);
        mh::putRun(out, a1 - start, black);
        mh::putRun(out, a2 - a1, !black);
        a0 = a2;
        ai += 2;
    }
    swapLists();
}

}  // namespace lumipage
