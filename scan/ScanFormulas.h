#pragma once
#include "twain/TwainUnits.h"
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumipage {

// The arithmetic of a scan job: capability values from the dialog's
// controls, the image layout, and file names.
namespace scanformulas {

// The brightness control's value v on its range lo (negative) .. hi.
// Threshold for the threshold method, integer arithmetic truncating toward zero.
int thresholdFor(int v, int lo, int hi);
// Gamma for the other methods (sent times 100).
double gammaFor(int v, int lo, int hi);
// Brightness -1000..1000, used when a source takes neither threshold nor gamma.
int brightnessFor(int v, int lo, int hi);

// Millimetres per inch as the scan dialog converts them.
constexpr double kMillimetresPerInch = twain::kMillimetresPerInch;

struct PaperSize {
    std::string_view text;
    double width;  // mm; 0 for the free size
    double height;
};
extern const std::array<PaperSize, 22> kPaperSizes;

// Indices of the "原稿サイズ" list, largest first: from the largest size
// that fits the source's physical size (inches) down to index 1.
std::vector<int> offeredPaperSizes(double physicalWidthInches, double physicalHeightInches);

struct Margins {
    double left = 0, top = 0, right = 0, bottom = 0;  // mm
};
struct Frame {
    double left = 0, top = 0, right = 0, bottom = 0;  // inches
};
// The image layout frame for a paper of width x height mm inside the margins.
Frame layoutFrame(double widthMm, double heightMm, const Margins& margins);

// The number after `number`, at least as many digits ("009" → "010", "999" → "1000").
std::string nextNumber(std::string_view number);
// The number field set directly: clamped to 0..9999, with the width of the
// current text (3 when empty), or plainly when it does not fit that width.
std::string numberFieldText(long value, std::string_view currentText);

// Advances `number` until prefix + number + extension names no file in
// `folder` (with `overwrite`, one step only). Returns the file name.
// An extension ".MH*" matches any ".MH" variant.
std::string nextFileName(const std::string& folder, const std::string& prefix, std::string& number,
                         const std::string& extension, bool overwrite,
                         const std::function<bool(const std::string& pattern)>& exists);

// The extension an MH page file gets for a page of `dpi` when the type is
// given as ".MH*": ".MH" with the resolution digit.
std::string mhExtensionFor(int dpi);

}  // namespace scanformulas
}  // namespace lumipage
