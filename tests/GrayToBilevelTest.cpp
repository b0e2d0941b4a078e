// The source's own bilevel conversions of gray rows: pure black and white
// stay pure at any width, and an even gray keeps its share of white under
// the dither and the error diffusion, at the light and dark ends too.
#include <gtest/gtest.h>

#include <vector>

#include "twaindsm/GrayToBilevel.h"

namespace lumipage::twaindsm {
namespace {

using Method = GrayToBilevel::Method;

// The share of white of `height` rows of the even gray `level`.
double whiteShare(Method method, uint8_t level, size_t width, int height) {
    GrayToBilevel convert;
    convert.setMethod(method);
    convert.start(width);
    const std::vector<uint8_t> gray(width, level);
    std::vector<uint8_t> out((width + 7) / 8 + 1, 0xa5);
    size_t white = 0;
    for (int y = 0; y < height; ++y) {
        convert.row(gray.data(), out.data(), y);
        EXPECT_EQ(out.back(), 0xa5) << "wrote past the row";
        for (size_t x = 0; x < width; ++x) white += (out[x / 8] >> (7 - x % 8)) & 1;
        if (width % 8) {
            EXPECT_EQ(out[width / 8] & (0xff >> (width % 8)), 0) << "padding bits set";
        }
    }
    return double(white) / (double(width) * height);
}

TEST(GrayToBilevel, BlackAndWhiteStayPureAtAnyWidth) {
    for (const Method method : {Method::Threshold, Method::Dither, Method::Diffusion}) {
        for (const size_t width : {size_t(1), size_t(13), size_t(64), size_t(1001)}) {
            EXPECT_EQ(whiteShare(method, 0, width, 20), 0.0) << int(method) << " " << width;
            EXPECT_EQ(whiteShare(method, 255, width, 20), 1.0) << int(method) << " " << width;
        }
    }
}

TEST(GrayToBilevel, AnEvenGrayKeepsItsShareOfWhite) {
    for (const int level : {4, 40, 85, 128, 170, 230, 251}) {
        const double share = level / 255.0;
        EXPECT_NEAR(whiteShare(Method::Dither, uint8_t(level), 256, 256), share, 1.0 / 64) << level;
        EXPECT_NEAR(whiteShare(Method::Diffusion, uint8_t(level), 256, 256), share, 0.01) << level;
        EXPECT_EQ(whiteShare(Method::Threshold, uint8_t(level), 64, 4), level >= 128 ? 1.0 : 0.0) << level;
    }
}

}  // namespace
}  // namespace lumipage::twaindsm
