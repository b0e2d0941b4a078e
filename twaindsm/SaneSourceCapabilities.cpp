// Capability negotiation of SaneSource: TWAIN capabilities mapped onto the
// SANE device's well-known options.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "twain/TwainContainer.h"
#include "twaindsm/SaneSource.h"

namespace lumipage::twaindsm {

using namespace twain;

namespace {

constexpr double kMillimetresPerInch = 25.4;

constexpr std::array<TW_UINT16, 18> kSupported{
    CAP_SUPPORTEDCAPS, CAP_XFERCOUNT, ICAP_XFERMECH, ICAP_UNITS, CAP_INDICATORS, ICAP_PHYSICALWIDTH,
    ICAP_PHYSICALHEIGHT, ICAP_XRESOLUTION, ICAP_YRESOLUTION, ICAP_PIXELTYPE, ICAP_BITDEPTH,
    ICAP_BITDEPTHREDUCTION, ICAP_THRESHOLD, ICAP_BRIGHTNESS, ICAP_XSCALING, ICAP_YSCALING, CAP_FEEDERENABLED,
    CAP_AUTOFEED};

bool isLineart(const std::string& m) { return m == "Lineart" || m == "Binary" || m == "lineart" || m == "binary"; }
bool isGray(const std::string& m) { return m == "Gray" || m == "Grey" || m == "gray"; }
bool isFeeder(const std::string& s) {
    return s.find("ADF") != std::string::npos || s.find("eeder") != std::string::npos;
}

template <typename T>
std::span<const uint8_t> bytesOf(const std::vector<T>& items) {
    return {reinterpret_cast<const uint8_t*>(items.data()), items.size() * sizeof(T)};
}

TW_HANDLE oneFix32(double value) { return makeOneValue(TWTY_FIX32, fix32Bits(toFix32(value))); }

// A device option's range mapped linearly onto [from, to].
double mapRange(double value, double from, double to, double minimum, double maximum) {
    if (to <= from) return minimum;
    return minimum + (value - from) * (maximum - minimum) / (to - from);
}

}  // namespace

SaneSource::Rc SaneSource::capability(TW_UINT16 msg, TW_CAPABILITY& cap) {
    switch (msg) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT: return getCapability(cap);
    case MSG_SET:
        if (state_ != 4) return fail(TWCC_SEQERROR);
        return setCapability(cap);
    case MSG_RESET: return getCapability(cap);
    default: return fail(TWCC_BADPROTOCOL);
    }
}

double SaneSource::physicalSize(const char* tl, const char* br) const {
    const int high = options_.find(br);
    const auto range = options_.limits(high);
    if (!range) return 0;
    const auto low = options_.limits(options_.find(tl));
    const double extent = range->maximum - (low ? low->minimum : 0);
    if (options_.unit(high) == SANE_UNIT_PIXEL) {
        const double dpi = options_.number(options_.find("resolution")).value_or(0);
        return dpi > 0 ? extent / dpi : 0;
    }
    return extent / kMillimetresPerInch;
}

SaneSource::Rc SaneSource::resolutionContainer(TW_CAPABILITY& cap) {
    const int id = options_.find("resolution");
    const double current = options_.number(id).value_or(0);
    const auto limits = options_.limits(id);
    if (!limits) {
        cap.ConType = TWON_ONEVALUE;
        cap.hContainer = oneFix32(current);
    } else if (!limits->list.empty()) {
        std::vector<TW_UINT32> items;
        uint32_t index = 0;
        for (double v : limits->list) {
            if (std::fabs(v - current) < 1e-3) index = uint32_t(items.size());
            items.push_back(fix32Bits(toFix32(v)));
        }
        cap.ConType = TWON_ENUMERATION;
        cap.hContainer = makeEnumeration(TWTY_FIX32, bytesOf(items), uint32_t(items.size()), index, index);
    } else {
        cap.ConType = TWON_RANGE;
        const TW_UINT32 step = fix32Bits(toFix32(limits->step > 0 ? limits->step : 1));
        cap.hContainer = makeRange(TWTY_FIX32, fix32Bits(toFix32(limits->minimum)), fix32Bits(toFix32(limits->maximum)),
                                   step, fix32Bits(toFix32(current)), fix32Bits(toFix32(current)));
    }
    return cap.hContainer ? TWRC_SUCCESS : fail(TWCC_LOWMEMORY);
}

SaneSource::Rc SaneSource::getCapability(TW_CAPABILITY& cap) {
    cap.hContainer = nullptr;
    cap.ConType = TWON_ONEVALUE;
    switch (cap.Cap) {
    case CAP_SUPPORTEDCAPS: {
        std::vector<TW_UINT16> caps(kSupported.begin(), kSupported.end());
        cap.ConType = TWON_ARRAY;
        cap.hContainer = makeArray(TWTY_UINT16, bytesOf(caps), uint32_t(caps.size()));
        break;
    }
    case CAP_XFERCOUNT: cap.hContainer = makeOneValue(TWTY_INT16, 0xffff); break;
    case ICAP_XFERMECH: cap.hContainer = makeOneValue(TWTY_UINT16, TWSX_MEMORY); break;
    case ICAP_UNITS: cap.hContainer = makeOneValue(TWTY_UINT16, TWUN_INCHES); break;
    case CAP_INDICATORS: cap.hContainer = makeOneValue(TWTY_BOOL, 0); break;
    case ICAP_PHYSICALWIDTH: cap.hContainer = oneFix32(physicalSize("tl-x", "br-x")); break;
    case ICAP_PHYSICALHEIGHT: cap.hContainer = oneFix32(physicalSize("tl-y", "br-y")); break;
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION: return resolutionContainer(cap);
    case ICAP_PIXELTYPE: {
        std::vector<TW_UINT16> types{TWPT_BW};
        const auto modes = options_.strings(options_.find("mode"));
        const bool gray = modes.empty() || std::any_of(modes.begin(), modes.end(), isGray);
        if (gray) types.push_back(TWPT_GRAY);
        const uint32_t current = pixelType_ == TWPT_GRAY && gray ? 1 : 0;
        cap.ConType = TWON_ENUMERATION;
        cap.hContainer = makeEnumeration(TWTY_UINT16, bytesOf(types), uint32_t(types.size()), current, 0);
        break;
    }
    case ICAP_BITDEPTH: cap.hContainer = makeOneValue(TWTY_UINT16, pixelType_ == TWPT_GRAY ? 8 : 1); break;
    case ICAP_BITDEPTHREDUCTION: {
        std::vector<TW_UINT16> methods{TWBR_THRESHOLD};
        cap.ConType = TWON_ENUMERATION;
        cap.hContainer = makeEnumeration(TWTY_UINT16, bytesOf(methods), 1, 0, 0);
        break;
    }
    case ICAP_THRESHOLD: cap.hContainer = oneFix32(threshold_); break;
    case ICAP_BRIGHTNESS: {
        const int id = options_.find("brightness");
        const auto limits = options_.limits(id);
        if (!limits) return fail(TWCC_BADCAP);
        cap.hContainer = oneFix32(mapRange(options_.number(id).value_or(0), limits->minimum, limits->maximum, -1000, 1000));
        break;
    }
    case ICAP_XSCALING:
    case ICAP_YSCALING: {
        const TW_UINT32 one = fix32Bits(toFix32(1.0));
        cap.ConType = TWON_RANGE;
        cap.hContainer = makeRange(TWTY_FIX32, one, one, one, one, one);
        break;
    }
    case CAP_FEEDERENABLED:
    case CAP_AUTOFEED: cap.hContainer = makeOneValue(TWTY_BOOL, feeder_ ? 1 : 0); break;
    default: return fail(TWCC_BADCAP);
    }
    return cap.hContainer ? TWRC_SUCCESS : fail(TWCC_LOWMEMORY);
}

SaneSource::Rc SaneSource::setCapability(TW_CAPABILITY& cap) {
    ContainerValues values;
    if (readContainer(cap.ConType, cap.hContainer, TWON_DONTCARE16, values) != ContainerError::None)
        return fail(TWCC_BADVALUE);
    const std::optional<double> value = values.currentNumber();
    if (!value) return fail(TWCC_BADVALUE);
    return setNumberCapability(cap.Cap, *value);
}

SaneSource::Rc SaneSource::setNumberCapability(TW_UINT16 id, double value) {
    switch (id) {
    case ICAP_XFERMECH: return value == TWSX_MEMORY ? TWRC_SUCCESS : fail(TWCC_BADVALUE);
    case ICAP_UNITS: return value == TWUN_INCHES ? TWRC_SUCCESS : fail(TWCC_BADVALUE);
    case CAP_INDICATORS:
    case CAP_XFERCOUNT:
    case CAP_AUTOFEED: return TWRC_SUCCESS;
    case ICAP_BITDEPTHREDUCTION: return value == TWBR_THRESHOLD ? TWRC_SUCCESS : fail(TWCC_BADVALUE);
    case ICAP_PIXELTYPE:
        if (value != TWPT_BW && value != TWPT_GRAY) return fail(TWCC_BADVALUE);
        pixelType_ = TW_UINT16(value);
        applyPixelType();
        return TWRC_SUCCESS;
    case ICAP_BITDEPTH:
        return (value == 8 && pixelType_ == TWPT_GRAY) || (value == 1 && pixelType_ == TWPT_BW) ? TWRC_SUCCESS
                                                                                                 : fail(TWCC_BADVALUE);
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION: {
        const int option = options_.find("resolution");
        if (!option) return fail(TWCC_BADCAP);
        if (!options_.setNumber(option, value)) return fail(TWCC_BADVALUE);
        return std::fabs(options_.number(option).value_or(0) - value) < 1e-3 ? TWRC_SUCCESS : TWRC_CHECKSTATUS;
    }
    case ICAP_THRESHOLD: {
        threshold_ = int(std::clamp(value, 0.0, 255.0));
        const int option = options_.find("threshold");
        if (const auto limits = options_.limits(option))
            options_.setNumber(option, mapRange(value, 0, 255, limits->minimum, limits->maximum));
        return TWRC_SUCCESS;
    }
    case ICAP_BRIGHTNESS: {
        const int option = options_.find("brightness");
        const auto limits = options_.limits(option);
        if (!limits) return fail(TWCC_BADCAP);
        return options_.setNumber(option, mapRange(value, -1000, 1000, limits->minimum, limits->maximum))
                   ? TWRC_SUCCESS
                   : fail(TWCC_BADVALUE);
    }
    case ICAP_XSCALING:
    case ICAP_YSCALING: return std::fabs(value - 1.0) < 1e-3 ? TWRC_SUCCESS : fail(TWCC_BADVALUE);
    case CAP_FEEDERENABLED: setFeeder(value != 0); return TWRC_SUCCESS;
    default: return fail(TWCC_BADCAP);
    }
}

// Bilevel pages come from the device's lineart mode, else from 1-bit gray,
// else from 8-bit gray thresholded here; gray pages from 8-bit gray.
void SaneSource::applyPixelType() {
    const int mode = options_.find("mode");
    const auto modes = options_.strings(mode);
    const int depth = options_.find("depth");
    ownThreshold_ = false;
    auto lineart = std::find_if(modes.begin(), modes.end(), isLineart);
    auto gray = std::find_if(modes.begin(), modes.end(), isGray);
    if (pixelType_ == TWPT_BW && lineart != modes.end()) {
        options_.setText(mode, *lineart);
        return;
    }
    if (gray != modes.end()) options_.setText(mode, *gray);
    if (pixelType_ == TWPT_BW && depth && options_.setNumber(depth, 1) && options_.number(depth).value_or(8) == 1) return;
    if (depth) options_.setNumber(depth, 8);
    ownThreshold_ = pixelType_ == TWPT_BW;
}

void SaneSource::setFeeder(bool on) {
    const int option = options_.find("source");
    const auto sources = options_.strings(option);
    auto feeder = std::find_if(sources.begin(), sources.end(), isFeeder);
    if (on && feeder != sources.end()) {
        feeder_ = options_.setText(option, *feeder);
    } else {
        if (!on && !sources.empty()) options_.setText(option, sources.front());
        feeder_ = false;
    }
}

}  // namespace lumipage::twaindsm
