#include <gtest/gtest.h>

#include "image/CDIB.h"
#include "image/PageRaster.h"
#include "support/TestImages.h"
#include "view/DisplayGeometry.h"
#include "view/PageRenderer.h"
#include "view/ZoomLevels.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

// Page pixel, paper outside the row's bytes and below the last row.
int inkAt(const PageRaster& p, int x, int y) {
    if (x < 0 || y < 0 || y >= p.height || x >= int(p.bytesPerRow) * 8) return 0;
    return p.row(y)[x / 8] >> (7 - x % 8) & 1;
}

// What a display pixel should hold, counted pixel by pixel.
int expectedPixel(const PageRaster& p, int level, int x, int y) {
    if (level == zoom::kOneToOne) return inkAt(p, x, y);
    const ZoomLevel& z = zoom::kTable[size_t(level)];
    if (level == zoom::kOneAndAHalf) {
        const int first = y * 15 / 10, m = x / 2;
        auto across = [&](int row) {
            return x % 2 == 0 ? 2 * inkAt(p, 3 * m, row) + inkAt(p, 3 * m + 1, row)
                              : inkAt(p, 3 * m + 1, row) + 2 * inkAt(p, 3 * m + 2, row);
        };
        return y % 2 == 0 ? 2 * across(first) : across(first) + across(first + 1);
    }
    const int n = z.divisor / 10;
    int count = 0;
    for (int row = y * z.divisor / 10; row < y * z.divisor / 10 + n; ++row)
        for (int col = x * n; col < x * n + n; ++col) count += inkAt(p, col, row);
    return count >> z.shift;
}

int displayPixel(const CDIB& bitmap, int x, int y) {
    const uint8_t* row = bitmap.rowAddress(y);
    switch (bitmap.bitsPerPixel()) {
        case 1: return row[x / 8] >> (7 - x % 8) & 1;
        case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
        default: return row[x];
    }
}

CDIB renderAt(const PageRaster& page, int level, DisplayGeometry& g) {
    g = DisplayGeometry::forPage(page, level);
    CDIB bitmap;
    EXPECT_TRUE(bitmap.create(g.displayWidth, g.displayHeight, g.bitsPerPixel, 0));
    bitmap.fill(0xA5);  // whatever was there must be overwritten
    PageRenderer renderer;
    EXPECT_TRUE(renderer.render(page, g, bitmap));
    return bitmap;
}

void expectMatchesReference(const PageRaster& page, const char* what) {
    for (int level = 0; level < zoom::kLevels; ++level) {
        DisplayGeometry g;
        const CDIB bitmap = renderAt(page, level, g);
        for (int y = 0; y < g.displayHeight; ++y)
            for (int x = 0; x < g.displayWidth; ++x) {
                const int want = expectedPixel(page, level, x, y);
                ASSERT_EQ(displayPixel(bitmap, x, y), want) << what << " level " << level << " at " << x << "," << y;
                ASSERT_LT(want, g.colours) << what << " level " << level;
            }
    }
}

TEST(PageRenderer, EveryLevelCountsTheInkOfItsBlocks) {
    expectMatchesReference(makePage(Pattern::Noise, 203, 157, 3), "noise 203x157");
    expectMatchesReference(makePage(Pattern::Noise, 1729, 131, 5), "noise 1729 wide");
    expectMatchesReference(makePage(Pattern::Text, 640, 300, 7), "text 640x300");
    expectMatchesReference(makePage(Pattern::ThinLines, 97, 211, 9), "thin lines 97x211");
}

TEST(PageRenderer, SolidInkReachesTheLastColourAtEveryLevel) {
    // 960 x 960 is a whole number of blocks at every level.
    const PageRaster page = makePage(Pattern::Black, 960, 960);
    for (int level = 0; level < zoom::kLevels; ++level) {
        DisplayGeometry g;
        const CDIB bitmap = renderAt(page, level, g);
        EXPECT_EQ(displayPixel(bitmap, g.displayWidth / 2, g.displayHeight / 2), g.colours - 1) << "level " << level;
    }
}

TEST(PageRenderer, SmallPagesAndRaggedEdges) {
    // A page one pixel wide: one display pixel per 64 rows at 1/64.
    const PageRaster narrow = makePage(Pattern::Black, 1, 100);
    DisplayGeometry g;
    const CDIB bitmap = renderAt(narrow, 0, g);
    EXPECT_EQ(g.displayWidth, 1);
    EXPECT_EQ(g.displayHeight, 2);
    EXPECT_EQ(displayPixel(bitmap, 0, 0), 64 >> 5);
    EXPECT_EQ(displayPixel(bitmap, 0, 1), 36 >> 5);
    expectMatchesReference(narrow, "one pixel wide");
    expectMatchesReference(makePage(Pattern::Noise, 5, 3, 11), "5x3");
    expectMatchesReference(makePage(Pattern::Noise, 17, 1, 13), "one row");
}

TEST(PageRenderer, GeometryOfAnA4Page) {
    PageRaster page;
    page.setSize(2480, 3508);
    const DisplayGeometry half = DisplayGeometry::forPage(page, 11);
    EXPECT_EQ(half.displayWidth, 1653);  // 310 bytes x 80 / 15, fewer than 2480 x 10 / 15 rounded up
    EXPECT_EQ(half.displayHeight, 2339);
    EXPECT_EQ(half.displayRowBytes, 827);
    const DisplayGeometry tiny = DisplayGeometry::forPage(page, 0);
    EXPECT_EQ(tiny.displayWidth, 39);  // 310 bytes, 8 per pixel, rounded up
    EXPECT_EQ(tiny.displayHeight, 55);
    const DisplayGeometry quarter = DisplayGeometry::forPage(page, 8);
    EXPECT_EQ(quarter.displayWidth, 620);
    EXPECT_EQ(quarter.displayRowBytes, 620);
}

TEST(PageRenderer, RefusesABitmapOfAnotherFormat) {
    const PageRaster page = makePage(Pattern::Noise, 64, 64);
    const DisplayGeometry g = DisplayGeometry::forPage(page, 8);
    CDIB wrong;
    ASSERT_TRUE(wrong.create(g.displayWidth, g.displayHeight, 4, 0));
    PageRenderer renderer;
    EXPECT_FALSE(renderer.render(page, g, wrong));
    PageRaster empty;
    empty.setSize(64, 64);
    CDIB right;
    ASSERT_TRUE(right.create(g.displayWidth, g.displayHeight, 8, 0));
    EXPECT_FALSE(renderer.render(empty, g, right));
}

}  // namespace
}  // namespace lumipage
