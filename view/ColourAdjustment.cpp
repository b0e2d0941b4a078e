#include "view/ColourAdjustment.h"

#include <climits>

#include "base/Settings.h"
#include "view/ViewColours.h"

namespace lumipage {

namespace {

using Control = ColourAdjustment::Control;
using Side = ColourAdjustment::Side;

constexpr int kLightGreen = 180;  // from here on a background takes black text

Side sideOf(Control c) { return c >= Control::InkRed ? Side::Ink : Side::Paper; }
size_t channelOf(Control c) { return size_t(int(c) - int(c >= Control::InkRed ? Control::InkRed : Control::PaperRed)); }

Colour fromChannels(const std::array<int, 3>& c) { return rgb(c[0], c[1], c[2]); }

}  // namespace

ColourAdjustment::Range ColourAdjustment::rangeOf(Control control) {
    switch (control) {
        case Control::Bright: return kBrightRange;
        case Control::Contrast: return kContrastRange;
        default: return kChannelRange;
    }
}

ColourAdjustment::ColourAdjustment(Settings& settings, Host host) : settings_(settings), host_(std::move(host)) {}

Colour ColourAdjustment::modeColour(Side side, int mode, Colour stored) const {
    const Colour system = host_.systemColour ? host_.systemColour(side) : Colour(0);
    return side == Side::Paper ? ViewColours::paperOfMode(mode, stored, system)
                               : ViewColours::inkOfMode(mode, stored, system);
}

void ColourAdjustment::loadSide(Side side, int mode, Colour stored) {
    // A mode the dialog has no button for shows the stored colour, as the view does.
    if (mode < kCustomMode || mode > kLastMode) mode = kCustomMode;
    SideState& s = sides_[index(side)];
    s.mode = mode;
    const Colour c = modeColour(side, mode, stored);
    s.rgb = {redOf(c), greenOf(c), blueOf(c)};
}

void ColourAdjustment::open() {
    settings_.bright = kBrightRange.clamp(settings_.bright);
    settings_.contrast = kContrastRange.clamp(settings_.contrast);
    saved_ = {settings_.paperColor, settings_.paperColorMode, settings_.bright,   settings_.contrast,
              settings_.inkColor,   settings_.inkColorMode,   settings_.adjustGamma};
    loadSide(Side::Paper, settings_.paperColorMode, Colour(settings_.paperColor));
    loadSide(Side::Ink, settings_.inkColorMode, Colour(settings_.inkColor));
    bright_ = settings_.bright;
    contrast_ = settings_.contrast;
    gamma_ = settings_.adjustGamma != 0;
    fastUpdate_ = settings_.fastUpdate != 0;
    changed_ = false;
}

Colour ColourAdjustment::colour(Side side) const { return fromChannels(sides_[index(side)].rgb); }

int ColourAdjustment::value(Control control) const {
    switch (control) {
        case Control::Bright: return bright_;
        case Control::Contrast: return contrast_;
        default: return sides_[index(sideOf(control))].rgb[channelOf(control)];
    }
}

void ColourAdjustment::store(Control control, int value) {
    value = rangeOf(control).clamp(value);
    switch (control) {
        case Control::Bright: bright_ = value; break;
        case Control::Contrast: contrast_ = value; break;
        default: sides_[index(sideOf(control))].rgb[channelOf(control)] = value; break;
    }
}

void ColourAdjustment::chooseMode(Side side, int mode) {
    if (mode < kCustomMode || mode > kLastMode) return;
    loadSide(side, mode, colour(side));
    if (mode != kCustomMode) apply();
}

int ColourAdjustment::editLeft(Control control, std::string_view text) {
    setValue(control, parseNumber(text));
    return value(control);
}

void ColourAdjustment::sliderMoved(Control control, int position, bool released) {
    store(control, rangeOf(control).valueAt(position));
    if (released || fastUpdate_) apply();
}

void ColourAdjustment::setValue(Control control, int value) {
    store(control, value);
    apply();
}

void ColourAdjustment::invert() {
    const Colour paper = swatch(Control::Bright);
    const Colour ink = colour(Side::Ink);
    loadSide(Side::Paper, kCustomMode, ink);
    loadSide(Side::Ink, kCustomMode, paper);
    bright_ = 100;
    apply();
}

void ColourAdjustment::setGamma(bool on) {
    gamma_ = on;
    apply();
}

void ColourAdjustment::setFastUpdate(bool on) {
    fastUpdate_ = on;
    settings_.fastUpdate = on ? 1 : 0;
}

void ColourAdjustment::apply() {
    settings_.paperColor = int(colour(Side::Paper));
    settings_.paperColorMode = mode(Side::Paper);
    settings_.bright = bright_;
    settings_.contrast = contrast_;
    settings_.inkColor = int(colour(Side::Ink));
    settings_.inkColorMode = mode(Side::Ink);
    settings_.adjustGamma = gamma_ ? 1 : 0;
    settings_.fastUpdate = fastUpdate_ ? 1 : 0;
    if (host_.refreshColours) host_.refreshColours();
    changed_ = true;
    if (host_.broadcast) host_.broadcast(settings_);
}

void ColourAdjustment::cancel() {
    const bool apply = changed_;
    settings_.paperColor = saved_.paperColor;
    settings_.paperColorMode = saved_.paperMode;
    settings_.bright = saved_.bright;
    settings_.contrast = saved_.contrast;
    settings_.inkColor = saved_.inkColor;
    settings_.inkColorMode = saved_.inkMode;
    settings_.adjustGamma = saved_.gamma;
    loadSide(Side::Paper, saved_.paperMode, Colour(saved_.paperColor));
    loadSide(Side::Ink, saved_.inkMode, Colour(saved_.inkColor));
    bright_ = saved_.bright;
    contrast_ = saved_.contrast;
    gamma_ = saved_.gamma != 0;
    if (apply) ColourAdjustment::apply();
}

Colour ColourAdjustment::swatch(Control control) const {
    switch (control) {
        case Control::Bright: return ViewColours::withBrightness(colour(Side::Paper), bright_);
        case Control::Contrast: return colour(Side::Ink);
        default: {
            std::array<int, 3> c{};
            c[channelOf(control)] = value(control);
            return fromChannels(c);
        }
    }
}

Colour ColourAdjustment::textColourOn(Colour background) {
    return greenOf(background) >= kLightGreen ? rgb(0, 0, 0) : rgb(255, 255, 255);
}

int ColourAdjustment::parseNumber(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    long long n = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        n = n * 10 + (text[at] - '0');
        if (n > INT_MAX) n = INT_MAX;  // a long run of digits stays the largest number
    }
    return int(negative ? -n : n);
}

bool ColourAdjustment::setSystemColours() {
    if (!canSetSystemColours() || !host_.readSystemColours || !host_.writeSystemColours) return false;
    const SystemColours present = host_.readSystemColours();
    const Colour ink = colour(Side::Ink);
    if (!host_.writeSystemColours({swatch(Control::Bright), ink, ink})) return false;
    // A second setting keeps the colours from before the first one.
    if (!remembered_) remembered_ = present;
    return true;
}

void ColourAdjustment::restoreSystemColours() {
    if (!remembered_) return;
    if (host_.writeSystemColours) host_.writeSystemColours(*remembered_);
    remembered_.reset();
}

}  // namespace lumipage
