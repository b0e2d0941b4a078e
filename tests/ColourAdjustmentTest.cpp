// The colour adjustment: what its edits, sliders, buttons and Cancel do to
// the settings and to the colours the view shows, and the colour block
// that goes to the other running copies.
#include <gtest/gtest.h>

#include "app/InstanceRequestHandler.h"
#include "app/DialogPosition.h"
#include "support/ViewerFixture.h"
#include "view/ColourAdjustment.h"

namespace lumipage {
namespace {

using Control = ColourAdjustment::Control;
using Side = ColourAdjustment::Side;

CDIB::RgbQuad quad(int r, int g, int b) { return CDIB::RgbQuad{uint8_t(b), uint8_t(g), uint8_t(r), 0}; }

// The adjustment over a view that shows a page, counting what reaches the
// view and the other copies.
struct Adjusting : test::ViewerFixture, ::testing::Test {
    int refreshes = 0;
    std::vector<std::array<int, 8>> sent;
    std::vector<ColourAdjustment::SystemColours> written;
    ColourAdjustment::SystemColours desktop{rgb(212, 208, 200), rgb(1, 2, 3), rgb(4, 5, 6)};
    bool desktopRefuses = false;
    ColourAdjustment adjustment{settings, host()};

    Adjusting() {
        openNine();
        settings.paperColorMode = 2;  // white
        settings.inkColorMode = 5;    // black
        view.RefreshColours();
    }
    ColourAdjustment::Host host() {
        ColourAdjustment::Host h;
        h.systemColour = [](Side side) { return side == Side::Paper ? rgb(250, 250, 250) : rgb(10, 10, 10); };
        h.refreshColours = [this] {
            ++refreshes;
            view.RefreshColours();
        };
        h.broadcast = [this](const Settings& s) {
            sent.push_back({s.paperColor, s.paperColorMode, s.bright, s.contrast, s.inkColor, s.inkColorMode,
                            s.adjustGamma, s.fastUpdate});
        };
        h.readSystemColours = [this] { return desktop; };
        h.writeSystemColours = [this](const ColourAdjustment::SystemColours& c) {
            if (desktopRefuses) return false;
            written.push_back(c);
            desktop = c;
            return true;
        };
        return h;
    }
    CDIB::RgbQuad shownPaper() const { return view.bitmap().palette()[0]; }
    CDIB::RgbQuad shownInk() const { return view.bitmap().palette()[size_t(view.geometry().colours - 1)]; }
};

TEST_F(Adjusting, BrightnessScalesThePaperShownAndIsBroughtIntoRangeOnOpening) {
    settings.bright = 400;
    settings.contrast = 20;
    adjustment.open();
    EXPECT_EQ(settings.bright, 150);
    EXPECT_EQ(settings.contrast, 50);
    EXPECT_EQ(adjustment.sliderPosition(Control::Bright), 0) << "the largest brightness stands at the top";
    EXPECT_EQ(adjustment.sliderPosition(Control::Contrast), 200);

    adjustment.setValue(Control::Contrast, 100);
    EXPECT_EQ(shownPaper(), quad(255, 255, 255)) << "white stays white at 150 %";
    adjustment.chooseMode(Side::Paper, 4);
    EXPECT_EQ(shownPaper(), quad(235, 255, 255));
    EXPECT_EQ(adjustment.swatch(Control::Bright), rgb(235, 255, 255));
    adjustment.setValue(Control::Bright, 0);
    EXPECT_EQ(shownPaper(), quad(0, 0, 0));
    EXPECT_EQ(shownInk(), quad(0, 0, 0));

    // Every change went to the other copies in the order they are exchanged.
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent.back(), (std::array<int, 8>{int(rgb(192, 232, 248)), 4, 0, 100, 0, 5, 0, 1}));
    EXPECT_EQ(refreshes, 3);
}

TEST_F(Adjusting, TypedNumbersAreReadLeniently) {
    adjustment.open();
    EXPECT_EQ(adjustment.editLeft(Control::Contrast, "20"), 50);
    EXPECT_EQ(settings.contrast, 50);
    EXPECT_EQ(adjustment.sliderPosition(Control::Contrast), 200);
    EXPECT_EQ(adjustment.editLeft(Control::Contrast, " 160%"), 160);
    EXPECT_EQ(adjustment.editLeft(Control::Bright, "-5"), 0);
    EXPECT_EQ(adjustment.editLeft(Control::Bright, "abc"), 0);
    EXPECT_EQ(adjustment.editLeft(Control::Bright, "99999999999999999999"), 150);
    adjustment.chooseMode(Side::Ink, ColourAdjustment::kCustomMode);
    EXPECT_EQ(adjustment.editLeft(Control::InkGreen, "300"), 255);
    EXPECT_EQ(settings.inkColor, int(rgb(0, 255, 0)));
    EXPECT_EQ(shownInk(), quad(0, 255, 0));
    EXPECT_EQ(adjustment.sliderPosition(Control::InkGreen), 0);
    EXPECT_EQ(adjustment.swatch(Control::InkGreen), rgb(0, 255, 0));
    EXPECT_EQ(adjustment.swatch(Control::InkRed), rgb(0, 0, 0));
    // Text on the swatches: black from a green of 180 up.
    EXPECT_EQ(ColourAdjustment::textColourOn(rgb(0, 180, 0)), rgb(0, 0, 0));
    EXPECT_EQ(ColourAdjustment::textColourOn(rgb(255, 179, 255)), rgb(255, 255, 255));
}

TEST_F(Adjusting, SlidersApplyWhileDraggedOnlyWithFastUpdate) {
    adjustment.open();
    adjustment.setFastUpdate(false);
    const int before = refreshes;
    adjustment.sliderMoved(Control::Bright, 100, false);  // dragged to 50 %
    EXPECT_EQ(adjustment.value(Control::Bright), 50);
    EXPECT_EQ(refreshes, before);
    EXPECT_EQ(settings.bright, 100);
    adjustment.sliderMoved(Control::Bright, 100, true);
    EXPECT_EQ(settings.bright, 50);
    EXPECT_EQ(shownPaper(), quad(180, 180, 180));
    adjustment.setFastUpdate(true);
    adjustment.sliderMoved(Control::Bright, 50, false);
    EXPECT_EQ(settings.bright, 100);
    EXPECT_EQ(refreshes, before + 2);
}

TEST_F(Adjusting, ModeButtonsLoadTheirColourAndCustomWaitsForAnEdit) {
    adjustment.open();
    EXPECT_FALSE(adjustment.customEditable(Side::Ink));
    adjustment.chooseMode(Side::Ink, 6);
    EXPECT_EQ(adjustment.colour(Side::Ink), rgb(255, 0, 0));
    EXPECT_EQ(shownInk(), quad(255, 0, 0));
    const int before = refreshes;
    adjustment.chooseMode(Side::Ink, ColourAdjustment::kCustomMode);
    EXPECT_EQ(refreshes, before) << "choosing a custom colour applies nothing by itself";
    EXPECT_TRUE(adjustment.customEditable(Side::Ink));
    EXPECT_EQ(adjustment.value(Control::InkRed), 255) << "the custom colour starts from the one shown";
    adjustment.chooseMode(Side::Paper, 1);
    EXPECT_EQ(adjustment.colour(Side::Paper), rgb(250, 250, 250)) << "the desktop's window colour";
    // A mode without a button shows the stored colour, as custom.
    settings.inkColorMode = 12;
    settings.inkColor = int(rgb(1, 2, 3));
    adjustment.open();
    EXPECT_EQ(adjustment.mode(Side::Ink), 0);
    EXPECT_EQ(adjustment.colour(Side::Ink), rgb(1, 2, 3));
}

TEST_F(Adjusting, InvertSwapsPaperAndInkAsShown) {
    settings.bright = 80;
    adjustment.open();
    adjustment.invert();
    EXPECT_EQ(settings.paperColorMode, 0);
    EXPECT_EQ(settings.inkColorMode, 0);
    EXPECT_EQ(settings.paperColor, int(rgb(0, 0, 0)));
    EXPECT_EQ(settings.inkColor, int(rgb(228, 228, 228)));
    EXPECT_EQ(settings.bright, 100);
    EXPECT_EQ(shownPaper(), quad(0, 0, 0));
    EXPECT_EQ(shownInk(), quad(228, 228, 228));
}

TEST_F(Adjusting, CancelBringsBackTheOpeningColoursButNotFastUpdate) {
    settings.bright = 90;
    settings.adjustGamma = 1;
    view.RefreshColours();
    adjustment.open();
    const Settings opened = settings;
    const CDIB::RgbQuad paperShown = shownPaper();

    adjustment.cancel();
    EXPECT_EQ(refreshes, 0) << "nothing changed, nothing to apply";
    EXPECT_TRUE(sent.empty());

    adjustment.chooseMode(Side::Paper, 7);
    adjustment.chooseMode(Side::Ink, 6);
    adjustment.setValue(Control::Bright, 150);
    adjustment.setValue(Control::Contrast, 200);
    adjustment.setGamma(false);
    adjustment.setFastUpdate(false);
    adjustment.invert();
    adjustment.cancel();
    for (const auto& [got, want] : {std::pair{settings.paperColor, opened.paperColor},
                                    {settings.paperColorMode, opened.paperColorMode},
                                    {settings.bright, opened.bright},
                                    {settings.contrast, opened.contrast},
                                    {settings.inkColor, opened.inkColor},
                                    {settings.inkColorMode, opened.inkColorMode},
                                    {settings.adjustGamma, opened.adjustGamma}})
        EXPECT_EQ(got, want);
    EXPECT_EQ(settings.fastUpdate, 0);
    EXPECT_EQ(shownPaper(), paperShown);
    EXPECT_EQ(shownInk(), quad(0, 0, 0));
    EXPECT_EQ(sent.back()[1], 2) << "the other copies go back too";
    EXPECT_EQ(adjustment.mode(Side::Paper), 2);
    EXPECT_EQ(adjustment.value(Control::Bright), 90);
}

TEST_F(Adjusting, SystemColoursAreRememberedOnlyWhenTheyWereSet) {
    settings.paperColorMode = 1;
    settings.inkColorMode = 1;
    adjustment.open();
    EXPECT_FALSE(adjustment.canSetSystemColours());
    EXPECT_FALSE(adjustment.setSystemColours());
    adjustment.chooseMode(Side::Ink, 6);
    desktopRefuses = true;
    EXPECT_FALSE(adjustment.setSystemColours());
    EXPECT_FALSE(adjustment.canRestoreSystemColours());
    desktopRefuses = false;
    const ColourAdjustment::SystemColours original = desktop;
    ASSERT_TRUE(adjustment.setSystemColours());
    EXPECT_EQ(desktop, (ColourAdjustment::SystemColours{rgb(250, 250, 250), rgb(255, 0, 0), rgb(255, 0, 0)}));
    adjustment.chooseMode(Side::Ink, 7);
    ASSERT_TRUE(adjustment.setSystemColours());
    adjustment.restoreSystemColours();
    EXPECT_EQ(desktop, original) << "the colours from before the first setting";
    EXPECT_FALSE(adjustment.canRestoreSystemColours());
}

TEST(DialogPosition, ReadsAndWritesTheSettingsEntry) {
    const auto p = DialogPosition::parse("1:20:10:320:410");
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->open);
    EXPECT_EQ(p->rect, (ViewRect{10, 20, 410, 320}));
    EXPECT_EQ(p->format(), "1:20:10:320:410");
    EXPECT_FALSE(DialogPosition::parse("1:20:10:320"));
    EXPECT_FALSE(DialogPosition::parse("1:20:10:320:410:5"));
    EXPECT_FALSE(DialogPosition::parse(""));
    EXPECT_EQ((DialogPosition{false, ViewRect{-5, 3, 100, 200}}).format(), "0:3:-5:200:100");
}

// A receiving copy's window as the request handler sees it.
struct ColourFrame : InstanceRequestFrame {
    bool dialogOpen = false;
    int colourChanges = 0, pageChanges = 0;
    std::string windowTitle() override { return "Quor Lumipage"; }
    void closeWindow() override {}
    int sizeMode() override { return 2; }
    void setSizeMode(int) override {}
    void runCommand(int) override {}
    void postCommand(int) override {}
    bool colourDialogOpen() override { return dialogOpen; }
    void coloursChanged() override { ++colourChanges; }
    void pagesChanged() override { ++pageChanges; }
    void scrollingChanged() override {}
    void viewFlagsChanged() override {}
};

TEST_F(Adjusting, ColourBlocksOfTheWrongSizeAreRefused) {
    ColourFrame frame;
    InstanceRequestHandler handler{doc, settings, frame};
    const Settings before = settings;
    for (const size_t size : {0u, 28u, 31u, 33u, 64u}) {
        const std::vector<uint8_t> block(size, 0x7F);
        EXPECT_EQ(handler.handleRequest(256, block), 0) << size;
    }
    EXPECT_EQ(frame.colourChanges, 0);
    EXPECT_EQ(settings.paperColor, before.paperColor);
    EXPECT_EQ(settings.bright, before.bright);
}

}  // namespace
}  // namespace lumipage
