#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumipage::twaindsm {

// How 8-bit gray rows become bilevel when the source makes the page itself:
// a threshold, an 8 x 8 ordered dither (TWAIN's halftone) or error
// diffusion (Floyd and Steinberg's weights). Gray runs from 0 (black) to
// 255 (white); the bilevel rows have a set bit for white, as TWAIN's
// bilevel data does.
class GrayToBilevel {
public:
    enum class Method { Threshold, Dither, Diffusion };

    void setMethod(Method method) { method_ = method; }
    Method method() const { return method_; }
    void setThreshold(int threshold) { threshold_ = threshold; }
    int threshold() const { return threshold_; }

    // Begins a page of rows `width` pixels wide.
    void start(size_t width);
    // Row `y` of the page; rows come in order from 0.
    void row(const uint8_t* gray, uint8_t* out, int y);

private:
    Method method_ = Method::Threshold;
    int threshold_ = 128;
    size_t width_ = 0;
    // The error carried to this row and to the next, with a pixel of room
    // at either end.
    std::vector<int> here_, below_;
};

}  // namespace lumipage::twaindsm
