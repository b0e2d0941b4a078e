// The modal acquisition of TwainSession: enabling the source, the event
// loop, and memory transfers of pages into 1-bit rasters.
#include <new>
#include <vector>

#include "base/Messages.h"
#include "image/PageRaster.h"
#include "scan/StripWriter.h"
#include "scan/TwainErrors.h"
#include "scan/TwainSession.h"

namespace lumipage {

using namespace twain;

namespace {

constexpr const char* kEnableFailed = "Failed to enable Data Source.";
constexpr const char* kColourRefused = "カラー写真データは読み込めません";
constexpr const char* kDepthRefused = "このデータは読み込めません";
constexpr uint32_t kBufferSlack = 1024;
constexpr uint32_t kDefaultBuffer = 64 * 1024;
constexpr uint32_t kMaxBuffer = 64 * 1024 * 1024;

}  // namespace

bool TwainSession::Acquire(PageRaster& page, AcquireClient& client) {
    clearError();
    if (state_ != 4) {
        recordError(twainerrors::kNotState4);
        return false;
    }
    SetCapability(CAP_INDICATORS, TWTY_BOOL, 1);
    SetCapability(ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY);
    clearError();  // a source without these settings still transfers

    TW_USERINTERFACE ui{};
    ui.ShowUI = hideUi_ ? 0 : 1;
    ui.ModalUI = 0;
    if (callSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) == TWRC_FAILURE) {
        recordError(twainerrors::kSourceOperation);
        ReportError(kEnableFailed);
        return false;
    }
    state_ = 5;
    host_.enableWindow(false);
    bool result = false;
    while (state_ > 4) {
        if (!host_.pump()) break;
        TW_EVENT event{nullptr, MSG_NULL};
        const uint16_t rc = callSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        if (rc == TWRC_NOTDSEVENT) continue;
        if (rc != TWRC_DSEVENT) break;  // the source is gone or broken
        if (event.TWMessage == MSG_XFERREADY) {
            state_ = 6;
            if (!pageLoop(page, client, result)) break;
        } else if (event.TWMessage == MSG_CLOSEDSREQ) {
            break;
        }
    }
    host_.enableWindow(true);
    disableSource();
    return result;
}

// Transfers the pages the source holds ready; true when the source's dialog
// stays open for further pages.
bool TwainSession::pageLoop(PageRaster& page, AcquireClient& client, bool& result) {
    bool failed = false;
    do {
        if (!transferPage(page, client)) {
            failed = true;
            result = false;
            break;
        }
        result = client.pageDone(page, !gray_.empty());
        // A page that could not be kept stops the run rather than scanning more pages into nowhere.
        if (!result || !client.numbered()) break;
        client.advanceName();
    } while (state_ == 6);
    endPendingTransfers();
    return !failed && result && client.numbered() && client.continuous() && client.sourceDialog();
}

bool TwainSession::transferPage(PageRaster& page, AcquireClient& client) {
    gray_.clear();
    gray_.shrink_to_fit();
    info_ = TW_IMAGEINFO{};
    TW_SETUPMEMXFER setup{};
    if (callSource(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info_) != TWRC_SUCCESS ||
        callSource(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup) != TWRC_SUCCESS) {
        recordError(twainerrors::kSourceOperation);
        endTransfer(false, client);
        return false;
    }
    if (info_.SamplesPerPixel != 1) return refusePage(kColourRefused, client);
    const int bits = info_.BitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8) return refusePage(kDepthRefused, client);
    // Whole bytes and 8-row blocks: both sides are cut to multiples of 8.
    const int32_t width = info_.ImageWidth & ~7;
    const int32_t length = info_.ImageLength & ~7;
    if (width <= 0 || length <= 0 || width > PageRaster::kMaxSide || length > PageRaster::kMaxSide)
        return refusePage(kDepthRefused, client);
    if (!page.create(width, length, int32_t(fromFix32(info_.XResolution) + 0.5))) {
        messages_.message("Insufficient Memory");
        endTransfer(false, client);
        return false;
    }
    const bool done = receiveStrips(page, setup);
    endTransfer(done, client);
    return done;
}

bool TwainSession::refusePage(const char* message, AcquireClient& client) {
    endTransfer(false, client);
    messages_.message(message);
    return false;
}

bool TwainSession::receiveStrips(PageRaster& page, const TW_SETUPMEMXFER& setup) {
    uint32_t preferred = setup.Preferred != 0 && setup.Preferred != TWON_DONTCARE32 ? setup.Preferred
                         : setup.MinBufSize != 0 && setup.MinBufSize != TWON_DONTCARE32 ? setup.MinBufSize
                                                                                       : kDefaultBuffer;
    if (preferred > kMaxBuffer) preferred = kMaxBuffer;
    std::vector<uint8_t> buffer;
    try {
        buffer.resize(size_t(preferred) + kBufferSlack);
    } catch (const std::bad_alloc&) {
        messages_.message("Insufficient Memory");
        return false;
    }
    StripWriter writer(page, gray_, info_.BitsPerPixel, threshold_, xeroxTwain_);
    bool any = false;
    for (;;) {
        TW_IMAGEMEMXFER transfer{};
        transfer.Compression = TWON_DONTCARE16;
        transfer.BytesPerRow = transfer.Columns = transfer.Rows = TWON_DONTCARE32;
        transfer.XOffset = transfer.YOffset = transfer.BytesWritten = TWON_DONTCARE32;
        transfer.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        transfer.Memory.Length = preferred;
        transfer.Memory.TheMem = buffer.data();
        const uint16_t rc = callSource(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &transfer);
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
            if (rc == TWRC_FAILURE) recordError(twainerrors::kSourceOperation);
            break;
        }
        if (!any) state_ = 7;
        any = true;
        const StripLayout strip{transfer.BytesPerRow, transfer.Columns, transfer.Rows,
                                transfer.XOffset,     transfer.YOffset, transfer.BytesWritten};
        writer.store(std::span<const uint8_t>(buffer.data(), preferred), strip);
        if (rc == TWRC_XFERDONE) return true;
    }
    return false;
}

// Ends the page's transfer; pending pages are discarded unless the source's
// feeder or its open dialog will deliver them.
void TwainSession::endTransfer(bool pageDone, AcquireClient& client) {
    if (state_ < 6) return;
    TW_PENDINGXFERS pending{};
    callSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    state_ = pending.Count != 0 ? 6 : 5;
    const bool keep = feederEnabled_ || (client.sourceDialog() && client.continuous());
    if (state_ == 6 && (!pageDone || !keep)) {
        callSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
        state_ = 5;
    }
}

void TwainSession::applyThreshold(int threshold, PageRaster& page) {
    setThreshold(threshold);
    StripWriter::rethreshold(gray_, threshold_, page);
}

}  // namespace lumipage
