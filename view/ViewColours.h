#pragma once
#include "view/ViewTypes.h"

namespace lumipage {

struct Settings;

// The paper and ink colours the page is shown in, from their modes: 1 the
// desktop's window colours, 2..7 fixed presets, 0 the stored colour.
class ViewColours {
public:
    // The paper colour with the brightness applied. The chosen colour,
    // before brightness, is written back as the stored paper colour.
    static Colour paperColour(Settings& settings, Colour systemWindow);
    static Colour inkColour(const Settings& settings, Colour systemWindowText);
    // The colour a mode stands for on either side: the system colour for 1,
    // a preset for 2..7, `stored` for 0 and anything else.
    static Colour paperOfMode(int mode, Colour stored, Colour systemWindow);
    static Colour inkOfMode(int mode, Colour stored, Colour systemWindowText);
    // c x sqrt(bright / 100) per channel, at most 255.
    static Colour withBrightness(Colour colour, int brightPercent);
};

}  // namespace lumipage
