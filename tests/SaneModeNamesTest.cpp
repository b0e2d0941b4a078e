// Scan modes as real SANE backends list them, and the mode our source
// manager picks from each list for bilevel and for gray pages.
#include <gtest/gtest.h>

#include "twaindsm/SaneModeNames.h"

namespace lumipage::twaindsm {
namespace {

struct Backend {
    const char* name;
    std::vector<std::string> modes;
    const char* lineart;  // "" when the list has none
    const char* gray;
};

const Backend kBackends[] = {
    {"test", {"Gray", "Color"}, "", "Gray"},
    {"epson (older models)", {"Binary", "Gray", "Color"}, "Binary", "Gray"},
    {"epson2", {"Lineart", "Gray", "Color"}, "Lineart", "Gray"},
    {"brother", {"Black & White", "Gray[Error Diffusion]", "True Gray", "24bit Color", "24bit Color[Fast]"},
     "Black & White", "True Gray"},
    {"avision", {"Lineart", "Dithered", "Gray", "12bit Gray", "Color", "16bit Color"}, "Lineart", "Gray"},
    {"fujitsu", {"Lineart", "Halftone", "Gray", "Color"}, "Lineart", "Gray"},
    {"pixma", {"Color", "Gray", "Lineart"}, "Lineart", "Gray"},
    {"hp5590", {"Color", "Color 48", "Gray", "Gray 16", "Lineart"}, "Lineart", "Gray"},
    {"kvs1025", {"bw", "halftone", "gray", "color"}, "bw", "gray"},
    {"sharp", {"Lineart", "Gray", "Color", "Color Lineart", "Color Halftone"}, "Lineart", "Gray"},
    {"a British spelling", {"Black and White", "Greyscale", "Colour"}, "Black and White", "Greyscale"},
    {"a colour-only camera", {"Color"}, "", ""},
};

TEST(SaneModeNames, EachBackendsListGivesItsBilevelAndGrayModes) {
    for (const Backend& b : kBackends) {
        const auto lineart = bestMode(b.modes, ModeKind::Lineart);
        const auto gray = bestMode(b.modes, ModeKind::Gray);
        EXPECT_EQ(lineart ? b.modes[*lineart] : "", b.lineart) << b.name;
        EXPECT_EQ(gray ? b.modes[*gray] : "", b.gray) << b.name;
    }
}

TEST(SaneModeNames, DitheredAndColourModesAreNeverTakenForGrayOrLineart) {
    for (const char* mode : {"Halftone", "Dithered", "Gray[Error Diffusion]", "HALFTONE"})
        EXPECT_EQ(modeKind(mode), ModeKind::Halftone) << mode;
    for (const char* mode : {"Color", "COLOUR", "24bit Color", "Color Lineart", "Color Halftone", "RGB"})
        EXPECT_EQ(modeKind(mode), ModeKind::Colour) << mode;
    for (const char* mode : {"GRAY", "grey", "True Gray", "Grayscale", "8bit Gray"})
        EXPECT_EQ(modeKind(mode), ModeKind::Gray) << mode;
    for (const char* mode : {"LINEART", "Line Art", "binary", "B&W", "Monochrome", "BW"})
        EXPECT_EQ(modeKind(mode), ModeKind::Lineart) << mode;
    EXPECT_EQ(modeKind("Infrared"), ModeKind::Unknown);
}

}  // namespace
}  // namespace lumipage::twaindsm
