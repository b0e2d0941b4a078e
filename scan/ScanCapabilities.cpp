#include "scan/ScanCapabilities.h"

#include <algorithm>
#include <cmath>

#include "scan/TwainSession.h"

namespace lumipage {

using namespace twain;

namespace {

bool onGrid(double value, const ContainerValues& range) {
    if (value < range.minimum - 1e-6 || value > range.maximum + 1e-6) return false;
    if (range.step <= 0) return true;
    const double steps = (value - range.minimum) / range.step;
    return std::fabs(steps - std::round(steps)) < 1e-6;
}

bool contains(const std::vector<double>& list, int value) {
    return std::any_of(list.begin(), list.end(), [value](double v) { return std::fabs(v - value) < 1e-3; });
}

int percent(double factor) { return int(std::lround(factor * 100)); }

}  // namespace

std::vector<int> candidatesIn(const ContainerValues& values, std::span<const int> candidates) {
    std::vector<int> offered;
    for (int candidate : candidates) {
        const bool counts = values.kind == TWON_RANGE ? onGrid(candidate, values) : contains(values.numbers, candidate);
        if (counts) offered.push_back(candidate);
    }
    return offered;
}

OfferedResolutions offeredResolutions(const std::optional<ContainerValues>& x, const std::optional<ContainerValues>& y,
                                      std::span<const int> candidates) {
    OfferedResolutions offered;
    if (!x) return offered;
    const std::vector<int> xs = candidatesIn(*x, candidates);
    if (!y) {
        offered.values = xs;
        if (auto c = x->currentNumber()) offered.current = int(std::lround(*c));
        return offered;
    }
    const std::vector<int> ys = candidatesIn(*y, candidates);
    for (int value : xs)
        if (std::find(ys.begin(), ys.end(), value) != ys.end()) offered.values.push_back(value);
    auto cx = x->currentNumber();
    auto cy = y->currentNumber();
    if (cx && cy && std::fabs(*cx - *cy) < 1e-3) offered.current = int(std::lround(*cx));
    return offered;
}

std::optional<ScalingRange> commonScaling(const std::optional<ContainerValues>& x, const std::optional<ContainerValues>& y) {
    auto rangeOf = [](const ContainerValues& v) {
        ScalingRange r;
        if (v.kind == TWON_RANGE) {
            r = ScalingRange{percent(v.minimum), percent(v.maximum), percent(v.step), percent(v.current)};
        } else if (auto c = v.currentNumber()) {
            r = ScalingRange{percent(*c), percent(*c), 0, percent(*c)};
        }
        return r;
    };
    if (!x) return std::nullopt;
    ScalingRange common = rangeOf(*x);
    if (!y) return common;
    const ScalingRange other = rangeOf(*y);
    common.minimum = std::max(common.minimum, other.minimum);
    common.maximum = std::min(common.maximum, other.maximum);
    if (common.step != other.step) common.step = 0;
    if (common.current != other.current) common.current.reset();
    return common;
}

std::vector<ReductionChoice> reductionChoices(const std::vector<double>& methods, const std::vector<std::string>& halftones) {
    std::vector<ReductionChoice> choices;
    for (double m : methods) {
        const int method = int(m);
        if (method == TWBR_THRESHOLD) choices.push_back({TWBR_THRESHOLD, -1, "なし"});
        else if (method == TWBR_HALFTONES && halftones.empty()) choices.push_back({TWBR_HALFTONES, -1, "デイザ"});
        else if (method == TWBR_DIFFUSION) choices.push_back({TWBR_DIFFUSION, -1, "誤差拡散"});
    }
    for (size_t i = 0; i < halftones.size() && i < ScanCapabilities::kMaxHalftones; ++i)
        choices.push_back({TWBR_HALFTONES, int(i), halftones[i]});
    return choices;
}

ScanCapabilities ScanCapabilities::read(TwainSession& session) {
    ScanCapabilities caps;
    session.SetCapability(ICAP_UNITS, TWTY_UINT16, TWUN_INCHES);
    caps.physicalWidth = session.GetCapability(ICAP_PHYSICALWIDTH, TWTY_FIX32).value_or(0);
    caps.physicalHeight = session.GetCapability(ICAP_PHYSICALHEIGHT, TWTY_FIX32).value_or(0);
    const auto x = session.readCapability(ICAP_XRESOLUTION, TWTY_FIX32);
    const auto y = session.readCapability(ICAP_YRESOLUTION, TWTY_FIX32);
    caps.resolutions = offeredResolutions(x, y, kResolutionCandidates);
    if (auto names = session.readCapability(ICAP_HALFTONES, TWTY_STR32)) {
        caps.halftones = names->strings;
        if (caps.halftones.size() > kMaxHalftones) caps.halftones.resize(kMaxHalftones);
    }
    std::vector<double> methods{TWBR_THRESHOLD};
    if (auto offered = session.readCapability(ICAP_BITDEPTHREDUCTION, TWTY_UINT16)) {
        methods = offered->kind == TWON_RANGE ? std::vector<double>{offered->current} : offered->numbers;
    }
    caps.reductions = reductionChoices(methods, caps.halftones);
    caps.scaling = commonScaling(session.readCapability(ICAP_XSCALING, TWTY_FIX32),
                                 session.readCapability(ICAP_YSCALING, TWTY_FIX32));
    caps.feederEnabled = session.GetCapability(CAP_FEEDERENABLED, TWTY_BOOL).value_or(0) != 0;
    session.setFeederEnabled(caps.feederEnabled);
    session.clearError();  // capabilities a source lacks are simply not offered
    return caps;
}

}  // namespace lumipage
