#include "scan/ScanFormulas.h"

#include <algorithm>
#include <cstdio>

namespace lumipage::scanformulas {

int thresholdFor(int v, int lo, int hi) {
    if (hi <= lo) return 128;
    return 235 * (lo - v) / (hi - lo) + 245;
}

double gammaFor(int v, int lo, int hi) {
    if (v >= 0) return hi > 0 ? 2.2 + 2.2 * v / hi : 2.2;
    return lo < 0 ? 2.2 - 1.1 * v / lo : 2.2;
}

int brightnessFor(int v, int lo, int hi) {
    if (hi <= lo) return 0;
    return 2000 * (v - lo) / (hi - lo) - 1000;
}

const std::array<PaperSize, 22> kPaperSizes{{
    {"ﾌﾘｰｻｲｽﾞ        ", 0, 0},
    {"名刺    55x91mm", 55, 91},
    {"A7     74x105mm", 74, 105},
    {"B7     91x128mm", 91, 128},
    {"葉書  100x148mm", 100, 148},
    {"A6    105x148mm", 105, 148},
    {"B6    128x182mm", 128, 182},
    {"A5    148x210mm", 148, 210},
    {"B5    182x257mm", 182, 257},
    {"AB    210x257mm", 210, 257},
    {"A4    210x297mm", 210, 297},
    {"USﾚﾀｰ 216x279mm", 215.891, 279.389},
    {"B4    257x364mm", 257, 364},
    {"AB*2  257x420mm", 257, 420},
    {"A3    297x420mm", 297, 420},
    {"B3    364x515mm", 364, 515},
    {"A2    420x594mm", 420, 594},
    {"B2    515x728mm", 515, 728},
    {"A1    594x841mm", 594, 841},
    {"B1   728x1030mm", 728, 1030},
    {"A0   841x1189mm", 841, 1189},
    {"B0  1030x1456mm", 1030, 1456},
}};

std::vector<int> offeredPaperSizes(double physicalWidthInches, double physicalHeightInches) {
    // The source's inches travel as FIX32 (steps of 1/65536 inch): a glass of
    // exactly 297 mm may come back a hair shorter.
    constexpr double kFix32Slack = 0.001;
    const double width = physicalWidthInches * kMillimetresPerInch + kFix32Slack;
    const double height = physicalHeightInches * kMillimetresPerInch + kFix32Slack;
    int largest = 0;
    for (int i = int(kPaperSizes.size()) - 1; i >= 1; --i) {
        if (kPaperSizes[size_t(i)].width <= width && kPaperSizes[size_t(i)].height <= height) {
            largest = i;
            break;
        }
    }
    std::vector<int> offered;
    for (int i = largest; i >= 1; --i) offered.push_back(i);
    return offered;
}

Frame layoutFrame(double widthMm, double heightMm, const Margins& margins) {
    const double left = std::min(margins.left, widthMm);
    const double top = std::min(margins.top, heightMm);
    const double right = std::max(widthMm - margins.right, left);
    const double bottom = std::max(heightMm - margins.bottom, top);
    return Frame{left / kMillimetresPerInch, top / kMillimetresPerInch, right / kMillimetresPerInch,
                 bottom / kMillimetresPerInch};
}

namespace {

unsigned long parseNumber(std::string_view text) {
    unsigned long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + unsigned(c - '0');
        if (value > 1000000000UL) break;
    }
    return value;
}

std::string formatWidth(unsigned long value, size_t width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lu", int(std::min<size_t>(width, 20)), value);
    return text;
}

}  // namespace

std::string nextNumber(std::string_view number) {
    return formatWidth(parseNumber(number) + 1, number.size());
}

std::string numberFieldText(long value, std::string_view currentText) {
    value = std::clamp(value, 0L, 9999L);
    return formatWidth(static_cast<unsigned long>(value), currentText.empty() ? 3 : currentText.size());
}

std::string nextFileName(const std::string& folder, const std::string& prefix, std::string& number,
                         const std::string& extension, bool overwrite,
                         const std::function<bool(const std::string& pattern)>& exists) {
    std::string name;
    // Bounded: the numbers run out long before this many files could exist.
    for (int tries = 0; tries < 100000; ++tries) {
        number = nextNumber(number);
        name = prefix + number + extension;
        std::string path = folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
        if (overwrite || !exists(path)) break;
    }
    return name;
}

std::string mhExtensionFor(int dpi) {
    if (dpi == 300 || dpi >= 500) return ".MH";
    if (dpi < 100) return ".MH0";
    if (dpi < 200) return ".MH1";
    if (dpi < 300) return ".MH2";
    if (dpi < 400) return ".MH3";
    return ".MH4";
}

}  // namespace lumipage::scanformulas
