#pragma once
#include <sane/sane.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "twain/TwainTypes.h"
#include "twaindsm/GrayToBilevel.h"
#include "twaindsm/SaneOptions.h"
#include "twaindsm/SaneReader.h"

namespace lumipage::twaindsm {

// One SANE device offered as a TWAIN data source: capabilities mapped onto
// the device's options, and memory transfers of its frames. Enabled with
// its user interface it first shows the device's options (and again for
// each further page while the program keeps it enabled); without, it
// reports a transfer ready at once.
class SaneSource {
public:
    SaneSource(SANE_Handle handle, twain::TW_IDENTITY identity);
    ~SaneSource();
    SaneSource(const SaneSource&) = delete;
    SaneSource& operator=(const SaneSource&) = delete;

    const twain::TW_IDENTITY& identity() const { return identity_; }
    // A read of the device never came back: SANE may not be shut down
    // under it, since ending a backend waits for its scans to end.
    bool wedged() const { return wedged_; }
    // One triplet addressed to this source.
    twain::TW_UINT16 entry(twain::TW_UINT32 dg, twain::TW_UINT16 dat, twain::TW_UINT16 msg, twain::TW_MEMREF data);

private:
    using Rc = twain::TW_UINT16;
    Rc fail(twain::TW_UINT16 condition);
    Rc capability(twain::TW_UINT16 msg, twain::TW_CAPABILITY& cap);
    Rc getCapability(twain::TW_CAPABILITY& cap);
    Rc defaultCapability(twain::TW_CAPABILITY& cap);
    Rc resetCapability(twain::TW_CAPABILITY& cap);
    Rc setCapability(twain::TW_CAPABILITY& cap);
    Rc setNumberCapability(twain::TW_UINT16 id, double value);
    Rc resolutionContainer(twain::TW_CAPABILITY& cap);
    Rc userInterface(twain::TW_UINT16 msg, const twain::TW_USERINTERFACE& ui);
    bool askToScan();
    Rc processEvent(twain::TW_EVENT& event);
    Rc imageInfo(twain::TW_IMAGEINFO& info);
    Rc imageLayout(twain::TW_UINT16 msg, twain::TW_IMAGELAYOUT& layout);
    Rc memoryTransfer(twain::TW_IMAGEMEMXFER& transfer);
    Rc nativeTransfer(twain::TW_HANDLE& bitmap);
    Rc readFailed(SANE_Status status);
    Rc pendingTransfers(twain::TW_UINT16 msg, twain::TW_PENDINGXFERS& pending);
    bool startFrame();
    bool feedNext();
    twain::TW_UINT16 pendingCount() const;
    void stopFrame();
    // The next whole row of the frame into `row_`; false when none is
    // complete by `until` (status still good) or when the data has ended.
    bool readRow(SANE_Status& status, std::chrono::steady_clock::time_point until);
    void convertRow(const std::vector<uint8_t>& in, uint8_t* out, int y);
    uint32_t rowBytes() const;
    void applyPixelType();
    void probeModes(const std::vector<std::string>& modes, std::optional<size_t>& lineart, std::optional<size_t>& gray);
    void setFeeder(bool on);
    double physicalSize(const char* tl, const char* br) const;
    // The scaling factors the device's resolutions allow at the resolution set.
    std::pair<double, double> scalingLimits() const;
    void scaleResolution();
    void restoreResolution();

    SANE_Handle handle_;
    SaneOptions options_;
    twain::TW_IDENTITY identity_;
    int state_ = 4;
    twain::TW_UINT16 condition_ = twain::TWCC_SUCCESS;
    bool startPending_ = false;
    bool showUi_ = false;        // enabled with the source's dialog
    bool closeRequested_ = false;

    // The device's own values when it was opened, for MSG_GETDEFAULT and MSG_RESET.
    double defaultResolution_ = 0;
    std::optional<double> defaultBrightness_;

    // Negotiated values.
    twain::TW_UINT16 pixelType_ = twain::TWPT_BW;
    twain::TW_UINT16 transferMechanism_ = twain::TWSX_NATIVE;
    twain::TW_INT16 transferCount_ = -1;  // pages wanted per enabling, -1 all
    int transferred_ = 0;                 // pages ended since enabling
    bool autoFeed_ = true;
    bool indicators_ = true;
    bool feeder_ = false;
    // Bilevel pages made here from 8-bit gray: when the device has no
    // lineart of its own, and always for a dither or error diffusion.
    GrayToBilevel bilevel_;
    bool ownThreshold_ = false;
    twain::TW_UINT16 reduction_ = twain::TWBR_THRESHOLD;
    // ICAP_XSCALING and ICAP_YSCALING: a page scaled by s is scanned at s
    // times the resolution set and reported at the resolution set.
    double scale_ = 1.0;
    std::optional<double> resolutionToRestore_;
    bool grayByProbe_ = false;   // a gray mode found by trying the modes

    // The frame being transferred.
    SANE_Parameters params_{};
    double frameDpi_ = 0;  // the resolution the frame is scanned at
    bool scanning_ = false;
    int rowsDone_ = 0;
    std::unique_ptr<SaneReader> reader_;
    std::vector<uint8_t> row_;  // the row being read, `rowFill_` bytes of it so far
    size_t rowFill_ = 0;
    bool wedged_ = false;  // sane_read never returned: the handle is left alone
};

}  // namespace lumipage::twaindsm
