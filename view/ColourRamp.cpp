#include "view/ColourRamp.h"

#include <algorithm>
#include <cmath>

namespace lumipage {

int ColourRamp::channel(int paper, int ink, int i, int colours, int contrastPercent, bool gamma) {
    if (colours < 2) return paper;
    const int64_t steps = int64_t{100} * (colours - 1);
    int64_t v;
    if (gamma) {
        const double p2 = double(paper) * paper, i2 = double(ink) * ink;
        // Past the ink colour the sum may fall below zero; that entry is ink anyway.
        const double square = std::max(0.0, p2 + (i2 - p2) * i * contrastPercent / double(steps));
        v = int64_t(std::sqrt(square));
    } else {
        v = paper + int64_t(ink - paper) * i * contrastPercent / steps;
    }
    v = ink > paper ? std::min<int64_t>(v, ink) : std::max<int64_t>(v, ink);
    return int(std::clamp<int64_t>(v, 0, 255));
}

std::array<CDIB::RgbQuad, 256> ColourRamp::table(int colours) const {
    std::array<CDIB::RgbQuad, 256> t{};
    colours = std::clamp(colours, 1, 256);
    for (int i = 0; i < colours; ++i) {
        t[size_t(i)].red = uint8_t(channel(redOf(paper), redOf(ink), i, colours, contrastPercent, gamma));
        t[size_t(i)].green = uint8_t(channel(greenOf(paper), greenOf(ink), i, colours, contrastPercent, gamma));
        t[size_t(i)].blue = uint8_t(channel(blueOf(paper), blueOf(ink), i, colours, contrastPercent, gamma));
    }
    return t;
}

}  // namespace lumipage
