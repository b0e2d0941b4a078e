#include <gtest/gtest.h>

#include "view/StatusTexts.h"

namespace lumipage {
namespace {

TEST(StatusTexts, ZoomShowsTheScale) {
    EXPECT_EQ(StatusTexts::zoomText(15), "Zoom: 1/1.5");
    EXPECT_EQ(StatusTexts::zoomText(640), "Zoom: 1/64");
    EXPECT_EQ(StatusTexts::zoomText(10), "Zoom: 1/1");
}

TEST(StatusTexts, PaperIsTheSmallestSizeThePageFits) {
    EXPECT_EQ(StatusTexts::paperName(2480, 3508, 300), "A4");
    EXPECT_EQ(StatusTexts::paperName(3508, 2480, 300), "A4");  // landscape
    EXPECT_EQ(StatusTexts::paperName(2550, 3300, 300), "USﾚﾀｰ");
    EXPECT_EQ(StatusTexts::paperName(1181, 1748, 300), "葉書");
    EXPECT_EQ(StatusTexts::paperName(650, 1075, 300), "名刺");
    EXPECT_EQ(StatusTexts::paperName(1728, 2290, 200), "B4");  // 219.5 mm is past the letter's tolerance
    EXPECT_EQ(StatusTexts::paperName(8000, 11000, 300), "B1");
    EXPECT_EQ(StatusTexts::paperName(16000, 16000, 100), "B0");  // larger than every size
    EXPECT_EQ(StatusTexts::paperName(2480, 3508, 0), " ");
}

TEST(StatusTexts, PanesWithAndWithoutAPage) {
    const StatusTexts page = StatusTexts::forPage(1728, 2290, 200, 20);
    EXPECT_EQ(page.pixels, "Pixel: 1728 x 2290");
    EXPECT_EQ(page.dpi, "DPI: 200");
    EXPECT_EQ(page.zoom, "Zoom: 1/2");
    const StatusTexts none = StatusTexts::forNoPage();
    EXPECT_EQ(none.paper, " ");
    EXPECT_EQ(none.pixels, "Pixel: ");
    EXPECT_EQ(none.dpi, "DPI: ");
    EXPECT_EQ(none.zoom, "Zoom: ");
}

}  // namespace
}  // namespace lumipage
