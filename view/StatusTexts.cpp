#include "view/StatusTexts.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace lumipage {

namespace {

struct PaperSize {
    std::string_view text;  // name, blanks, then the size in millimetres
    double shortSide, longSide;
};

// Smallest first: the first entry a page fits is its paper size.
constexpr std::array<PaperSize, 21> kPaperSizes{{
    {"名刺    55x91mm", 55, 91},     {"A7     74x105mm", 74, 105},   {"B7     91x128mm", 91, 128},
    {"葉書  100x148mm", 100, 148},   {"A6    105x148mm", 105, 148},  {"B6    128x182mm", 128, 182},
    {"A5    148x210mm", 148, 210},   {"B5    182x257mm", 182, 257},  {"AB    210x257mm", 210, 257},
    {"A4    210x297mm", 210, 297},   {"USﾚﾀｰ 216x279mm", 216, 279}, {"B4    257x364mm", 257, 364},
    {"AB*2  257x420mm", 257, 420},   {"A3    297x420mm", 297, 420},  {"B3    364x515mm", 364, 515},
    {"A2    420x594mm", 420, 594},   {"B2    515x728mm", 515, 728},  {"A1    594x841mm", 594, 841},
    {"B1   728x1030mm", 728, 1030},  {"A0   841x1189mm", 841, 1189}, {"B0  1030x1456mm", 1030, 1456},
}};

constexpr double kMillimetresPerInch = 25.399;
constexpr double kTolerance = 1.01;

}  // namespace

std::string StatusTexts::paperName(int width, int height, int dpi) {
    if (dpi <= 0) return " ";
    double a = double(width) / dpi * kMillimetresPerInch;
    double b = double(height) / dpi * kMillimetresPerInch;
    if (a > b) std::swap(a, b);
    for (const PaperSize& p : kPaperSizes)
        if (p.shortSide * kTolerance >= a && p.longSide * kTolerance >= b) return std::string(p.text.substr(0, p.text.find(' ')));
    return "B0";
}

std::string StatusTexts::zoomText(int divisor) {
    if (divisor % 10 == 0) return "Zoom: 1/" + std::to_string(divisor / 10);
    // Written by hand: the decimal point must not follow the user's locale.
    return "Zoom: 1/" + std::to_string(divisor / 10) + "." + std::to_string(divisor % 10);
}

StatusTexts StatusTexts::forNoPage() { return {" ", "Pixel: ", "DPI: ", "Zoom: "}; }

StatusTexts StatusTexts::forPage(int width, int height, int dpi, int divisor) {
    return {paperName(width, height, dpi), "Pixel: " + std::to_string(width) + " x " + std::to_string(height),
            "DPI: " + std::to_string(dpi), zoomText(divisor)};
}

}  // namespace lumipage
