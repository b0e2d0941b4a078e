#include "scan/TwainSession.h"

#include <cstring>

#include "base/Messages.h"
#include "scan/TwainErrors.h"

namespace lumipage {

using namespace twain;

namespace {

constexpr const char* kLoadFailed = "Unable to load Source Manager (TWAIN_32.DLL)";
constexpr const char* kOpenManagerFailed = "Unable to open Source Manager (TWAIN_32.DLL)";
constexpr const char* kOpenSourceFailed = "Unable to open default Data Source.";
constexpr const char* kSetOutsideState4 = "Attempt to set capability outside State 4.";
constexpr const char* kGetBelowState4 = "Attempt to get capability value below State 4.";
constexpr const char* kNoMemory = "Insufficient Memory";

void copyText(TW_STR32& field, const std::string& text) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

}  // namespace

TwainSession::TwainSession(SourceManagerLibrary& library, Messages& messages, TwainHost& host,
                           std::string versionText)
    : library_(library), messages_(messages), host_(host) {
    app_.Id = 0;
    app_.Version.MajorNum = 2;
    app_.Version.MinorNum = 1;
    app_.Version.Language = TWLG_USA;
    app_.Version.Country = TWCY_JAPAN;
    copyText(app_.Version.Info, versionText);
    app_.ProtocolMajor = TWON_PROTOCOLMAJOR;
    app_.ProtocolMinor = TWON_PROTOCOLMINOR;
    app_.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copyText(app_.Manufacturer, "Quor");
    copyText(app_.ProductFamily, "Lumipage");
    copyText(app_.ProductName, "Lumipage");
}

TwainSession::~TwainSession() {
    CloseSource();
    if (state_ >= 3) closeManager();
    unloadManager();
}

// Manager and source states.

bool TwainSession::loadManager() {
    if (state_ > 1) return true;
    entry_ = library_.load();
    if (!entry_) return false;
    state_ = 2;
    return true;
}

void TwainSession::unloadManager() {
    if (state_ != 2) return;
    entry_ = nullptr;
    library_.unload();
    state_ = 1;
}

bool TwainSession::openManager() {
    if (state_ != 2) return state_ > 2;
    TW_HANDLE parent = nullptr;  // this platform has no window handle to give
    if (callManager(DAT_PARENT, MSG_OPENDSM, &parent) != TWRC_SUCCESS) return false;
    state_ = 3;
    return true;
}

void TwainSession::closeManager() {
    if (state_ != 3) return;
    TW_HANDLE parent = nullptr;
    if (callManager(DAT_PARENT, MSG_CLOSEDSM, &parent) == TWRC_SUCCESS) state_ = 2;
}

bool TwainSession::openSource() {
    if (state_ != 3) return state_ > 3;
    std::memset(&source_, 0, sizeof source_);  // a zeroed identity asks for the default source
    if (callManager(DAT_IDENTITY, MSG_OPENDS, &source_) != TWRC_SUCCESS) {
        recordError(twainerrors::kManagerOperation);
        return false;
    }
    state_ = 4;
    return true;
}

void TwainSession::closeSource() {
    disableSource();
    if (state_ != 4) return;
    callManager(DAT_IDENTITY, MSG_CLOSEDS, &source_);
    state_ = 3;  // the source is gone for us whatever the manager says
}

void TwainSession::disableSource() {
    endPendingTransfers();
    if (state_ == 5) {
        TW_USERINTERFACE ui{};
        ui.ShowUI = hideUi_ ? 0 : 1;
        callSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
        state_ = 4;
    }
}

void TwainSession::endPendingTransfers() {
    TW_PENDINGXFERS pending{};
    if (state_ == 7) {
        callSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        state_ = pending.Count != 0 ? 6 : 5;
    }
    if (state_ == 6) {
        callSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
        state_ = 5;
    }
}

uint16_t TwainSession::callManager(uint16_t dat, uint16_t msg, void* data, uint32_t dg) {
    lastRc_ = entry_ ? entry_(&app_, nullptr, dg, dat, msg, data) : TWRC_FAILURE;
    return lastRc_;
}

uint16_t TwainSession::callSource(uint32_t dg, uint16_t dat, uint16_t msg, void* data) {
    lastRc_ = entry_ ? entry_(&app_, &source_, dg, dat, msg, data) : TWRC_FAILURE;
    return lastRc_;
}

// Opening and closing.

bool TwainSession::managerAvailable() {
    if (state_ > 1) return true;
    if (!loadManager()) return false;
    unloadManager();
    return true;
}

// Loads and opens the source manager, saying what failed.
bool TwainSession::startManager() {
    if (!loadManager()) {
        messages_.warning(kErrorCaption, kLoadFailed);
        return false;
    }
    if (!openManager()) {
        messages_.warning(kErrorCaption, kOpenManagerFailed);
        unloadManager();
        return false;
    }
    return true;
}

bool TwainSession::OpenDefaultSource() {
    if (sourceOpen_) return true;
    clearError();
    if (!startManager()) return false;
    if (!openSource()) {
        ReportError(kOpenSourceFailed);
        closeManager();
        unloadManager();
        return false;
    }
    sourceOpen_ = true;
    return true;
}

void TwainSession::CloseSource() {
    if (!sourceOpen_) return;
    closeSource();
    closeManager();
    unloadManager();
    sourceOpen_ = false;
}

bool TwainSession::SelectSource(SourceChooser& chooser) {
    if (sourceOpen_) CloseSource();
    if (!startManager()) return false;
    std::vector<TW_IDENTITY> sources;
    std::vector<std::string> names;
    TW_IDENTITY identity{};
    for (uint16_t msg = MSG_GETFIRST; callManager(DAT_IDENTITY, msg, &identity) == TWRC_SUCCESS && sources.size() < 1000;
         msg = MSG_GETNEXT) {
        sources.push_back(identity);
        names.emplace_back(identity.ProductName, strnlen(identity.ProductName, sizeof identity.ProductName));
        std::memset(&identity, 0, sizeof identity);
    }
    size_t current = 0;
    if (callManager(DAT_IDENTITY, MSG_GETDEFAULT, &identity) == TWRC_SUCCESS) {
        for (size_t i = 0; i < sources.size(); ++i)
            if (sources[i].Id == identity.Id) current = i;
    }
    bool selected = false;
    if (!sources.empty()) {
        if (auto choice = chooser.choose(names, current); choice && *choice < sources.size()) {
            identity = sources[*choice];
            selected = callManager(DAT_IDENTITY, MSG_USERSELECT, &identity) == TWRC_SUCCESS;
        }
    }
    closeManager();
    unloadManager();
    return selected;
}

// Errors.

void TwainSession::clearError() {
    errorCode_ = errorRc_ = errorCc_ = 0;
}

void TwainSession::recordError(int code) {
    if (errorCode_ != 0) return;  // the first error is the one the user sees
    errorCode_ = code;
    if (code >= twainerrors::kCapabilityGet && code <= twainerrors::kSourceOperation) {
        errorRc_ = lastRc_;
        errorCc_ = conditionCode();
        lastRc_ = uint16_t(errorRc_);
    }
}

int TwainSession::conditionCode() {
    TW_STATUS status{};
    uint16_t rc;
    if (state_ >= 4) rc = callSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    else if (state_ == 3) rc = callManager(DAT_STATUS, MSG_GET, &status);
    else return TWCC_SEQERROR;
    return rc == TWRC_SUCCESS ? status.ConditionCode : TWCC_BUMMER;
}

std::string TwainSession::errorReport(std::string_view caption) const {
    return twainerrors::formatReport(caption, errorCode_, errorRc_, errorCc_);
}

void TwainSession::ReportError(std::string_view caption) {
    messages_.warning(kErrorCaption, errorReport(caption));
}

// Capabilities.

bool TwainSession::requireState4(const char* message) {
    if (state_ == 4) return true;
    messages_.warning(kErrorCaption, message);
    recordError(twainerrors::kNotState4);
    return false;
}

bool TwainSession::SetCapability(uint16_t cap, uint16_t itemType, double value) {
    if (!requireState4(kSetOutsideState4)) return false;
    TW_CAPABILITY capability{cap, TWON_ONEVALUE, makeOneValue(itemType, itemBits(itemType, value))};
    return sendCapability(capability);
}

bool TwainSession::setEnumeration(uint16_t cap, uint16_t itemType, std::span<const uint8_t> items, uint32_t count,
                                  uint32_t current) {
    if (!requireState4(kSetOutsideState4)) return false;
    if (size_t(count) * itemSize(itemType) > items.size()) return false;
    TW_CAPABILITY capability{cap, TWON_ENUMERATION, makeEnumeration(itemType, items, count, current, current)};
    return sendCapability(capability);
}

// Hands a filled container to the source and frees it; a container that
// could not be made is reported as lack of memory.
bool TwainSession::sendCapability(TW_CAPABILITY& capability) {
    if (!capability.hContainer) {
        messages_.warning(kErrorCaption, kNoMemory);
        return false;
    }
    const uint16_t rc = callSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    freeContainer(capability.hContainer);
    if (rc != TWRC_SUCCESS && rc != TWRC_CHECKSTATUS) {
        recordError(twainerrors::kCapabilitySet);
        return false;
    }
    return true;
}

std::optional<ContainerValues> TwainSession::readCapability(uint16_t cap, uint16_t itemType) {
    if (state_ < 4) {
        messages_.warning(kErrorCaption, kGetBelowState4);
        recordError(twainerrors::kNotState4);
        return std::nullopt;
    }
    TW_CAPABILITY capability{cap, TWON_DONTCARE16, nullptr};
    if (callSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability) != TWRC_SUCCESS) {
        recordError(twainerrors::kCapabilityGet);
        freeContainer(capability.hContainer);
        return std::nullopt;
    }
    ContainerValues values;
    const ContainerError error = readContainer(capability.ConType, capability.hContainer, itemType, values);
    freeContainer(capability.hContainer);
    if (error != ContainerError::None) {
        recordError(int(error));
        return std::nullopt;
    }
    return values;
}

std::optional<double> TwainSession::GetCapability(uint16_t cap, uint16_t itemType) {
    auto values = readCapability(cap, itemType);
    if (!values) return std::nullopt;
    if (values->kind != TWON_ONEVALUE && values->kind != TWON_ENUMERATION) {
        recordError(twainerrors::kContainerKind);
        return std::nullopt;
    }
    auto current = values->currentNumber();
    if (!current) recordError(twainerrors::kContainerEmpty);
    return current;
}

bool TwainSession::setImageLayout(double left, double top, double right, double bottom) {
    if (!requireState4(kSetOutsideState4)) return false;
    TW_IMAGELAYOUT layout{};
    layout.Frame = TW_FRAME{toFix32(left), toFix32(top), toFix32(right), toFix32(bottom)};
    layout.DocumentNumber = 1;
    layout.PageNumber = 1;
    layout.FrameNumber = 1;
    const uint16_t rc = callSource(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
    if (rc != TWRC_SUCCESS && rc != TWRC_CHECKSTATUS) {
        recordError(twainerrors::kSourceOperation);
        return false;
    }
    return true;
}

}  // namespace lumipage
