#include <gtest/gtest.h>

#include "base/Settings.h"
#include "view/ColourRamp.h"
#include "view/ViewColours.h"

namespace lumipage {
namespace {

const Colour kWhite = rgb(255, 255, 255), kBlack = rgb(0, 0, 0);

int grey(const CDIB::RgbQuad& q) {
    EXPECT_TRUE(q.red == q.green && q.green == q.blue);
    return q.red;
}

TEST(ColourRamp, LinearRampRunsFromPaperToInk) {
    const auto t = ColourRamp{kWhite, kBlack, 100, false}.table(5);
    EXPECT_EQ(grey(t[0]), 255);
    EXPECT_EQ(grey(t[1]), 255 - 63);  // 63.75 truncated toward zero
    EXPECT_EQ(grey(t[2]), 128);       // 255 - 127
    EXPECT_EQ(grey(t[4]), 0);
}

TEST(ColourRamp, ContrastReachesInkEarlierOrNever) {
    const auto strong = ColourRamp{kWhite, kBlack, 200, false}.table(5);
    EXPECT_EQ(grey(strong[1]), 128);
    for (int i = 2; i < 5; ++i) EXPECT_EQ(grey(strong[size_t(i)]), 0) << i;
    const auto weak = ColourRamp{kWhite, kBlack, 50, false}.table(5);
    EXPECT_EQ(grey(weak[4]), 128);  // halfway between paper and ink
    // The limit works both ways: ink lighter than paper.
    const auto light = ColourRamp{kBlack, kWhite, 200, false}.table(5);
    EXPECT_EQ(grey(light[1]), 127);
    EXPECT_EQ(grey(light[3]), 255);
}

TEST(ColourRamp, GammaRampMixesSquaredChannels) {
    const auto t = ColourRamp{kWhite, kBlack, 100, true}.table(5);
    EXPECT_EQ(grey(t[2]), 180);  // sqrt(255^2 / 2)
    EXPECT_EQ(grey(t[4]), 0);
    // Past the ink colour the square would be negative: those entries are ink.
    const auto strong = ColourRamp{kWhite, kBlack, 200, true}.table(5);
    EXPECT_EQ(grey(strong[3]), 0);
    EXPECT_EQ(grey(strong[4]), 0);
}

TEST(ColourRamp, ChannelsFollowTheirOwnPaperAndInk) {
    const auto t = ColourRamp{rgb(192, 232, 248), rgb(255, 0, 0), 100, false}.table(2);
    EXPECT_EQ(t[0], (CDIB::RgbQuad{248, 232, 192, 0}));
    EXPECT_EQ(t[1], (CDIB::RgbQuad{0, 0, 255, 0}));
}

TEST(ViewColours, BrightnessScalesThePaperOnly) {
    Settings s;
    s.paperColorMode = 2;  // white
    s.bright = 150;
    EXPECT_EQ(ViewColours::paperColour(s, kBlack), kWhite);
    s.paperColorMode = 4;  // light blue-green
    EXPECT_EQ(ViewColours::paperColour(s, kBlack), rgb(235, 255, 255));
    EXPECT_EQ(s.paperColor, int(rgb(192, 232, 248)));  // the choice is kept, without brightness
    s.bright = 0;
    EXPECT_EQ(ViewColours::paperColour(s, kBlack), kBlack);
    s.inkColorMode = 6;
    EXPECT_EQ(ViewColours::inkColour(s, kBlack), rgb(255, 0, 0));
    s.inkColorMode = 1;
    EXPECT_EQ(ViewColours::inkColour(s, rgb(1, 2, 3)), rgb(1, 2, 3));
    s.inkColorMode = 0;
    s.inkColor = int(rgb(9, 8, 7));
    EXPECT_EQ(ViewColours::inkColour(s, kBlack), rgb(9, 8, 7));
}

}  // namespace
}  // namespace lumipage
