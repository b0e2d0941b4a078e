#include "twaindsm/GrayToBilevel.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lumipage::twaindsm {

namespace {

// Bayer's 8 x 8 index matrix scaled to thresholds 2, 6, ... 254: a gray g
// lights the cells whose threshold lies under g, so that the share of
// white follows the gray level.
constexpr std::array<std::array<uint8_t, 8>, 8> kBayer = [] {
    constexpr uint8_t index[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                     {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                     {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                     {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    std::array<std::array<uint8_t, 8>, 8> t{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) t[size_t(y)][size_t(x)] = uint8_t(index[y][x] * 4 + 2);
    return t;
}();

}  // namespace

void GrayToBilevel::start(size_t width) {
    width_ = width;
    here_.assign(width + 2, 0);
    below_.assign(width + 2, 0);
}

void GrayToBilevel::row(const uint8_t* gray, uint8_t* out, int y) {
    std::memset(out, 0, (width_ + 7) / 8);
    switch (method_) {
    case Method::Threshold:
        for (size_t x = 0; x < width_; ++x)
            if (gray[x] >= threshold_) out[x / 8] |= uint8_t(0x80 >> (x % 8));
        break;
    case Method::Dither: {
        const auto& cells = kBayer[size_t(y) & 7];
        for (size_t x = 0; x < width_; ++x)
            if (gray[x] > cells[x & 7]) out[x / 8] |= uint8_t(0x80 >> (x % 8));
        break;
    }
    case Method::Diffusion: {
        // here_[x + 1] is the error carried to pixel x of this row.
        std::fill(below_.begin(), below_.end(), 0);
        for (size_t x = 0; x < width_; ++x) {
            const int value = gray[x] + here_[x + 1] / 16;
            const bool white = value >= 128;
            if (white) out[x / 8] |= uint8_t(0x80 >> (x % 8));
            const int error = std::clamp(value - (white ? 255 : 0), -255, 255);
            here_[x + 2] += error * 7;
            below_[x] += error * 3;
            below_[x + 1] += error * 5;
            below_[x + 2] += error;
        }
        here_.swap(below_);
        break;
    }
    }
}

}  // namespace lumipage::twaindsm
