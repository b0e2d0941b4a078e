// Capability negotiation of SaneSource: TWAIN capabilities mapped onto the
// SANE device's well-known options.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "twain/TwainContainer.h"
#include "twain/TwainUnits.h"
#include "twaindsm/SaneModeNames.h"
#include "twaindsm/SaneSource.h"

namespace lumipage::twaindsm {

using namespace twain;

namespace {

// The program's own conversion, so that a frame and the glass's size
// come back in the millimetres they were given in.

constexpr std::array<TW_UINT16, 18> kSupported{
    CAP_SUPPORTEDCAPS, CAP_XFERCOUNT, ICAP_XFERMECH, ICAP_UNITS, CAP_INDICATORS, ICAP_PHYSICALWIDTH,
    ICAP_PHYSICALHEIGHT, ICAP_XRESOLUTION, ICAP_YRESOLUTION, ICAP_PIXELTYPE, ICAP_BITDEPTH,
    ICAP_BITDEPTHREDUCTION, ICAP_THRESHOLD, ICAP_BRIGHTNESS, ICAP_XSCALING, ICAP_YSCALING, CAP_FEEDERENABLED,
    CAP_AUTOFEED};

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
    case MSG_GETCURRENT: return getCapability(cap);
    case MSG_GETDEFAULT: return defaultCapability(cap);
    case MSG_SET:
        if (state_ != 4) return fail(TWCC_SEQERROR);
        return setCapability(cap);
    case MSG_RESET:
        if (state_ != 4) return fail(TWCC_SEQERROR);
        return resetCapability(cap);
    default: return fail(TWCC_BADPROTOCOL);
    }
}

// The value each capability has before anyone sets it: the device's own
// for what maps onto its options, TWAIN's defaults for the rest.
SaneSource::Rc SaneSource::defaultCapability(TW_CAPABILITY& cap) {
    cap.hContainer = nullptr;
    cap.ConType = TWON_ONEVALUE;
    switch (cap.Cap) {
    case CAP_SUPPORTEDCAPS:
    case ICAP_PHYSICALWIDTH:
    case ICAP_PHYSICALHEIGHT: return getCapability(cap);  // fixed by the device
    case CAP_XFERCOUNT: cap.hContainer = makeOneValue(TWTY_INT16, 0xffff); break;
    case ICAP_XFERMECH: cap.hContainer = makeOneValue(TWTY_UINT16, TWSX_NATIVE); break;
    case ICAP_UNITS: cap.hContainer = makeOneValue(TWTY_UINT16, TWUN_INCHES); break;
    case CAP_INDICATORS:
    case CAP_AUTOFEED: cap.hContainer = makeOneValue(TWTY_BOOL, 1); break;
    case CAP_FEEDERENABLED: cap.hContainer = makeOneValue(TWTY_BOOL, 0); break;
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION: cap.hContainer = oneFix32(defaultResolution_); break;
    case ICAP_PIXELTYPE:
    case ICAP_BITDEPTHREDUCTION: cap.hContainer = makeOneValue(TWTY_UINT16, 0); break;  // TWPT_BW, TWBR_THRESHOLD
    case ICAP_BITDEPTH: cap.hContainer = makeOneValue(TWTY_UINT16, 1); break;
    case ICAP_THRESHOLD: cap.hContainer = oneFix32(128); break;
    case ICAP_BRIGHTNESS: {
        const auto limits = options_.limits(options_.find("brightness"));
        if (!limits || !defaultBrightness_) return fail(TWCC_BADCAP);
        cap.hContainer = oneFix32(mapRange(*defaultBrightness_, limits->minimum, limits->maximum, -1000, 1000));
        break;
    }
    case ICAP_XSCALING:
    case ICAP_YSCALING: cap.hContainer = oneFix32(1.0); break;
    default: return fail(TWCC_BADCAP);
    }
    return cap.hContainer ? TWRC_SUCCESS : fail(TWCC_LOWMEMORY);
}

// Back to the default, answered with the capability as MSG_GET gives it.
SaneSource::Rc SaneSource::resetCapability(TW_CAPABILITY& cap) {
    TW_CAPABILITY fallback{cap.Cap, TWON_ONEVALUE, nullptr};
    const Rc found = defaultCapability(fallback);
    if (found != TWRC_SUCCESS) return found;
    ContainerValues values;
    const bool readable = readContainer(fallback.ConType, fallback.hContainer, TWON_DONTCARE16, values) == ContainerError::None;
    freeContainer(fallback.hContainer);
    const std::optional<double> value = readable ? values.currentNumber() : std::nullopt;
    if (value && cap.Cap != CAP_SUPPORTEDCAPS && cap.Cap != ICAP_PHYSICALWIDTH && cap.Cap != ICAP_PHYSICALHEIGHT) {
        if (cap.Cap == ICAP_BITDEPTH) {
            // The depth follows the pixel type.
        } else if (setNumberCapability(cap.Cap, *value) == TWRC_FAILURE) {
            return TWRC_FAILURE;
        }
    }
    return getCapability(cap);
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
        // Only what this device can do: brightness needs an option of its own.
        std::vector<TW_UINT16> caps;
        for (TW_UINT16 id : kSupported)
            if (id != ICAP_BRIGHTNESS || options_.limits(options_.find("brightness"))) caps.push_back(id);
        cap.ConType = TWON_ARRAY;
        cap.hContainer = makeArray(TWTY_UINT16, bytesOf(caps), uint32_t(caps.size()));
        break;
    }
    case CAP_XFERCOUNT: cap.hContainer = makeOneValue(TWTY_INT16, TW_UINT16(transferCount_)); break;
    case ICAP_XFERMECH: {
        const std::vector<TW_UINT16> mechanisms{TWSX_NATIVE, TWSX_MEMORY};
        cap.ConType = TWON_ENUMERATION;
        cap.hContainer = makeEnumeration(TWTY_UINT16, bytesOf(mechanisms), 2, transferMechanism_ == TWSX_MEMORY ? 1 : 0, 0);
        break;
    }
    case ICAP_UNITS: cap.hContainer = makeOneValue(TWTY_UINT16, TWUN_INCHES); break;
    case CAP_INDICATORS: cap.hContainer = makeOneValue(TWTY_BOOL, indicators_ ? 1 : 0); break;
    case ICAP_PHYSICALWIDTH: cap.hContainer = oneFix32(physicalSize("tl-x", "br-x")); break;
    case ICAP_PHYSICALHEIGHT: cap.hContainer = oneFix32(physicalSize("tl-y", "br-y")); break;
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION:
        // While a frame is read many backends refuse their options: the
        // frame's own resolution is the current one.
        if (scanning_) {
            cap.hContainer = oneFix32(frameDpi_);
            break;
        }
        return resolutionContainer(cap);
    case ICAP_PIXELTYPE: {
        std::vector<TW_UINT16> types{TWPT_BW};
        const auto modes = options_.strings(options_.find("mode"));
        const bool gray = modes.empty() || bestMode(modes, ModeKind::Gray) || grayByProbe_;
        if (gray) types.push_back(TWPT_GRAY);
        const uint32_t current = pixelType_ == TWPT_GRAY && gray ? 1 : 0;
        cap.ConType = TWON_ENUMERATION;
        cap.hContainer = makeEnumeration(TWTY_UINT16, bytesOf(types), uint32_t(types.size()), current, 0);
        break;
    }
    case ICAP_BITDEPTH: cap.hContainer = makeOneValue(TWTY_UINT16, pixelType_ == TWPT_GRAY ? 8 : 1); break;
    case ICAP_BITDEPTHREDUCTION: {
        // Dither and error diffusion are made here from gray, whatever the device.
        const std::vector<TW_UINT16> methods{TWBR_THRESHOLD, TWBR_HALFTONES, TWBR_DIFFUSION};
        const auto at = uint32_t(std::find(methods.begin(), methods.end(), reduction_) - methods.begin());
        cap.ConType = TWON_ENUMERATION;
        cap.hContainer = makeEnumeration(TWTY_UINT16, bytesOf(methods), uint32_t(methods.size()), at, 0);
        break;
    }
    case ICAP_THRESHOLD: cap.hContainer = oneFix32(bilevel_.threshold()); break;
    case ICAP_BRIGHTNESS: {
        const int id = options_.find("brightness");
        const auto limits = options_.limits(id);
        if (!limits) return fail(TWCC_BADCAP);
        cap.hContainer = oneFix32(mapRange(options_.number(id).value_or(0), limits->minimum, limits->maximum, -1000, 1000));
        break;
    }
    case ICAP_XSCALING:
    case ICAP_YSCALING: {
        const auto [low, high] = scalingLimits();
        cap.ConType = TWON_RANGE;
        cap.hContainer = makeRange(TWTY_FIX32, fix32Bits(toFix32(low)), fix32Bits(toFix32(high)),
                                   fix32Bits(toFix32(0.01)), fix32Bits(toFix32(scale_)), fix32Bits(toFix32(1.0)));
        break;
    }
    case CAP_FEEDERENABLED: cap.hContainer = makeOneValue(TWTY_BOOL, feeder_ ? 1 : 0); break;
    case CAP_AUTOFEED: cap.hContainer = makeOneValue(TWTY_BOOL, autoFeed_ ? 1 : 0); break;
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
    case ICAP_XFERMECH:
        if (value != TWSX_MEMORY && value != TWSX_NATIVE) return fail(TWCC_BADVALUE);
        transferMechanism_ = TW_UINT16(value);
        return TWRC_SUCCESS;
    case ICAP_UNITS: return value == TWUN_INCHES ? TWRC_SUCCESS : fail(TWCC_BADVALUE);
    case CAP_INDICATORS: indicators_ = value != 0; return TWRC_SUCCESS;
    case CAP_XFERCOUNT:
        // -1 (read as 65535 from an unsigned item) for every page, else 1 to 32767.
        if (value == -1 || value == 65535) transferCount_ = -1;
        else if (value >= 1 && value <= 32767) transferCount_ = TW_INT16(value);
        else return fail(TWCC_BADVALUE);
        return TWRC_SUCCESS;
    case CAP_AUTOFEED: autoFeed_ = value != 0; return TWRC_SUCCESS;
    case CAP_SUPPORTEDCAPS:
    case ICAP_PHYSICALWIDTH:
    case ICAP_PHYSICALHEIGHT: return fail(TWCC_CAPBADOPERATION);
    case ICAP_BITDEPTHREDUCTION:
        if (value != TWBR_THRESHOLD && value != TWBR_HALFTONES && value != TWBR_DIFFUSION) return fail(TWCC_BADVALUE);
        reduction_ = TW_UINT16(value);
        bilevel_.setMethod(reduction_ == TWBR_THRESHOLD   ? GrayToBilevel::Method::Threshold
                           : reduction_ == TWBR_HALFTONES ? GrayToBilevel::Method::Dither
                                                          : GrayToBilevel::Method::Diffusion);
        applyPixelType();
        return TWRC_SUCCESS;
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
        bilevel_.setThreshold(int(std::clamp(value, 0.0, 255.0)));
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
    case ICAP_YSCALING: {
        // One factor for both directions. The range offered depends on the
        // resolution, which may be set afterwards: a factor the device
        // cannot reach then is met as nearly as it can, and the frame's
        // resolution says what the page became.
        if (value < 0.01 || value > 100) return fail(TWCC_BADVALUE);
        scale_ = value;
        return TWRC_SUCCESS;
    }
    case CAP_FEEDERENABLED: setFeeder(value != 0); return TWRC_SUCCESS;
    default: return fail(TWCC_BADCAP);
    }
}

// Bilevel pages come from the device's lineart mode, else from 1-bit gray,
// else from 8-bit gray thresholded here; gray pages from 8-bit gray. Modes
// are known by their names; a backend whose names say nothing is asked what
// each mode delivers (the frame format and depth it reports).
void SaneSource::applyPixelType() {
    const int mode = options_.find("mode");
    const auto modes = options_.strings(mode);
    const int depth = options_.find("depth");
    ownThreshold_ = false;
    std::optional<size_t> lineart = bestMode(modes, ModeKind::Lineart);
    std::optional<size_t> gray = bestMode(modes, ModeKind::Gray);
    if (!gray || (!lineart && pixelType_ == TWPT_BW)) probeModes(modes, lineart, gray);
    // The device's own lineart is a threshold: a dither or a diffusion is
    // made here from its gray.
    if (pixelType_ == TWPT_BW && lineart && reduction_ == TWBR_THRESHOLD) {
        options_.setText(mode, modes[*lineart]);
        return;
    }
    if (gray) options_.setText(mode, modes[*gray]);
    if (pixelType_ == TWPT_BW && reduction_ == TWBR_THRESHOLD && depth && options_.setNumber(depth, 1) &&
        options_.number(depth).value_or(8) == 1)
        return;
    if (depth) options_.setNumber(depth, 8);
    ownThreshold_ = pixelType_ == TWPT_BW;
}

// Tries each mode whose name told nothing and keeps those that deliver
// a one-sample frame of 1 or 8 bits.
void SaneSource::probeModes(const std::vector<std::string>& modes, std::optional<size_t>& lineart,
                            std::optional<size_t>& gray) {
    const int mode = options_.find("mode");
    if (!mode) return;
    const std::optional<std::string> was = options_.text(mode);
    for (size_t i = 0; i < modes.size(); ++i) {
        if (modeKind(modes[i]) != ModeKind::Unknown || !options_.setText(mode, modes[i])) continue;
        SANE_Parameters p{};
        if (sane_get_parameters(handle_, &p) != SANE_STATUS_GOOD || p.format != SANE_FRAME_GRAY) continue;
        if (p.depth == 1 && !lineart) lineart = i;
        if (p.depth >= 8 && !gray) {
            gray = i;
            grayByProbe_ = true;
        }
    }
    if (was) options_.setText(mode, *was);
}

std::pair<double, double> SaneSource::scalingLimits() const {
    const int option = options_.find("resolution");
    const double current = options_.number(option).value_or(0);
    const auto limits = options_.limits(option);
    if (!limits || current <= 0) return {1.0, 1.0};
    double low = limits->minimum, high = limits->maximum;
    if (!limits->list.empty()) {
        low = *std::min_element(limits->list.begin(), limits->list.end());
        high = *std::max_element(limits->list.begin(), limits->list.end());
    }
    if (low <= 0 || high < low) return {1.0, 1.0};
    // Before a resolution is set some devices hold a value outside their
    // own limits; the range is then given for 300 dpi.
    const double nominal = current >= low && current <= high ? current : std::clamp(300.0, low, high);
    return {std::min(1.0, low / nominal), std::max(1.0, high / nominal)};
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
