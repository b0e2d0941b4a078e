#include "twaindsm/SaneSource.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "twain/TwainContainer.h"
#include "twain/TwainUnits.h"
#include "twaindsm/SaneConditions.h"
#include "twaindsm/SourceDialog.h"

namespace lumipage::twaindsm {

using namespace twain;

namespace {

// The program's own conversion, so that a frame and the glass's size
// come back in the millimetres they were given in.
constexpr uint32_t kPreferredBuffer = 64 * 1024;
// How long a frame stopped part way is read on before it is cancelled.
constexpr std::chrono::seconds kDrainTime{3};
// How long one memory transfer waits for rows before it returns what it
// has, so that the window answers while a slow device sends.
constexpr std::chrono::milliseconds kTransferWait{100};
// How long a request for the device's options waits for a read in progress.
constexpr std::chrono::seconds kDeviceWait{2};

}  // namespace

SaneSource::SaneSource(SANE_Handle handle, TW_IDENTITY identity)
    : handle_(handle), options_(handle), identity_(identity) {
    defaultResolution_ = options_.number(options_.find("resolution")).value_or(0);
    defaultBrightness_ = options_.number(options_.find("brightness"));
    applyPixelType();
}

SaneSource::~SaneSource() {
    stopFrame();
    if (!wedged_) sane_close(handle_);
}

SaneSource::Rc SaneSource::fail(TW_UINT16 condition) {
    condition_ = condition;
    return TWRC_FAILURE;
}

TW_UINT16 SaneSource::entry(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (!data) return fail(TWCC_BADVALUE);
    // Capabilities and the layout read the device's options: while a frame
    // is read they wait for the reader to be out of sane_read, for a while.
    std::unique_lock<std::timed_mutex> deviceLock;
    if (reader_ && (dat == DAT_CAPABILITY || dat == DAT_IMAGELAYOUT)) {
        deviceLock = std::unique_lock(reader_->device(), kDeviceWait);
        if (!deviceLock.owns_lock()) return fail(TWCC_DEVICEBUSY);
    }
    if (dg == DG_CONTROL) {
        switch (dat) {
        case DAT_CAPABILITY: return capability(msg, *static_cast<TW_CAPABILITY*>(data));
        case DAT_EVENT:
            if (msg != MSG_PROCESSEVENT) return fail(TWCC_BADPROTOCOL);
            return processEvent(*static_cast<TW_EVENT*>(data));
        case DAT_USERINTERFACE: return userInterface(msg, *static_cast<TW_USERINTERFACE*>(data));
        case DAT_PENDINGXFERS: return pendingTransfers(msg, *static_cast<TW_PENDINGXFERS*>(data));
        case DAT_SETUPMEMXFER: {
            if (state_ < 6) return fail(TWCC_SEQERROR);
            auto& setup = *static_cast<TW_SETUPMEMXFER*>(data);
            const uint32_t row = uint32_t(std::max(params_.bytes_per_line, 1));
            setup.MinBufSize = row;
            setup.MaxBufSize = std::max(row, 16 * kPreferredBuffer);
            setup.Preferred = std::max(row, kPreferredBuffer);
            return TWRC_SUCCESS;
        }
        case DAT_STATUS: {
            static_cast<TW_STATUS*>(data)->ConditionCode = condition_;
            condition_ = TWCC_SUCCESS;
            return TWRC_SUCCESS;
        }
        default: return fail(TWCC_BADPROTOCOL);
        }
    }
    if (dg == DG_IMAGE) {
        switch (dat) {
        case DAT_IMAGEINFO:
            if (msg != MSG_GET) return fail(TWCC_BADPROTOCOL);
            return imageInfo(*static_cast<TW_IMAGEINFO*>(data));
        case DAT_IMAGELAYOUT: return imageLayout(msg, *static_cast<TW_IMAGELAYOUT*>(data));
        case DAT_IMAGEMEMXFER:
            if (msg != MSG_GET) return fail(TWCC_BADPROTOCOL);
            return memoryTransfer(*static_cast<TW_IMAGEMEMXFER*>(data));
        case DAT_IMAGENATIVEXFER:
            if (msg != MSG_GET) return fail(TWCC_BADPROTOCOL);
            return nativeTransfer(*static_cast<TW_HANDLE*>(data));
        default: return fail(TWCC_BADPROTOCOL);
        }
    }
    return fail(TWCC_BADPROTOCOL);
}

// States 4 to 7.

SaneSource::Rc SaneSource::userInterface(TW_UINT16 msg, const TW_USERINTERFACE& ui) {
    if (msg == MSG_ENABLEDS) {
        if (state_ != 4) return fail(TWCC_SEQERROR);
        state_ = 5;
        transferred_ = 0;
        closeRequested_ = false;
        showUi_ = ui.ShowUI != 0;
        startPending_ = !showUi_ || askToScan();
        return TWRC_SUCCESS;
    }
    if (msg == MSG_DISABLEDS) {
        if (state_ != 5) return fail(TWCC_SEQERROR);
        stopFrame();
        state_ = 4;
        startPending_ = false;
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

// The dialog's answer: scan (or no dialog could be shown), or cancelled.
bool SaneSource::askToScan() {
    return showSourceDialog(handle_, reinterpret_cast<const char*>(identity_.ProductName)) !=
           SourceDialogAnswer::Cancelled;
}

SaneSource::Rc SaneSource::processEvent(TW_EVENT& event) {
    event.TWMessage = MSG_NULL;
    if (state_ != 5) return TWRC_NOTDSEVENT;
    // Pages done and the source still enabled: its dialog comes back for the next.
    if (!startPending_ && showUi_ && transferred_ > 0 && !closeRequested_) startPending_ = askToScan();
    if (startPending_) {
        startPending_ = false;
        if (startFrame()) {
            state_ = 6;
            event.TWMessage = MSG_XFERREADY;
            return TWRC_DSEVENT;
        }
    }
    closeRequested_ = true;
    event.TWMessage = MSG_CLOSEDSREQ;
    return TWRC_DSEVENT;
}

// How many pages are still to come: unknown (0xffff) for a feeder, at
// most what CAP_XFERCOUNT asked for.
TW_UINT16 SaneSource::pendingCount() const {
    if (state_ < 6) return 0;
    if (transferCount_ < 0) return 0xffff;
    return TW_UINT16(std::max(transferCount_ - transferred_, 0));
}

// A feeder with CAP_AUTOFEED on takes the next sheet as soon as a page has
// ended, so that the count tells whether one is there.
bool SaneSource::feedNext() {
    if (!feeder_ || !autoFeed_) return false;
    if (transferCount_ >= 0 && transferred_ >= transferCount_) return false;
    if (startFrame()) return true;
    // Running out of sheets after some pages is how a feeder run ends.
    if (condition_ == TWCC_NOMEDIA) condition_ = TWCC_SUCCESS;
    return false;
}

SaneSource::Rc SaneSource::pendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS& pending) {
    if (msg == MSG_GET) {
        pending.Count = pendingCount();
        return TWRC_SUCCESS;
    }
    if (msg == MSG_ENDXFER) {
        if (state_ < 6) return fail(TWCC_SEQERROR);
        stopFrame();
        ++transferred_;
        if (feedNext()) {
            state_ = 6;
            pending.Count = pendingCount();
        } else {
            pending.Count = 0;
            state_ = 5;
        }
        return TWRC_SUCCESS;
    }
    if (msg == MSG_RESET) {
        if (state_ != 6) return fail(TWCC_SEQERROR);
        stopFrame();
        pending.Count = 0;
        state_ = 5;
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

// Frames.

bool SaneSource::startFrame() {
    // Read before the scan starts: many backends refuse their options while
    // they scan (SANE_STATUS_DEVICE_BUSY).
    frameDpi_ = options_.number(options_.find("resolution")).value_or(0);
    scaleResolution();
    const SANE_Status status = sane_start(handle_);
    if (status != SANE_STATUS_GOOD) {
        condition_ = conditionFor(status);
        sane_cancel(handle_);
        restoreResolution();
        return false;
    }
    if (sane_get_parameters(handle_, &params_) != SANE_STATUS_GOOD || params_.bytes_per_line <= 0 ||
        params_.pixels_per_line <= 0) {
        condition_ = TWCC_OPERATIONERROR;
        sane_cancel(handle_);
        restoreResolution();
        return false;
    }
    scanning_ = true;
    rowsDone_ = 0;
    row_.assign(size_t(params_.bytes_per_line), 0);
    rowFill_ = 0;
    reader_ = std::make_unique<SaneReader>(SaneReader::Device{handle_, sane_read, sane_cancel});
    bilevel_.start(size_t(params_.pixels_per_line));
    return true;
}

// A scaled page is scanned at the resolution set times the scale; its
// frame keeps the resolution set, so that it comes out larger or smaller.
void SaneSource::scaleResolution() {
    const int option = options_.find("resolution");
    if (!option || std::fabs(scale_ - 1.0) < 1e-3 || frameDpi_ <= 0) return;
    const double nominal = frameDpi_;
    if (!options_.setNumber(option, nominal * scale_)) return;
    resolutionToRestore_ = nominal;
    frameDpi_ = options_.number(option).value_or(nominal * scale_) / scale_;
}

void SaneSource::restoreResolution() {
    if (!resolutionToRestore_) return;
    options_.setNumber(options_.find("resolution"), *resolutionToRestore_);
    resolutionToRestore_.reset();
}

// A frame stopped part way is first read on to its end, for a short while at
// most: backends that read through a thread of their own (SANE's sanei_thread)
// cancel it asynchronously, and a thread cancelled inside the allocator leaves
// it locked, so that sane_cancel then waits forever. Once the data has ended
// the thread has ended too.
void SaneSource::stopFrame() {
    if (!scanning_) return;
    scanning_ = false;
    const bool released = reader_->stop(kDrainTime);
    reader_.reset();
    if (!released) {
        wedged_ = true;
        return;
    }
    sane_cancel(handle_);
    restoreResolution();
}

SaneSource::Rc SaneSource::imageInfo(TW_IMAGEINFO& info) {
    if (state_ != 6) return fail(TWCC_SEQERROR);
    info = TW_IMAGEINFO{};
    info.XResolution = info.YResolution = toFix32(frameDpi_);
    info.ImageWidth = params_.pixels_per_line;
    info.ImageLength = params_.lines;  // -1 when the device does not know it
    const bool colour = params_.format != SANE_FRAME_GRAY;
    info.SamplesPerPixel = colour ? 3 : 1;
    const int depth = ownThreshold_ ? 1 : std::min(params_.depth, 8);
    for (int i = 0; i < info.SamplesPerPixel; ++i) info.BitsPerSample[i] = TW_INT16(depth);
    info.BitsPerPixel = TW_INT16(depth * info.SamplesPerPixel);
    info.PixelType = TW_INT16(colour ? TWPT_RGB : depth == 1 ? TWPT_BW : TWPT_GRAY);
    info.Compression = 0;
    return TWRC_SUCCESS;
}

void SaneSource::convertRow(const std::vector<uint8_t>& in, uint8_t* out, int y) {
    const size_t width = size_t(params_.pixels_per_line);
    if (ownThreshold_) {
        bilevel_.row(in.data(), out, y);
    } else if (params_.format == SANE_FRAME_GRAY && params_.depth == 1) {
        // SANE's bilevel data has 1 for black.
        for (size_t i = 0; i < (width + 7) / 8; ++i) out[i] = uint8_t(~in[i]);
    } else if (params_.format == SANE_FRAME_GRAY && params_.depth == 16) {
        for (size_t x = 0; x < width; ++x) {
            uint16_t sample;
            std::memcpy(&sample, &in[x * 2], 2);
            out[x] = uint8_t(sample >> 8);
        }
    } else {
        std::memcpy(out, in.data(), in.size());
    }
}

uint32_t SaneSource::rowBytes() const {
    const SANE_Parameters& p = params_;
    if (ownThreshold_ || (p.format == SANE_FRAME_GRAY && p.depth == 1)) return uint32_t(p.pixels_per_line + 7) / 8;
    if (p.format == SANE_FRAME_GRAY && p.depth == 16) return uint32_t(p.pixels_per_line);
    return uint32_t(p.bytes_per_line);
}

bool SaneSource::readRow(SANE_Status& status, std::chrono::steady_clock::time_point until) {
    status = SANE_STATUS_GOOD;
    if (!reader_) {
        status = SANE_STATUS_IO_ERROR;
        return false;
    }
    while (rowFill_ < row_.size()) {
        const size_t got = reader_->read(row_.data() + rowFill_, row_.size() - rowFill_, until, status);
        rowFill_ += got;
        if (rowFill_ == row_.size()) break;
        if (status != SANE_STATUS_GOOD || got == 0) return false;
    }
    rowFill_ = 0;
    status = SANE_STATUS_GOOD;  // if the data ended with this row, the next read says so
    return true;
}

SaneSource::Rc SaneSource::memoryTransfer(TW_IMAGEMEMXFER& transfer) {
    if (state_ != 6 && state_ != 7) return fail(TWCC_SEQERROR);
    const uint32_t outRow = rowBytes();
    if (!transfer.Memory.TheMem || transfer.Memory.Length < outRow) return fail(TWCC_BADVALUE);
    state_ = 7;
    auto* out = static_cast<uint8_t*>(transfer.Memory.TheMem);
    const uint32_t fit = transfer.Memory.Length / outRow;
    uint32_t rows = 0;
    SANE_Status status = SANE_STATUS_GOOD;
    const bool known = params_.lines >= 0;
    const auto until = std::chrono::steady_clock::now() + kTransferWait;
    while (rows < fit && (!known || rowsDone_ + int(rows) < params_.lines)) {
        if (!readRow(status, until)) break;
        convertRow(row_, out + size_t(rows) * outRow, rowsDone_ + int(rows));
        ++rows;
    }
    transfer.Compression = 0;
    transfer.BytesPerRow = outRow;
    transfer.Columns = uint32_t(params_.pixels_per_line);
    transfer.Rows = rows;
    transfer.XOffset = 0;
    transfer.YOffset = uint32_t(rowsDone_);
    transfer.BytesWritten = rows * outRow;
    rowsDone_ += int(rows);
    if (status != SANE_STATUS_GOOD && status != SANE_STATUS_EOF) return readFailed(status);
    const bool finished = status == SANE_STATUS_EOF || (known && rowsDone_ >= params_.lines);
    return finished ? TWRC_XFERDONE : TWRC_SUCCESS;
}

SaneSource::Rc SaneSource::readFailed(SANE_Status status) {
    if (status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
    return fail(conditionFor(status));
}

// The whole page at once as a device-independent bitmap: the header, the
// colour table (black and white, or 256 grays) and the rows bottom-up, each
// padded to four bytes. The handle becomes the application's.
SaneSource::Rc SaneSource::nativeTransfer(TW_HANDLE& bitmap) {
    if (state_ != 6) return fail(TWCC_SEQERROR);
    state_ = 7;
    const uint32_t rowBytes = this->rowBytes();
    std::vector<uint8_t> image;
    SANE_Status status = SANE_STATUS_GOOD;
    const bool known = params_.lines >= 0;
    int rows = 0;
    // The whole page in one call: the window waits for it.
    for (;;) {
        if (known && rows >= params_.lines) break;
        if (!readRow(status, std::chrono::steady_clock::now() + std::chrono::hours(1))) {
            if (status == SANE_STATUS_GOOD) continue;
            break;
        }
        image.resize(image.size() + rowBytes);
        convertRow(row_, image.data() + image.size() - rowBytes, rows);
        ++rows;
    }
    if (status != SANE_STATUS_GOOD && status != SANE_STATUS_EOF) {
        state_ = 6;
        return readFailed(status);
    }
    const int bits = ownThreshold_ || params_.depth == 1 ? 1 : 8;
    const uint32_t colours = bits == 1 ? 2 : 256;
    const uint32_t stride = (rowBytes + 3) & ~3u;
    const size_t header = 40 + 4 * size_t(colours);
    auto* block = static_cast<uint8_t*>(std::calloc(1, header + size_t(stride) * size_t(rows)));
    if (!block) {
        state_ = 6;
        return fail(TWCC_LOWMEMORY);
    }
    auto put = [block](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) block[at + size_t(i)] = uint8_t(value >> (8 * i));
    };
    const uint32_t perMetre = uint32_t(std::lround(frameDpi_ * 10000 / 254));
    put(0, 40, 4);
    put(4, uint32_t(params_.pixels_per_line), 4);
    put(8, uint32_t(rows), 4);
    put(12, 1, 2);
    put(14, uint32_t(bits), 2);
    put(20, stride * uint32_t(rows), 4);
    put(24, perMetre, 4);
    put(28, perMetre, 4);
    put(32, colours, 4);
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t level = uint8_t(colours == 2 ? i * 255 : i);  // TWAIN's bilevel 0 is black
        block[40 + 4 * i] = block[41 + 4 * i] = block[42 + 4 * i] = level;
    }
    for (int y = 0; y < rows; ++y)
        std::memcpy(block + header + size_t(rows - 1 - y) * stride, image.data() + size_t(y) * rowBytes, rowBytes);
    bitmap = block;
    return TWRC_XFERDONE;
}

// The frame on the glass, in inches.
SaneSource::Rc SaneSource::imageLayout(TW_UINT16 msg, TW_IMAGELAYOUT& layout) {
    const int ids[4] = {options_.find("tl-x"), options_.find("tl-y"), options_.find("br-x"), options_.find("br-y")};
    const double dpi = options_.number(options_.find("resolution")).value_or(300);
    auto scale = [&](int id) { return options_.unit(id) == SANE_UNIT_PIXEL ? dpi : kMillimetresPerInch; };
    TW_FIX32* edges[4] = {&layout.Frame.Left, &layout.Frame.Top, &layout.Frame.Right, &layout.Frame.Bottom};
    if (msg == MSG_GET || msg == MSG_GETCURRENT) {
        for (int i = 0; i < 4; ++i) *edges[i] = toFix32(options_.number(ids[i]).value_or(0) / scale(ids[i]));
        layout.DocumentNumber = layout.PageNumber = layout.FrameNumber = 1;
        return TWRC_SUCCESS;
    }
    if (msg != MSG_SET) return fail(TWCC_BADPROTOCOL);
    if (state_ != 4) return fail(TWCC_SEQERROR);
    if (!ids[0] || !ids[1] || !ids[2] || !ids[3]) return fail(TWCC_BADPROTOCOL);
    bool exact = true;
    for (int i = 0; i < 4; ++i) exact &= options_.setNumber(ids[i], fromFix32(*edges[i]) * scale(ids[i]));
    return exact ? TWRC_SUCCESS : TWRC_CHECKSTATUS;
}

}  // namespace lumipage::twaindsm
