#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "view/ViewTypes.h"

namespace lumipage {

struct Settings;

// What the colour adjustment dialog does, without its widgets: the paper
// and ink colours (a mode and a custom RGB each), brightness, contrast,
// gamma and fast update, edited live. Every change that is applied goes
// into the settings, the view shows it at once and the other running
// copies take it over; Cancel puts back what was in effect at opening.
class ColourAdjustment {
public:
    enum class Side { Paper, Ink };
    // The numbers the dialog shows, each as an edit and a slider.
    enum class Control { Bright, Contrast, PaperRed, PaperGreen, PaperBlue, InkRed, InkGreen, InkBlue };
    static constexpr int kControls = 8;
    static constexpr int kCustomMode = 0;
    static constexpr int kSystemMode = 1;
    static constexpr int kLastMode = 7;

    struct Range {
        int least;
        int most;
        int clamp(int value) const { return value < least ? least : value > most ? most : value; }
        // Sliders stand upright with the largest value at the top, where a
        // slider has its smallest position.
        int sliderPosition(int value) const { return least + most - clamp(value); }
        int valueAt(int position) const { return clamp(least + most - position); }
    };
    static constexpr Range kBrightRange{0, 150};
    static constexpr Range kContrastRange{50, 200};
    static constexpr Range kChannelRange{0, 255};
    static Range rangeOf(Control control);

    // The desktop colours the "set as system colours" button replaces.
    struct SystemColours {
        Colour window = 0, windowText = 0, buttonText = 0;
        bool operator==(const SystemColours&) const = default;
    };

    struct Host {
        // The desktop's window colour (paper) or window-text colour (ink): mode 1.
        std::function<Colour(Side)> systemColour;
        // The settings changed: the view shows the new colours.
        std::function<void()> refreshColours;
        // The settings changed: the other running copies take them over.
        std::function<void(const Settings&)> broadcast;
        std::function<SystemColours()> readSystemColours;
        // False when the desktop refused them.
        std::function<bool(const SystemColours&)> writeSystemColours;
    };

    ColourAdjustment(Settings& settings, Host host);

    // Opening: brightness and contrast are brought into range and the
    // colours in effect are kept for Cancel.
    void open();

    int mode(Side side) const { return sides_[index(side)].mode; }
    Colour colour(Side side) const;
    int value(Control control) const;
    bool gamma() const { return gamma_; }
    bool fastUpdate() const { return fastUpdate_; }
    // The RGB edits and sliders of a side take input only for a custom colour.
    bool customEditable(Side side) const { return mode(side) == kCustomMode; }
    bool changedSomething() const { return changed_; }

    // A mode radio button: its colour goes into the side's RGB; a preset
    // applies at once, "custom" waits for the first edit.
    void chooseMode(Side side, int mode);
    // An edit lost the focus: its text becomes a number in range, which is
    // then applied. Returns the number, to be written back into the edit.
    int editLeft(Control control, std::string_view text);
    // A slider moved to `position`; the colours follow at once with fast
    // update on, else when the slider is let go (`released`).
    void sliderMoved(Control control, int position, bool released);
    int sliderPosition(Control control) const { return rangeOf(control).sliderPosition(value(control)); }
    // A preset button, or any value set directly: clamped and applied.
    void setValue(Control control, int value);
    // Paper and ink change places: both become custom colours, the paper
    // takes the ink colour and the ink the paper colour as shown (with its
    // brightness), and the brightness returns to 100.
    void invert();
    void setGamma(bool on);
    // Not a colour: stored, but neither applied nor undone by Cancel.
    void setFastUpdate(bool on);

    // Stores all eight values, shows them and sends them to the other copies.
    void apply();
    // Puts back the seven colour values of opening; applies them only when
    // something had been applied since.
    void cancel();

    // The swatches behind the edits: paper with its brightness, ink, and
    // each RGB edit in its own channel's colour.
    Colour swatch(Control control) const;
    // Black text on a light background (green at least 180), else white.
    static Colour textColourOn(Colour background);
    // A typed number as the dialog reads it: leading blanks and a sign,
    // then digits up to the first other character; no digits read as 0.
    static int parseNumber(std::string_view text);

    // The system colour buttons: setting is offered unless both sides
    // follow the system colours; the colours replaced are remembered
    // until they are restored.
    bool canSetSystemColours() const { return !(mode(Side::Paper) == kSystemMode && mode(Side::Ink) == kSystemMode); }
    bool setSystemColours();
    bool canRestoreSystemColours() const { return remembered_.has_value(); }
    void restoreSystemColours();

private:
    struct SideState {
        int mode = 1;
        std::array<int, 3> rgb{};
    };
    // The seven values Cancel puts back, in the order they are exchanged.
    struct Saved {
        int paperColor, paperMode, bright, contrast, inkColor, inkMode, gamma;
    };

    static size_t index(Side side) { return side == Side::Paper ? 0 : 1; }
    Colour modeColour(Side side, int mode, Colour stored) const;
    void loadSide(Side side, int mode, Colour stored);
    // Sets without applying.
    void store(Control control, int value);

    Settings& settings_;
    Host host_;
    std::array<SideState, 2> sides_{};
    int bright_ = 100;
    int contrast_ = 100;
    bool gamma_ = false;
    bool fastUpdate_ = true;
    bool changed_ = false;
    Saved saved_{};
    std::optional<SystemColours> remembered_;
};

}  // namespace lumipage
