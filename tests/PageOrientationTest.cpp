#include <gtest/gtest.h>

#include "support/TestImages.h"
#include "image/PageOrientation.h"

namespace lumipage {
namespace {

using test::firstDifferentRow;
using test::makePage;
using test::Pattern;
using Use = PageOrientation::CopyUse;

PageRaster turned(const PageRaster& page, int angle) {
    PageRaster out;
    if (angle == 1) PageRaster::quarterTurnCounterClockwise(page, out);
    if (angle == 2) PageRaster::halfTurn(page, out);
    if (angle == 3) PageRaster::quarterTurnClockwise(page, out);
    return out;
}

bool same(const PageRaster& a, const PageRaster& b) {
    return a.width == b.width && a.height == b.height && firstDifferentRow(a, b) == -1;
}

TEST(PageOrientation, RotatedCopyIsReusedWhereItCanBe) {
    PageRaster page = makePage(Pattern::Text, 203, 131, 2);
    const PageRaster original = makePage(Pattern::Text, 203, 131, 2);
    PageOrientation o;
    o.newPage(&page);

    ASSERT_TRUE(o.SetRotation(1));  // left: a new copy
    EXPECT_EQ(o.lastCopyUse(), Use::Rebuilt);
    EXPECT_TRUE(same(*o.displayed(), turned(original, 1)));
    ASSERT_TRUE(o.SetRotation(0));  // and right again: the page itself, the copy kept
    EXPECT_EQ(o.displayed(), &page);
    EXPECT_EQ(o.copyRotation(), 1);
    ASSERT_TRUE(o.SetRotation(1));
    EXPECT_EQ(o.lastCopyUse(), Use::Reused);

    ASSERT_TRUE(o.SetRotation(2));  // left again: rebuilt from the page, not from the copy
    EXPECT_EQ(o.lastCopyUse(), Use::Rebuilt);
    EXPECT_TRUE(same(*o.displayed(), turned(original, 2)));

    ASSERT_TRUE(o.SetRotation(1));
    const uint8_t* copyBits = o.displayed()->bits();
    ASSERT_TRUE(o.SetRotation(3));  // +90 to -90: the copy is half-turned where it stands
    EXPECT_EQ(o.lastCopyUse(), Use::HalfTurnedInPlace);
    EXPECT_EQ(o.displayed()->bits(), copyBits);
    EXPECT_TRUE(same(*o.displayed(), turned(original, 3)));
    EXPECT_EQ(o.word() & PageOrientation::kRotationBits, 3);

    EXPECT_FALSE(o.SetRotation(4));
    EXPECT_EQ(o.rotation(), 3);
    EXPECT_TRUE(same(page, original));  // turning never touches the page itself
}

// A fax page's rows stand further apart than its pixels: a turned page
// keeps its true size, its resolutions changing places with its sides.
TEST(PageOrientation, TurnedPagesKeepTheirResolutionsAcrossAndDown) {
    PageRaster page = makePage(Pattern::Text, 172, 229, 5);
    page.dpi = 204;
    page.rowDpi = 196;
    for (int angle = 1; angle <= 3; ++angle) {
        const PageRaster out = turned(page, angle);
        EXPECT_EQ(out.dpi, angle == 2 ? 204 : 196) << angle;
        EXPECT_EQ(out.rowResolution(), angle == 2 ? 196 : 204) << angle;
    }
    PageOrientation o;
    o.newPage(&page);
    ASSERT_TRUE(o.SetRotation(1));
    ASSERT_TRUE(o.SetRotation(3));  // half-turned where it stands
    EXPECT_EQ(o.displayed()->dpi, 196);
    EXPECT_EQ(o.displayed()->rowResolution(), 204);
    ASSERT_TRUE(o.SetRotation(0));
    EXPECT_EQ(o.displayed()->rowResolution(), 196);

    page.rowDpi = 0;  // square pixels stay square
    EXPECT_EQ(turned(page, 1).rowDpi, 0);
    EXPECT_EQ(turned(page, 1).rowResolution(), 204);
}

TEST(PageOrientation, MirroringIsInThePagesOwnAxes) {
    const PageRaster original = makePage(Pattern::Text, 150, 97, 4);
    for (int angle = 1; angle <= 3; ++angle) {
        for (bool leftRight : {true, false}) {
            PageRaster page = makePage(Pattern::Text, 150, 97, 4);
            PageOrientation o;
            o.newPage(&page);
            ASSERT_TRUE(o.SetRotation(angle));
            ASSERT_TRUE(leftRight ? o.SetMirrorLeftRight(true) : o.SetMirrorUpDown(true));
            // The same as mirroring the page first and turning it after.
            PageRaster mirrored = makePage(Pattern::Text, 150, 97, 4);
            leftRight ? mirrored.mirrorLeftRight() : mirrored.flipTopBottom();
            EXPECT_TRUE(same(*o.displayed(), turned(mirrored, angle))) << angle << " " << leftRight;
            EXPECT_TRUE(same(page, original));  // the page as read is never changed
            EXPECT_EQ(o.word(), (leftRight ? PageOrientation::kMirroredLeftRight : PageOrientation::kMirroredUpDown) |
                                    angle);
        }
    }
}

TEST(PageOrientation, InversionReachesTheKeptCopy) {
    PageRaster page = makePage(Pattern::Noise, 61, 40, 8);
    PageOrientation o;
    o.newPage(&page);
    ASSERT_TRUE(o.SetRotation(2));
    ASSERT_TRUE(o.SetRotation(0));
    ASSERT_TRUE(o.SetInverted(true));
    EXPECT_EQ(o.word(), PageOrientation::kInverted);
    ASSERT_TRUE(o.SetRotation(2));
    EXPECT_EQ(o.lastCopyUse(), Use::Reused);
    PageRaster inverted = makePage(Pattern::Noise, 61, 40, 8);
    inverted.invert();
    EXPECT_TRUE(same(*o.displayed(), turned(inverted, 2)));
}

TEST(PageOrientation, ShowingAPageAppliesItsWord) {
    PageRaster page = makePage(Pattern::Text, 120, 80, 6);
    PageOrientation o;
    o.newPage(&page);
    ASSERT_TRUE(o.SetRotation(1));
    const uint16_t word = PageOrientation::kInverted | PageOrientation::kMirroredUpDown | 3 | 0x100;
    o.showPage(&page, word);
    EXPECT_EQ(o.word(), word);  // the marks in the high byte stay as they are
    EXPECT_TRUE(o.inverted() && o.mirroredUpDown() && !o.mirroredLeftRight());
    EXPECT_EQ(o.lastCopyUse(), Use::Rebuilt);  // the old page's copy is not reused
    PageRaster expected = makePage(Pattern::Text, 120, 80, 6);
    expected.invert();
    expected.flipTopBottom();
    EXPECT_TRUE(same(*o.displayed(), turned(expected, 3)));

    PageOrientation none;
    none.showPage(nullptr, 2);
    EXPECT_EQ(none.rotation(), 0);
    EXPECT_FALSE(none.SetInverted(true));
}

TEST(PageOrientation, AllPagesTakeTheStateShown) {
    std::vector<uint16_t> words{0x0081, 0x0102, 0x0000};
    PageOrientation::setRotationOfAll(words, 3);
    EXPECT_EQ(words, (std::vector<uint16_t>{0x0083, 0x0103, 0x0003}));
    PageOrientation::setFlagOfAll(words, PageOrientation::kInverted, false);
    EXPECT_EQ(words, (std::vector<uint16_t>{0x0003, 0x0103, 0x0003}));
    PageOrientation::setFlagOfAll(words, PageOrientation::kMirroredLeftRight, true);
    EXPECT_EQ(words, (std::vector<uint16_t>{0x0007, 0x0107, 0x0007}));
}

}  // namespace
}  // namespace lumipage
