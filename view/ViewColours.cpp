#include "view/ViewColours.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/Settings.h"

namespace lumipage {

namespace {

// Presets of modes 2..7.
constexpr std::array<Colour, 6> kPaperPresets{rgb(255, 255, 255), rgb(253, 235, 204), rgb(192, 232, 248),
                                              rgb(0, 0, 0),       rgb(96, 96, 96),    rgb(60, 100, 150)};
constexpr std::array<Colour, 6> kInkPresets{rgb(255, 255, 255), rgb(253, 235, 204), rgb(192, 232, 248),
                                            rgb(0, 0, 0),       rgb(255, 0, 0),     rgb(0, 0, 255)};

Colour chosen(int mode, Colour stored, Colour system, const std::array<Colour, 6>& presets) {
    if (mode == 1) return system;
    if (mode >= 2 && mode <= 7) return presets[size_t(mode - 2)];
    return stored & 0xFFFFFF;
}

int brighten(int c, int bright) { return std::min(255, int(std::sqrt(double(c) * c * bright * 0.01))); }

}  // namespace

Colour ViewColours::withBrightness(Colour colour, int brightPercent) {
    const int b = std::max(brightPercent, 0);
    return rgb(brighten(redOf(colour), b), brighten(greenOf(colour), b), brighten(blueOf(colour), b));
}

Colour ViewColours::paperOfMode(int mode, Colour stored, Colour systemWindow) {
    return chosen(mode, stored, systemWindow, kPaperPresets);
}

Colour ViewColours::inkOfMode(int mode, Colour stored, Colour systemWindowText) {
    return chosen(mode, stored, systemWindowText, kInkPresets);
}

Colour ViewColours::paperColour(Settings& settings, Colour systemWindow) {
    const Colour c = paperOfMode(settings.paperColorMode, Colour(settings.paperColor), systemWindow);
    settings.paperColor = int(c);
    return withBrightness(c, settings.bright);
}

Colour ViewColours::inkColour(const Settings& settings, Colour systemWindowText) {
    return inkOfMode(settings.inkColorMode, Colour(settings.inkColor), systemWindowText);
}

}  // namespace lumipage
