#include "twaindsm/SaneModeNames.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace lumipage::twaindsm {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool hasAny(const std::string& text, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(), [&text](std::string_view w) { return text.find(w) != std::string::npos; });
}

// A name that is only the kind ("Gray") beats one with more in it
// ("12bit Gray", "Gray[Fast]").
int plainness(std::string_view name) {
    int extra = 0;
    for (char c : name) extra += std::isdigit(static_cast<unsigned char>(c)) || c == '[' || c == '(';
    return extra;
}

}  // namespace

ModeKind modeKind(std::string_view name) {
    const std::string m = lower(name);
    // Colour first: "Color Halftone" and "Color Lineart" have three samples.
    // Dithered and diffused gray is bilevel whatever else the name says.
    if (hasAny(m, {"color", "colour", "rgb"})) return ModeKind::Colour;
    if (hasAny(m, {"halftone", "dither", "diffusion"})) return ModeKind::Halftone;
    if (hasAny(m, {"gray", "grey"})) return ModeKind::Gray;
    if (hasAny(m, {"lineart", "line art", "binary", "black & white", "black and white", "black/white", "b&w", "mono",
                   "bilevel", "text"}))
        return ModeKind::Lineart;
    if (m == "bw" || m == "1bit" || m == "1 bit") return ModeKind::Lineart;
    return ModeKind::Unknown;
}

std::optional<size_t> bestMode(const std::vector<std::string>& modes, ModeKind wanted) {
    std::optional<size_t> best;
    for (size_t i = 0; i < modes.size(); ++i) {
        if (modeKind(modes[i]) != wanted) continue;
        if (!best || plainness(modes[i]) < plainness(modes[*best])) best = i;
    }
    return best;
}

}  // namespace lumipage::twaindsm
