#include <gtest/gtest.h>

#include <memory>

#include "base/Settings.h"
#include "support/TestImages.h"
#include "support/ViewFakes.h"
#include "view/CLP98View.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

struct ViewFixture {
    test::FakeViewHost host;
    test::FakeViewDocument document;
    Settings settings;
    std::unique_ptr<CLP98View> view;

    ViewFixture(int width, int height, ViewSize client, int fitMode, Pattern pattern = Pattern::Text) {
        host.client = client;
        document.page = makePage(pattern, width, height, 5);
        document.page.dpi = 300;
        view = std::make_unique<CLP98View>(host, document, settings);
        view->OnInitialUpdate();
        view->setFitMode(fitMode);
        view->ShowCurrentPage();
    }
};

// The bounding box of the ink of a raster.
ViewRect inkBox(const PageRaster& p) {
    ViewRect box{p.width, p.height, -1, -1};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.row(y)[x / 8] >> (7 - x % 8) & 1) box = {std::min(box.left, x), std::min(box.top, y),
                                                             std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
    return box;
}

TEST(CLP98View, FitLevelChoosesTheClosestLevelThatFits) {
    ViewFixture f(2480, 3508, {800, 600}, CLP98View::kFitPageWidth);
    EXPECT_EQ(f.view->FitLevel(CLP98View::kFitPageWidth), 8);   // 2480 / 4 = 620 fits, / 3 does not
    EXPECT_EQ(f.view->FitLevel(CLP98View::kFitWholePage), 7);   // 3508 / 6 = 584 fits, / 4 does not
    EXPECT_EQ(f.view->FitLevel(CLP98View::kFitTwicePageWidth), 10);
    EXPECT_EQ(f.view->level(), 8);
    EXPECT_EQ(f.view->FitLevel(CLP98View::kFitNone), 8);
    f.host.client = {30, 30};  // smaller than the page even at 1/64
    EXPECT_EQ(f.view->FitLevel(CLP98View::kFitWholePage), 0);
    EXPECT_EQ(f.view->FitLevel(CLP98View::kFitPageWidth), 0);
    f.host.client = {800, 600};
    ViewFixture small(1000, 500, {800, 600}, CLP98View::kFitPageWidth);  // width fits at 1/1.5
    EXPECT_EQ(small.view->level(), 11);
    EXPECT_EQ(small.view->FitLevel(CLP98View::kFitTwicePageWidth), 12);
    ViewFixture tiny(200, 100, {800, 600}, CLP98View::kFitTwicePageWidth);
    EXPECT_EQ(tiny.view->level(), 12);
}

TEST(CLP98View, StatusBarDescribesThePageAndTheZoom) {
    ViewFixture f(2480, 3508, {800, 600}, CLP98View::kFitPageWidth);
    EXPECT_EQ(f.host.status[1], "A4");
    EXPECT_EQ(f.host.status[2], "Pixel: 2480 x 3508");
    EXPECT_EQ(f.host.status[3], "DPI: 300");
    EXPECT_EQ(f.host.status[4], "Zoom: 1/4");
    f.view->SetZoomLevel(11);
    EXPECT_EQ(f.host.status[4], "Zoom: 1/1.5");
    f.view->SetZoomLevel(0);
    EXPECT_EQ(f.host.status[4], "Zoom: 1/64");
    f.document.page.free();
    f.view->ShowCurrentPage();
    EXPECT_EQ(f.host.status[1], " ");
    EXPECT_EQ(f.host.status[2], "Pixel: ");
    EXPECT_EQ(f.host.status[4], "Zoom: ");
    EXPECT_FALSE(f.view->pageShown());
}

TEST(CLP98View, ZoomCarriesTheScrollPositionToTheNewLevel) {
    ViewFixture f(2480, 3508, {800, 600}, CLP98View::kFitNone);
    ASSERT_EQ(f.view->level(), 12);
    f.view->SetZoomLevel(8);
    EXPECT_EQ(f.view->bitmapSize(), (ViewSize{620, 877}));
    f.view->userScrollTo({0, 200});
    f.view->SetZoomLevel(10);  // 1/4 to 1/2: the top-left corner keeps its page point
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{0, 400}));
    EXPECT_EQ(f.view->bitmapSize(), (ViewSize{1240, 1754}));
    f.view->SetZoomLevel(99);
    EXPECT_EQ(f.view->level(), 12);
    EXPECT_EQ(f.view->frameLevel(), 12);
    f.view->SetZoomLevel(5);  // the scroll position is clamped to the smaller bitmap
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{0, 0}));
}

TEST(CLP98View, ZoomAtPointKeepsThePagePointUnderThePointer) {
    ViewFixture f(2480, 3508, {400, 300}, CLP98View::kFitNone);
    f.view->SetZoomLevel(8);
    f.view->userScrollTo({100, 200});
    struct Step { int level, x, y; };
    for (const Step s : {Step{10, 300, 250}, Step{12, 17, 290}, Step{9, 10, 200}, Step{11, 300, 150}}) {
        const int before = zoom::divisor(f.view->level());
        const ViewPoint scroll = f.view->scrollPosition();
        const int pageX = (s.x + scroll.x) * before / 10, pageY = (s.y + scroll.y) * before / 10;
        f.view->ZoomAtPoint(s.level, s.x, s.y);
        ASSERT_EQ(f.view->level(), s.level);
        ASSERT_NE(f.view->scrollPosition().x, 0) << "choose a point that needs no clamping";
        const int after = zoom::divisor(s.level);
        const ViewPoint now = f.view->scrollPosition();
        EXPECT_NEAR((s.x + now.x) * after / 10, pageX, after / 10 + 1) << "level " << s.level;
        EXPECT_NEAR((s.y + now.y) * after / 10, pageY, after / 10 + 1) << "level " << s.level;
    }
}

TEST(CLP98View, TurningKeepsTheSamePartOfThePageInView) {
    ViewFixture f(800, 600, {200, 150}, CLP98View::kFitNone, Pattern::White);
    for (int y = 100; y < 108; ++y) f.document.page.row(y)[75] = 0xFF;  // a mark at (600..607, 100..107)
    f.view->ShowCurrentPage();
    f.view->userScrollTo({500, 25});
    f.view->ApplyRotation(1);
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{25, 800 - 700}));  // (top, W - right)
    EXPECT_EQ(f.view->bitmapSize(), (ViewSize{600, 800}));
    EXPECT_EQ(f.document.pageWord() & 3, 1);
    for (int angle : {3, 0, 2, 1, 0, 3}) {
        // Centre the mark, turn, and find it in view again.
        const ViewRect mark = inkBox(*f.view->orientation().displayed());
        f.view->userScrollTo({mark.left - 100, mark.top - 75});
        f.view->ApplyRotation(angle);
        ASSERT_EQ(f.view->rotation(), angle);
        const ViewRect turned = inkBox(*f.view->orientation().displayed());
        EXPECT_EQ(f.view->visibleBitmapRect().intersect(turned), turned) << "turn to " << angle;
    }
}

TEST(CLP98View, OneToOneToggleReturnsToTheSavedLevel) {
    ViewFixture f(2480, 3508, {800, 600}, CLP98View::kFitPageWidth);
    f.view->enterKey(CLP98View::KeyPress::First);
    EXPECT_EQ(f.view->level(), 12);
    EXPECT_EQ(f.view->fitMode(), CLP98View::kFitNone);
    f.view->enterKey(CLP98View::KeyPress::AutoRepeat);  // auto-repeat is ignored
    EXPECT_EQ(f.view->level(), 12);
    f.view->enterKey(CLP98View::KeyPress::First);
    EXPECT_EQ(f.view->level(), 8);
    EXPECT_EQ(f.view->fitMode(), CLP98View::kFitPageWidth);
    EXPECT_EQ(f.view->savedLevel(), -1);
    f.view->zoomIn();
    f.view->zoomIn();
    f.view->zoomIn();
    f.view->zoomIn();
    EXPECT_EQ(f.view->level(), 12);
    EXPECT_FALSE(f.view->canZoomIn());
    f.view->zoomIn();
    EXPECT_EQ(f.view->level(), 12);
}

TEST(CLP98View, ZoomFramePreviewsACloserLevel) {
    ViewFixture f(2480, 3508, {800, 600}, CLP98View::kFitPageWidth);
    f.view->toggleZoomFrame();
    EXPECT_FALSE(f.view->zoomByMouse());
    ASSERT_TRUE(f.view->frameShown());
    EXPECT_EQ(f.view->frameLevel(), 12);
    EXPECT_EQ(f.view->frameRect().width(), 200);  // the 800 x 600 window at 1:1, seen at 1/4
    EXPECT_EQ(f.view->frameRect().height(), 150);
    f.view->moveFrameTo({100, 120});
    f.view->ScrollHorizontal(CLP98View::kLineDown);  // moves the frame, not the view
    EXPECT_EQ(f.view->frameRect().left, 100 + f.view->lineSize().cx);
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{0, 0}));
    f.view->moveFrameTo({100, 120});
    f.view->enterKey(CLP98View::KeyPress::First);
    EXPECT_EQ(f.view->level(), 12);
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{400, 480}));
    EXPECT_FALSE(f.view->frameShown());
    f.view->enterKey(CLP98View::KeyPress::First);  // back, the frame around what was just shown
    EXPECT_EQ(f.view->level(), 8);
    EXPECT_EQ(f.view->fitMode(), CLP98View::kFitPageWidth);
    EXPECT_EQ(f.view->frameRect(), (ViewRect{100, 120, 300, 270}));
    f.view->enlargeFrame();
    EXPECT_EQ(f.view->frameLevel(), 11);
    EXPECT_EQ(f.view->frameRect().width(), 300);  // 800 x 15 / 40
}

TEST(CLP98View, ScrollingToEdgesAndPagePlacement) {
    ViewFixture f(2480, 3508, {800, 600}, CLP98View::kFitNone);
    f.view->SetZoomLevel(10);  // 1240 x 1754
    f.view->ScrollToEdges(CLP98View::kEdgeEnd, CLP98View::kEdgeCentre);
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{440, 577}));
    f.view->ScrollVertical(CLP98View::kPageDown);
    EXPECT_EQ(f.view->scrollPosition().y, 577 + 80);
    f.view->ScrollVertical(CLP98View::kBottom);
    EXPECT_EQ(f.view->scrollPosition().y, 1154);
    f.settings.pageStartPosition = 3;  // top-right corner
    f.view->ShowCurrentPage();
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{440, 0}));
    f.view->userScrollTo({100, 300});
    f.settings.pageStartPosition = 0;  // as before
    f.view->ShowCurrentPage();
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{100, 300}));
    f.settings.pageStartPosition = 1;  // top edge
    f.view->ShowCurrentPage();
    EXPECT_EQ(f.view->scrollPosition(), (ViewPoint{100, 0}));
}

TEST(CLP98View, BackgroundSurroundsACentredPageWithItsShadow) {
    ViewFixture f(200, 100, {800, 600}, CLP98View::kFitNone, Pattern::White);
    using K = COSBView::FillKind;
    const auto fills = f.view->background();
    ASSERT_EQ(fills.size(), 6u);
    EXPECT_EQ(fills[0].rect, (ViewRect{0, 0, 800, 250}));
    EXPECT_EQ(fills[1].rect, (ViewRect{0, 350, 800, 600}));
    EXPECT_EQ(fills[2].rect, (ViewRect{0, 250, 300, 350}));
    EXPECT_EQ(fills[3].rect, (ViewRect{500, 250, 800, 350}));
    EXPECT_EQ(fills[4].rect, (ViewRect{303, 350, 503, 353}));
    EXPECT_EQ(fills[4].kind, K::Shadow);
    EXPECT_EQ(fills[5].rect, (ViewRect{500, 253, 503, 353}));
    const auto blit = f.view->DrawOffscreen();
    ASSERT_TRUE(blit);
    EXPECT_EQ(blit->source, (ViewRect{0, 0, 200, 100}));
    EXPECT_EQ(blit->target, (ViewPoint{300, 250}));

    f.view->toggleViewCenter();  // off: the page at the top left, no shadow
    EXPECT_EQ(f.settings.viewFrameShadow, 0);
    const auto plain = f.view->background();
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].rect, (ViewRect{200, 0, 800, 600}));
    EXPECT_EQ(plain[1].rect, (ViewRect{0, 100, 200, 600}));

    f.document.page.free();
    f.view->ShowCurrentPage();
    const auto empty = f.view->background();
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].rect, (ViewRect{0, 0, 800, 600}));
}

TEST(CLP98View, InversionForAllPagesAndTheInkFill) {
    ViewFixture f(640, 480, {800, 600}, CLP98View::kFitNone, Pattern::White);
    f.document.words = {0x0100, 0x0000, 0x0081};
    f.document.current = 1;
    f.view->toggleInverted(CLP98View::PageScope::AllPages);
    EXPECT_EQ(f.document.words, (std::vector<uint16_t>{0x0180, 0x0080, 0x0081}));
    EXPECT_EQ(f.view->orientation().displayed()->row(0)[0], 0xFF);
    EXPECT_EQ(f.document.page.row(0)[0], 0x00);  // the page as read stays as it was read
    struct Fill { int level, value; };
    for (const Fill want : {Fill{12, 0xFF}, Fill{10, 4 * 17}, Fill{8, 16}}) {
        f.view->SetZoomLevel(want.level);
        f.view->ClearDisplayBitmap(true);
        EXPECT_EQ(f.view->bitmap().rowAddress(0)[0], want.value) << "level " << want.level;
    }
    f.view->toggleInverted(CLP98View::PageScope::AllPages);
    EXPECT_EQ(f.document.words, (std::vector<uint16_t>{0x0100, 0x0000, 0x0001}));
}

TEST(CLP98View, ColourChangeKeepsThePixelValues) {
    ViewFixture f(640, 480, {800, 600}, CLP98View::kFitNone, Pattern::Noise);
    f.view->SetZoomLevel(10);
    const std::vector<uint8_t> before = f.view->bitmap().copyBitsOut();
    f.document.page.clear();  // were the page reduced again, the bitmap would turn white
    f.settings.inkColorMode = 6;  // red
    f.view->RefreshColours();
    EXPECT_EQ(f.view->bitmap().copyBitsOut(), before);
    EXPECT_EQ(f.view->bitmap().palette()[4], (CDIB::RgbQuad{0, 0, 255, 0}));
    f.view->SetZoomLevel(9);  // any other rebuild reduces the page again
    f.view->SetZoomLevel(10);
    f.view->RefreshColours();
    EXPECT_NE(f.view->bitmap().copyBitsOut(), before);
}

}  // namespace
}  // namespace lumipage
