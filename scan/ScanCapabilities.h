#pragma once
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "twain/TwainContainer.h"

namespace lumipage {

class TwainSession;

// A bit-depth reduction the scan dialog offers: a method, and for a named
// halftone its index in the source's list.
struct ReductionChoice {
    uint16_t method = 0;  // TWBR_...
    int halftone = -1;
    std::string text;
};

// Scaling in percent common to both axes; step 0 when the axes differ.
struct ScalingRange {
    int minimum = 0;
    int maximum = 0;
    int step = 0;
    std::optional<int> current;
};

struct OfferedResolutions {
    std::vector<int> values;  // in candidate order
    std::optional<int> current;
};

// What the scan dialog learns from the source before it is shown.
struct ScanCapabilities {
    static constexpr std::array<int, 9> kResolutionCandidates{800, 600, 400, 360, 300, 240, 200, 180, 75};
    static constexpr size_t kMaxHalftones = 32;

    double physicalWidth = 0;  // inches
    double physicalHeight = 0;
    OfferedResolutions resolutions;
    std::vector<ReductionChoice> reductions;
    std::vector<std::string> halftones;
    std::optional<ScalingRange> scaling;
    bool feederEnabled = false;

    // Reads everything from an open source (units set to inches first).
    static ScanCapabilities read(TwainSession& session);
};

// The candidates a container offers: listed ones, a one-value's value, or
// those of a range that lie on its step grid.
std::vector<int> candidatesIn(const twain::ContainerValues& values, std::span<const int> candidates);
// Values offered for both axes; the X list alone when Y could not be read.
OfferedResolutions offeredResolutions(const std::optional<twain::ContainerValues>& x,
                                      const std::optional<twain::ContainerValues>& y, std::span<const int> candidates);
// The range two scaling ranges (FIX32 factors) have in common, in percent.
std::optional<ScalingRange> commonScaling(const std::optional<twain::ContainerValues>& x,
                                          const std::optional<twain::ContainerValues>& y);
// The dialog's "ﾊｰﾌﾄｰﾝ" choices from the methods and halftone names offered.
std::vector<ReductionChoice> reductionChoices(const std::vector<double>& methods, const std::vector<std::string>& halftones);

}  // namespace lumipage
