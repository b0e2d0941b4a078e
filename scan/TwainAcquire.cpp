// The modal acquisition of TwainSession: enabling the source, the event
// loop, and memory transfers of pages into 1-bit rasters.
#include <algorithm>
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
    pagesRead_ = 0;
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
            // A source that closes before its first page says why (an empty
            // feeder, a jam, an open cover) in its condition code.
            if (pagesRead_ == 0) noteClosingCondition();
            break;
        }
    }
    host_.enableWindow(true);
    disableSource();
    return result;
}

void TwainSession::noteClosingCondition() {
    TW_STATUS status{};
    if (callSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status) != TWRC_SUCCESS || status.ConditionCode == TWCC_SUCCESS)
        return;
    if (errorCode_ != 0) return;
    errorCode_ = twainerrors::kSourceOperation;
    errorRc_ = TWRC_FAILURE;
    errorCc_ = status.ConditionCode;
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
    // A length of -1 (a hand scanner, a feeder that measures the sheet) is
    // known once the data has ended.
    const int32_t width = info_.ImageWidth & ~7;
    const bool unknownLength = info_.ImageLength == -1;
    const int32_t length = info_.ImageLength & ~7;
    if (width <= 0 || width > PageRaster::kMaxSide || (!unknownLength && (length <= 0 || length > PageRaster::kMaxSide)))
        return refusePage(kDepthRefused, client);
    ++pagesRead_;
    bool done = false;
    if (unknownLength) {
        done = receiveUnknownLength(page, setup, width);
    } else if (!page.create(width, length, int32_t(fromFix32(info_.XResolution) + 0.5))) {
        messages_.warning(kErrorCaption, "Insufficient Memory");
    } else {
        done = receiveStrips(page, setup);
    }
    host_.pageRead();
    endTransfer(done, client);
    return done;
}

// One DAT_IMAGEMEMXFER into `buffer`, the record set to "don't care" as the
// source expects it.
uint16_t TwainSession::nextStrip(std::vector<uint8_t>& buffer, uint32_t length, TW_IMAGEMEMXFER& transfer) {
    transfer = TW_IMAGEMEMXFER{};
    transfer.Compression = TWON_DONTCARE16;
    transfer.BytesPerRow = transfer.Columns = transfer.Rows = TWON_DONTCARE32;
    transfer.XOffset = transfer.YOffset = transfer.BytesWritten = TWON_DONTCARE32;
    transfer.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
    transfer.Memory.Length = length;
    transfer.Memory.TheMem = buffer.data();
    const uint16_t rc = callSource(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &transfer);
    if (rc == TWRC_FAILURE) recordError(twainerrors::kSourceOperation);
    if (rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) state_ = 7;
    return rc;
}

// Keeps the strips as they come and sizes the page when the data ends.
bool TwainSession::receiveUnknownLength(PageRaster& page, const TW_SETUPMEMXFER& setup, int32_t width) {
    // The TWAIN records are packed: their fields are read by value.
    const uint32_t offered = setup.Preferred;
    const uint32_t preferred = std::min(offered != 0 && offered != TWON_DONTCARE32 ? offered : kDefaultBuffer, kMaxBuffer);
    struct Strip {
        StripLayout layout;
        std::vector<uint8_t> bytes;
    };
    std::vector<Strip> strips;
    std::vector<uint8_t> buffer(size_t(preferred) + kBufferSlack);
    int64_t rows = 0;
    if (!host_.readingPage(pagesRead_, 0, -1)) return false;
    for (;;) {
        TW_IMAGEMEMXFER transfer;
        const uint16_t rc = nextStrip(buffer, preferred, transfer);
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) return false;
        const uint32_t written = std::min(TW_UINT32(transfer.BytesWritten), preferred);
        strips.push_back({{transfer.BytesPerRow, transfer.Columns, transfer.Rows, transfer.XOffset, transfer.YOffset,
                           transfer.BytesWritten},
                          std::vector<uint8_t>(buffer.begin(), buffer.begin() + written)});
        rows += transfer.Rows;
        if (rows > PageRaster::kMaxSide) return false;
        if (rc == TWRC_XFERDONE) break;
        if (!host_.readingPage(pagesRead_, int(rows), -1)) return false;
    }
    const int32_t length = int32_t(rows) & ~7;
    if (length <= 0) {
        messages_.message(kDepthRefused);
        return false;
    }
    if (!page.create(width, length, int32_t(fromFix32(info_.XResolution) + 0.5))) {
        messages_.warning(kErrorCaption, "Insufficient Memory");
        return false;
    }
    StripWriter writer(page, gray_, info_.BitsPerPixel, threshold_, xeroxTwain_);
    for (const Strip& strip : strips) writer.store(strip.bytes, strip.layout);
    return true;
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
        messages_.warning(kErrorCaption, "Insufficient Memory");
        return false;
    }
    StripWriter writer(page, gray_, info_.BitsPerPixel, threshold_, xeroxTwain_);
    int rows = 0;
    if (!host_.readingPage(pagesRead_, 0, page.height)) return false;
    for (;;) {
        TW_IMAGEMEMXFER transfer;
        const uint16_t rc = nextStrip(buffer, preferred, transfer);
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) return false;
        const StripLayout strip{transfer.BytesPerRow, transfer.Columns, transfer.Rows,
                                transfer.XOffset,     transfer.YOffset, transfer.BytesWritten};
        writer.store(std::span<const uint8_t>(buffer.data(), preferred), strip);
        if (rc == TWRC_XFERDONE) return true;
        const uint32_t stripRows = transfer.Rows;  // a copy: the TWAIN record is packed, its fields unaligned
        rows = std::min(rows + int(std::min<uint32_t>(stripRows, uint32_t(page.height))), page.height);
        // Between strips the window answers and the user may cancel the page.
        if (!host_.readingPage(pagesRead_, rows, page.height)) return false;
    }
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
