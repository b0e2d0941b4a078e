#include "scan/ScanJob.h"

#include <sys/stat.h>

#include <cstdlib>

#include "base/Messages.h"
#include "comments/CommentFile.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "document/PageWord.h"
#include "platform/FileSystem.h"
#include "scan/ScanPageSaver.h"

namespace lumipage {

using namespace twain;

namespace {

// A name whose extension is ".MH*" stands for any MH page file of that name.
bool nameTaken(const std::string& path) {
    if (path.find('*') != std::string::npos) return !files::search(path).empty();
    return files::exists(path);
}

bool makeFolder(const std::string& folder) {
    return files::isDirectory(folder) || (::mkdir(folder.c_str(), 0700) == 0 && files::isDirectory(folder));
}

}  // namespace

ScanJob::ScanJob(TwainSession& session, CLP98Doc& doc, Messages& messages, ScanJobUi& ui, ScanSettings& kept,
                 std::string faxWorkFolder)
    : session_(session), doc_(doc), messages_(messages), ui_(ui), kept_(kept), faxWorkFolder_(std::move(faxWorkFolder)) {}

std::string ScanJob::targetPath(const ScanSettings& settings) const {
    if (mode_ == ScanMode::Rescan && doc_.isLoaded()) return doc_.path();
    return files::joinPath(settings.folder, settings.targetName());
}

std::string ScanJob::dialogTitle(ScanMode mode, const ScanSettings& settings, bool* executeEnabled) const {
    std::string title = mode == ScanMode::Copy        ? "スキャナ入力・コピー"
                        : mode == ScanMode::ScanToFax ? "スキャナ入力・ＦＡＸ"
                                                      : "スキャナ入力";
    bool enabled = true;
    if (mode != ScanMode::Copy && !settings.targetName().empty()) {
        const std::string path = targetPath(settings);
        if (!nameTaken(path)) {
            title += "（新規）";
        } else if (doc_.table().find(files::absolutePath(path)) != 0) {
            title += "（再スキャン）";
        } else {
            title += "（上書）";
            enabled = settings.overwrite;
        }
        if (path.find('*') == std::string::npos && files::exists(path) && files::isReadOnly(path)) {
            title += "[保護ファイル]";
            enabled = false;
        }
    }
    if (executeEnabled) *executeEnabled = enabled;
    return title;
}

ScanDialogSetup ScanJob::dialogSetup(ScanMode mode, const ScanSettings& settings, const ScanCapabilities& caps) const {
    ScanDialogSetup setup;
    setup.mode = mode;
    setup.title = dialogTitle(mode, settings, &setup.executeEnabled);
    setup.sourceDialogEnabled = mode != ScanMode::Copy && mode != ScanMode::ScanToFax;
    setup.continuousEnabled = mode != ScanMode::ScanToFax;
    setup.sendShown = mode == ScanMode::ScanToFax;
    setup.sendEnabled = setup.sendShown && doc_.table().totalPages() > 0;
    setup.capabilities = &caps;
    setup.paperSizes = scanformulas::offeredPaperSizes(caps.physicalWidth, caps.physicalHeight);
    return setup;
}

bool ScanJob::openSource(ScanCapabilities& caps) {
    for (;;) {
        if (!session_.OpenDefaultSource()) return false;
        caps = ScanCapabilities::read(session_);
        if (caps.physicalWidth != 0) return true;
        session_.CloseSource();
        if (!messages_.askRetryCancel(kInitError)) return false;
    }
}

void ScanJob::run(ScanMode mode, PrinterDialog dialog) {
    if (busy_) return;
    mode_ = mode;
    printerDialog_ = dialog;
    copyPrinted_ = false;
    thresholdDialogOff_ = false;
    pageName_.clear();
    // Scan to fax works on its own values and leaves the kept ones alone.
    ScanSettings faxValues = kept_;
    ScanSettings& settings = mode == ScanMode::ScanToFax ? faxValues : kept_;
    if (mode == ScanMode::ScanToFax) {
        if (!makeFolder(faxWorkFolder_)) {
            messages_.message(kWorkFolderFailed);
            return;
        }
        doc_.closeAll();
        settings.folder = faxWorkFolder_;
        settings.prefix = "FAX-";
        settings.number = "001";
        settings.resolution = "300";
        settings.fileType = ".MH*";
        settings.filter = "全てのｲﾒｰｼﾞﾌｧｲﾙ";
        settings.sourceDialog = false;
        settings.continuous = true;
    }
    if (mode == ScanMode::Copy) settings.sourceDialog = false;
    current_ = &settings;
    busy_ = true;
    ScanCapabilities caps;
    if (openSource(caps)) {
        for (;;) {
            const ScanDialogResult result = ui_.showScanDialog(settings, dialogSetup(mode, settings, caps));
            if (result == ScanDialogResult::Repaint) {
                ui_.pageChanged();
                continue;
            }
            if (result == ScanDialogResult::Send && mode == ScanMode::ScanToFax) {
                sendAndClose();
                break;
            }
            if (result != ScanDialogResult::Execute) break;
            const bool acquired = scanOnce(settings, caps);
            if (mode == ScanMode::Copy && copyPrinted_) break;
            if (acquired && !(settings.continuous && !settings.sourceDialog)) break;
        }
    }
    finish(mode, settings);
}

void ScanJob::sendAndClose() {
    session_.CloseSource();
    ui_.sendAllPages();
    if (doc_.table().closeByMark(PageWord::kSent) == 0) return;
    if (doc_.table().empty()) doc_.empty();
    else doc_.goToPage(1);
}

void ScanJob::finish(ScanMode mode, ScanSettings& settings) {
    session_.CloseSource();
    if (mode == ScanMode::NewFiles && settings.multiPage && doc_.table().totalPages() > 1) ui_.convertAllPages();
    settings.multiPage = false;
    kept_.multiPage = false;
    current_ = nullptr;
    busy_ = false;
}

bool ScanJob::scanOnce(ScanSettings& settings, const ScanCapabilities& caps) {
    setCapabilities(settings, caps);
    session_.setThreshold(settings.threshold);
    const bool acquired = session_.Acquire(page_, *this);
    // A transfer the source broke off (a scanner unplugged, a jam) is said;
    // pages refused for their kind and files that could not be written have
    // been reported already and left no error record.
    if (!acquired && session_.errorCode() != 0) session_.ReportError(kTransferFailed);
    return acquired;
}

void ScanJob::setCapabilities(const ScanSettings& s, const ScanCapabilities& caps) {
    session_.setHideSourceDialog(!s.sourceDialog);
    // The choice is sent either way: a source keeps its feeder on from an
    // earlier run until told otherwise.
    // With the feeder every sheet in it is scanned in one run ("連続" brings
    // the dialog back afterwards), so the source feeds them itself.
    session_.SetCapability(CAP_FEEDERENABLED, TWTY_BOOL, s.feeder ? 1 : 0);
    if (s.feeder) session_.SetCapability(CAP_AUTOFEED, TWTY_BOOL, 1);
    session_.setFeederEnabled(s.feeder);
    const uint16_t types[2] = {TWPT_BW, TWPT_GRAY};
    const auto* typeBytes = reinterpret_cast<const uint8_t*>(types);
    if (s.adjustThreshold) {
        session_.setEnumeration(ICAP_PIXELTYPE, TWTY_UINT16, {typeBytes, sizeof types}, 2, 1);
        session_.SetCapability(ICAP_BITDEPTH, TWTY_UINT16, 8);
    } else {
        session_.setEnumeration(ICAP_PIXELTYPE, TWTY_UINT16, {typeBytes, sizeof types[0]}, 1, 0);
    }
    const double resolution = std::atoi(s.resolution.c_str());
    session_.SetCapability(ICAP_YRESOLUTION, TWTY_FIX32, resolution);
    session_.SetCapability(ICAP_XRESOLUTION, TWTY_FIX32, resolution);
    session_.SetCapability(ICAP_XSCALING, TWTY_FIX32, s.zoom * 0.01);
    session_.SetCapability(ICAP_YSCALING, TWTY_FIX32, s.zoom * 0.01);
    if (s.reduction >= 0 && size_t(s.reduction) < caps.reductions.size()) {
        const ReductionChoice& choice = caps.reductions[size_t(s.reduction)];
        session_.SetCapability(ICAP_BITDEPTHREDUCTION, TWTY_UINT16, choice.method);
        if (choice.halftone >= 0) {
            std::vector<uint8_t> names(caps.halftones.size() * itemSize(TWTY_STR32), 0);
            for (size_t i = 0; i < caps.halftones.size(); ++i)
                caps.halftones[i].copy(reinterpret_cast<char*>(names.data()) + i * itemSize(TWTY_STR32), 33);
            session_.setEnumeration(ICAP_HALFTONES, TWTY_STR32, names, uint32_t(caps.halftones.size()),
                                    uint32_t(choice.halftone));
        }
    }
    setBrightness(s, caps);
    setLayout(s);
}

void ScanJob::setBrightness(const ScanSettings& s, const ScanCapabilities& caps) {
    const int v = s.brightness, lo = s.brightnessMin, hi = s.brightnessMax;
    const bool thresholdMethod = s.reduction < 0 || size_t(s.reduction) >= caps.reductions.size() ||
                                 caps.reductions[size_t(s.reduction)].method == TWBR_THRESHOLD;
    const bool set = thresholdMethod
                         ? session_.SetCapability(ICAP_THRESHOLD, TWTY_FIX32, scanformulas::thresholdFor(v, lo, hi))
                         : session_.SetCapability(ICAP_GAMMA, TWTY_FIX32, 100 * scanformulas::gammaFor(v, lo, hi));
    if (!set) session_.SetCapability(ICAP_BRIGHTNESS, TWTY_FIX32, scanformulas::brightnessFor(v, lo, hi));
}

void ScanJob::setLayout(const ScanSettings& s) {
    double width = s.customWidth, height = s.customHeight;
    if (!s.customSize) {
        if (s.paperSize <= 0 || size_t(s.paperSize) >= scanformulas::kPaperSizes.size()) return;  // the free size sets no frame
        width = scanformulas::kPaperSizes[size_t(s.paperSize)].width;
        height = scanformulas::kPaperSizes[size_t(s.paperSize)].height;
        if (s.landscape) std::swap(width, height);
    }
    const scanformulas::Frame frame = scanformulas::layoutFrame(width, height, s.margins);
    session_.setImageLayout(frame.left, frame.top, frame.right, frame.bottom);
}

// Each transferred page.

bool ScanJob::pageDone(PageRaster& page, bool gray) {
    ScanSettings& s = *current_;
    if (gray && s.adjustThreshold && !thresholdDialogOff_) {
        ThresholdAdjustment adjustment;
        adjustment.threshold = s.threshold;
        adjustment.number = s.number;
        adjustment.fileName = s.targetName();
        // The window shows the page just scanned while it is adjusted.
        adjustment.preview = [this, &page](int threshold) {
            session_.applyThreshold(threshold, page);
            ui_.showScannedPage(&page);
        };
        ui_.showScannedPage(&page);
        ui_.adjustThreshold(adjustment);
        s.threshold = adjustment.threshold;
        session_.applyThreshold(s.threshold, page);
        ui_.showScannedPage(nullptr);
        thresholdDialogOff_ = adjustment.dontShowAgain;
        s.number = adjustment.number;
        if (!adjustment.fileName.empty() && adjustment.fileName != s.targetName()) pageName_ = adjustment.fileName;
    }
    turnIfAsked(page);
    if (mode_ == ScanMode::Copy) {
        if (!doc_.newPage(std::move(page), "コピー", "コピー", true)) return false;
        const bool printed = ui_.printCopy(printerDialog_);
        doc_.closeCurrent();
        copyPrinted_ = true;
        return printed;
    }
    return keepPage(page);
}

// "90度回転": a sheet laid on its side is kept upright.
void ScanJob::turnIfAsked(PageRaster& page) {
    if (!current_->rotate90 || !PageRaster::quarterTurnClockwise(page, turned_)) return;
    std::swap(page, turned_);
}

bool ScanJob::keepPage(PageRaster& page) {
    ScanSettings& s = *current_;
    const std::string target = pageName_.empty() ? targetPath(s) : files::joinPath(s.folder, pageName_);
    pageName_.clear();
    const std::string path = ScanPageSaver::concretePath(target, page.dpi);
    if (!ScanPageSaver::save(path, page, messages_)) return false;
    // The document reads further pages of a page file with the coding its
    // raster carries, so the raster must describe the file just written.
    page.coding = ScanPageSaver::storedCoding(path);
    if (!doc_.newPage(std::move(page), s.title, path, false)) return false;
    if (!s.title.empty()) CommentFile::setTitle(files::absolutePath(path), 0, s.title, messages_);
    if (s.numbered) doc_.goToPage(doc_.table().totalPages());
    ui_.pageChanged();
    return true;
}

void ScanJob::advanceName() {
    ScanSettings& s = *current_;
    if (mode_ == ScanMode::Copy) return;
    scanformulas::nextFileName(s.folder, s.prefix, s.number, s.fileType, s.overwrite, nameTaken);
}

}  // namespace lumipage
