#pragma once
#include <array>

#include "image/CDIB.h"
#include "view/ViewTypes.h"

namespace lumipage {

// The colour table of the display bitmap: entry i stands for i ink pixels in
// a block and runs from the paper colour (entry 0) towards the ink colour.
// The contrast (percent) stretches the ramp: above 100 the ink colour is
// reached before the last entry, below 100 never. The gamma-corrected ramp
// mixes squared channel values, so half-covered blocks look lighter.
struct ColourRamp {
    Colour paper = rgb(255, 255, 255);
    Colour ink = rgb(0, 0, 0);
    int contrastPercent = 100;
    bool gamma = false;

    // The first `colours` entries (1..256); the rest stay black.
    std::array<CDIB::RgbQuad, 256> table(int colours) const;
    // One channel of entry i of `colours`.
    static int channel(int paper, int ink, int i, int colours, int contrastPercent, bool gamma);
};

}  // namespace lumipage
