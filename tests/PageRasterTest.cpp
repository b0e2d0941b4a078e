#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>

#include "image/PageRaster.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

TEST(PageRaster, GeometryFollowsWidthAndHeight) {
    PageRaster p;
    for (int h = 1; h <= 8; ++h) {
        p.setSize(1, h);
        EXPECT_EQ(p.bytesPerRow, 1u);
        EXPECT_EQ(p.imageSize, 8u);
    }
    p.setSize(1729, 2290);
    EXPECT_EQ(p.bytesPerRow, 217u);
    EXPECT_EQ(p.imageSize, 2296u * 217u);
    ASSERT_TRUE(p.create(1728, 2290, 200));
    EXPECT_EQ(p.imageSize, 495936u);
    EXPECT_EQ(p.capacity(), 495936u + 1024u);
}

TEST(PageRaster, BlankPageIsWhiteA4At300Dpi) {
    PageRaster p;
    p.coding = 14;
    p.lineDoubling = 1;
    p.resetToBlank();
    EXPECT_EQ(p.coding, 0);
    EXPECT_EQ(p.lineDoubling, 0u);
    EXPECT_EQ(p.dpi, 300);
    EXPECT_EQ(p.width, 2360);
    EXPECT_EQ(p.height, 3384);
    EXPECT_EQ(p.bytesPerRow, 295u);
    EXPECT_EQ(p.imageSize, 998280u);
    ASSERT_TRUE(p.hasBits());
    for (size_t i = 0; i < p.imageSize; ++i) ASSERT_EQ(p.bits()[i], 0);
}

// A buffer of about the size asked for is kept, cleared; a much larger
// one is given back rather than held for a small page.
TEST(PageRaster, AllocationKeepsABufferOfAboutTheSizeCleared) {
    PageRaster raster;
    ASSERT_TRUE(raster.allocate(100000));
    std::memset(raster.bits(), 0xA5, raster.capacity());
    const uint8_t* first = raster.bits();
    ASSERT_TRUE(raster.allocate(90000));
    EXPECT_EQ(raster.bits(), first);
    EXPECT_EQ(raster.capacity(), 100000u);
    const uint8_t* bits = raster.bits();
    EXPECT_TRUE(std::all_of(bits, bits + raster.capacity(), [](uint8_t b) { return b == 0; }));
    ASSERT_TRUE(raster.allocate(10000));
    EXPECT_EQ(raster.capacity(), 10000u);
    ASSERT_TRUE(raster.allocate(20000));
    EXPECT_EQ(raster.capacity(), 20000u);
}

TEST(PageRaster, SizeLimitIs16000EachWay) {
    test::RecordingMessages m;
    EXPECT_TRUE(PageRaster::checkSize("/a/b.tif", 16000, 16000, m));
    EXPECT_TRUE(m.said.empty());
    EXPECT_FALSE(PageRaster::checkSize("/a/b.tif", 16001, 10, m));
    EXPECT_FALSE(PageRaster::checkSize("/a/b.tif", 10, 16001, m));
    ASSERT_EQ(m.said.size(), 2u);
    EXPECT_EQ(m.said[0], "/a/b.tif\nデータサイズが制限値を超えています");
}

TEST(PageRaster, StoredRecordIsLittleEndianWithNullPointer) {
    PageRaster p;
    p.coding = 14;
    p.lineDoubling = 1;
    p.create(1729, 3, 200);
    const auto r = p.storedRecord();
    const uint8_t expected[32] = {14, 0, 0, 0, 1, 0, 0, 0, 200, 0, 0, 0, 0xC1, 6, 0, 0,
                                  3, 0, 0, 0, 217, 0, 0, 0, 0xC8, 6, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(r.data(), expected, 32));
}

TEST(PageRaster, ByteOperations) {
    uint8_t data[] = {0x01, 0x03, 0xF0, 0x00, 0xFF};
    PageRaster::reverseBitOrder(data, 5);
    EXPECT_EQ(data[0], 0x80);
    EXPECT_EQ(data[1], 0xC0);
    EXPECT_EQ(data[2], 0x0F);
    PageRaster::invertBytes(data, 5);
    EXPECT_EQ(data[3], 0xFF);
    EXPECT_EQ(data[4], 0x00);

    uint8_t row[] = {0x0F, 0xA5, 0x81};
    PageRaster::shiftRowLeft(row, 3, 4);
    EXPECT_EQ(row[0], 0xFA);
    EXPECT_EQ(row[1], 0x58);
    EXPECT_EQ(row[2], 0x10);
}

// Pixel access for checking transforms against their definitions.
bool pixel(const PageRaster& p, int x, int y) { return p.row(y)[x / 8] & (0x80 >> (x % 8)); }

bool paddingIsWhite(const PageRaster& p) {
    const int used = p.width % 8;
    if (used == 0) return true;
    const uint8_t unused = uint8_t(0xFF >> used);
    for (int y = 0; y < p.height; ++y)
        if (p.row(y)[p.bytesPerRow - 1] & unused) return false;
    return true;
}

struct Size {
    int width, height;
};

class RasterTransforms : public ::testing::TestWithParam<Size> {};

TEST_P(RasterTransforms, EveryPixelGoesWhereTheTurnSays) {
    const auto [w, h] = GetParam();
    const PageRaster src = makePage(Pattern::Noise, w, h, uint32_t(w * 31 + h));
    PageRaster ccw, cw, half, mirrored, flipped;
    ASSERT_TRUE(PageRaster::quarterTurnCounterClockwise(src, ccw));
    ASSERT_TRUE(PageRaster::quarterTurnClockwise(src, cw));
    ASSERT_TRUE(PageRaster::halfTurn(src, half));
    ASSERT_EQ(ccw.width, h);
    ASSERT_EQ(ccw.height, w);
    ASSERT_EQ(cw.width, h);
    ASSERT_EQ(cw.height, w);
    mirrored.create(w, h, 200);
    std::memcpy(mirrored.bits(), src.bits(), src.imageSize);
    ASSERT_TRUE(mirrored.mirrorLeftRight());
    flipped.create(w, h, 200);
    std::memcpy(flipped.bits(), src.bits(), src.imageSize);
    ASSERT_TRUE(flipped.flipTopBottom());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool v = pixel(src, x, y);
            ASSERT_EQ(pixel(ccw, y, w - 1 - x), v) << x << "," << y;
            ASSERT_EQ(pixel(cw, h - 1 - y, x), v) << x << "," << y;
            ASSERT_EQ(pixel(half, w - 1 - x, h - 1 - y), v) << x << "," << y;
            ASSERT_EQ(pixel(mirrored, w - 1 - x, y), v) << x << "," << y;
            ASSERT_EQ(pixel(flipped, x, h - 1 - y), v) << x << "," << y;
        }
    for (const PageRaster* p : {&ccw, &cw, &half, &mirrored, &flipped}) EXPECT_TRUE(paddingIsWhite(*p));
    EXPECT_EQ(ccw.imageSize, ccw.bytesPerRow * src.bytesPerRow * 8);
}

TEST_P(RasterTransforms, FourQuarterTurnsGiveBackThePage) {
    const auto [w, h] = GetParam();
    const PageRaster src = makePage(Pattern::Noise, w, h, 7);
    for (bool clockwise : {false, true}) {
        PageRaster a, b;
        ASSERT_TRUE(clockwise ? PageRaster::quarterTurnClockwise(src, a) : PageRaster::quarterTurnCounterClockwise(src, a));
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(clockwise ? PageRaster::quarterTurnClockwise(a, b) : PageRaster::quarterTurnCounterClockwise(a, b));
            std::swap(a, b);
        }
        ASSERT_EQ(a.width, w);
        ASSERT_EQ(a.height, h);
        EXPECT_EQ(test::imageBytes(a), test::imageBytes(src)) << (clockwise ? "clockwise" : "counter-clockwise");
    }
    PageRaster turned;
    ASSERT_TRUE(PageRaster::halfTurn(src, turned));
    ASSERT_TRUE(turned.halfTurnInPlace());
    EXPECT_EQ(test::imageBytes(turned), test::imageBytes(src));
}

INSTANTIATE_TEST_SUITE_P(Sizes, RasterTransforms,
                         ::testing::Values(Size{1, 1}, Size{1, 9}, Size{8, 8}, Size{13, 5}, Size{17, 23}, Size{64, 3},
                                           Size{1729, 11}, Size{9, 1729}, Size{100, 1}));

TEST(PageRaster, HalfTurnOfOneRowReversesIt) {
    PageRaster p;
    p.create(12, 1, 200);
    p.row(0)[0] = 0xC0;  // pixels 0 and 1
    p.row(0)[1] = 0x10;  // pixel 11, the last
    ASSERT_TRUE(p.flipTopBottom());
    EXPECT_EQ(p.row(0)[0], 0xC0);
    ASSERT_TRUE(p.halfTurnInPlace());
    EXPECT_EQ(p.row(0)[0], 0x80);  // pixel 11 -> 0
    EXPECT_EQ(p.row(0)[1], 0x30);  // pixels 0,1 -> 11,10
}

TEST(PageRaster, Width1729KeepsPaddingWhite) {
    PageRaster p = makePage(Pattern::Black, 1729, 40);
    ASSERT_TRUE(paddingIsWhite(p));
    ASSERT_TRUE(p.halfTurnInPlace());
    EXPECT_TRUE(paddingIsWhite(p));
    EXPECT_EQ(p.row(0)[0], 0xFF);
    EXPECT_EQ(p.row(0)[216], 0x80);
    ASSERT_TRUE(p.mirrorLeftRight());
    EXPECT_TRUE(paddingIsWhite(p));
    ASSERT_TRUE(p.invert());
    EXPECT_TRUE(paddingIsWhite(p));
    EXPECT_EQ(p.row(5)[216], 0x00);
    ASSERT_TRUE(p.invert());
    EXPECT_EQ(p.row(5)[216], 0x80);
}

TEST(PageRaster, TransformsNeedABuffer) {
    PageRaster empty, dst;
    empty.setSize(10, 10);
    EXPECT_FALSE(empty.invert());
    EXPECT_FALSE(empty.halfTurnInPlace());
    EXPECT_FALSE(empty.mirrorLeftRight());
    EXPECT_FALSE(empty.flipTopBottom());
    EXPECT_FALSE(PageRaster::halfTurn(empty, dst));
    EXPECT_FALSE(PageRaster::quarterTurnClockwise(empty, dst));
    EXPECT_FALSE(PageRaster::quarterTurnCounterClockwise(empty, dst));
}

TEST(PageRaster, DestinationBufferIsKeptWhenTheSizeIsUnchanged) {
    const PageRaster src = makePage(Pattern::Text, 300, 200);
    PageRaster dst;
    ASSERT_TRUE(PageRaster::quarterTurnClockwise(src, dst));
    const uint8_t* first = dst.bits();
    ASSERT_TRUE(PageRaster::quarterTurnCounterClockwise(src, dst));
    EXPECT_EQ(dst.bits(), first);
}

}  // namespace
}  // namespace lumipage
