#include "fax/FaxSendJob.h"

#include <algorithm>
#include <optional>

#include "base/Messages.h"
#include "base/Settings.h"
#include "document/PageWord.h"
#include "fax/Class2Transmitter.h"
#include "fax/FaxJobPages.h"
#include "fax/FaxProgress.h"
#include "fax/FaxTexts.h"
#include "fax/ModemLink.h"

namespace lumipage {

namespace {

constexpr int kTick = 100;
constexpr int kResultShown = 3000;

// Hands the row being sent to the progress window.
class RowProgress : public FaxRowProgress {
public:
    explicit RowProgress(FaxProgress& progress) : progress_(progress) {}
    void showRow(int32_t row) override { progress_.showRow(row); }

private:
    FaxProgress& progress_;
};

}  // namespace

void FaxSendValues::takeSettings(const Settings& s) {
    localId = s.localId;
    port = s.commPort;
    devices = s.comDevices;
    baudRate = s.baudRate;
    dialMethod = s.dyalType == 'P' ? 'P' : 'T';
    sort = s.chkSort != 0;
    modemVolume = s.modemVolume != 0;
    volume = s.volume;
}

void FaxSendValues::storeSettings(Settings& s) const {
    s.localId = localId;
    s.commPort = port;
    for (size_t i = 0; i < devices.size(); ++i)
        if (!devices[i].empty()) s.comDevices[i] = devices[i];  // none named: the port keeps its device
    s.baudRate = baudRate;
    s.dyalType = dialMethod == 'T' ? 'T' : 'P';
    s.chkSort = sort ? 1 : 0;
    s.modemVolume = modemVolume ? 1 : 0;
    s.volume = volume;
}

FaxSendJob::FaxSendJob(ModemLink& link, Class2Transmitter& fax, FaxSendUi& ui, FaxJobPages& pages,
                       Messages& messages, Settings& settings)
    : link_(link), fax_(fax), ui_(ui), pages_(pages), messages_(messages), settings_(settings) {}

void FaxSendJob::step(std::string_view text) {
    lastStep_ = text;
    if (progress_) progress_->showStep(text);
}

// A pause that keeps the window responsive.
void FaxSendJob::wait(int ms) {
    for (int left = ms; left > 0; left -= kTick) {
        link_.pollUser();
        link_.pause(kTick);
    }
}

bool FaxSendJob::checks(const FaxSendValues& values) {
    if (values.number.empty()) {
        messages_.message(std::string(faxtext::kNoNumber));
        return false;
    }
    if (link_.portSubtype(values.port) != ModemLink::kPortSerial) {
        std::string text(faxtext::kPortUnusable);
        text[3] = char('0' + std::clamp(values.port, 0, 9));
        messages_.message(faxtext::withProblem(text, link_.portProblem(values.port)));
        return false;
    }
    if (!link_.openPort(values.port, kSetUpSpeed)) {
        messages_.message(faxtext::withProblem(std::string(faxtext::kCannotOpenPort), link_.portProblem(values.port)));
        return false;
    }
    return true;
}

// Opens the progress window and sets the modem up, offering to try again;
// false when the user gives up (the port is closed then).
bool FaxSendJob::setUp(const FaxSendValues& values) {
    for (;;) {
        progress_ = &ui_.openProgress();
        link_.clearAbort();
        step(faxtext::kStepInitialising);
        fax_.setLocalId(values.localId);
        fax_.setSpeedLimit(values.baudRate);
        fax_.setProgress(progress_);
        if (fax_.startClass2()) return true;
        ui_.closeProgress();
        progress_ = nullptr;
        if (!ui_.askRetry(link_.setupError)) {
            link_.closePort();
            return false;
        }
    }
}

bool FaxSendJob::waitToRedial(int minutes) {
    progress_->showDialNow(true);
    step(faxtext::kStepRedialWait);
    for (ticks_ = minutes * kTicksPerMinute; ticks_ > 0; --ticks_) {
        if (ticks_ % 10 == 0) progress_->showSecondsLeft(ticks_ / 10);
        if (link_.pollUser()) break;
        link_.pause(kTick);
    }
    progress_->showDialNow(false);
    progress_->showSecondsLeft(std::nullopt);
    return !link_.abortRequested();
}

// Dials until the call is made or no redial is left; false without a call.
bool FaxSendJob::dial(const FaxSendValues& values) {
    int redialsLeft = std::clamp(values.redials, 0, FaxSendValues::kMaxRedials);
    for (;;) {
        step(faxtext::kStepDialling);
        progress_->showNumber(values.number);
        if (fax_.dialFax(values.number, values.dialMethod)) return true;
        if (link_.abortRequested()) return false;
        step(link_.callResultText);
        wait(kResultShown);
        if (redialsLeft == 0) {
            step(faxtext::kStepNotConnected);
            progress_->beep(Beep::Warning);
            wait(kResultShown);
            return false;
        }
        --redialsLeft;
        if (!waitToRedial(std::clamp(values.waitMinutes, 1, FaxSendValues::kMaxWaitMinutes))) return false;
    }
}

void FaxSendJob::run(FaxSendValues& values) {
    pagesSent_ = 0;
    jobError_ = false;
    lastStep_.clear();
    const int range = pages_.rangePages();
    if (range <= 0) return;
    for (;;) {
        // The page range is the dialog's own: it opens on the whole range.
        values.startPage = 1;
        values.endPage = range;
        if (!ui_.askSendValues(values, range)) return;
        values.storeSettings(settings_);
        link_.setDevices(settings_.comDevices);
        link_.probePorts();
        if (checks(values) && setUp(values)) break;
    }
    if (!values.modemVolume) link_.setSpeakerVolume(values.volume);
    pages_.enableMainWindow(false);
    link_.clearAbort();
    if (dial(values)) {
        progress_->showStation(fax_.calledStation);
        step(faxtext::kStepPreparing);
        pages_.saveView();
        const int first = std::clamp(values.startPage, 1, range);
        sendRange(first, std::clamp(values.endPage, first, range));
        if (link_.abortRequested() || jobError_) {
            step(link_.abortRequested() ? faxtext::kStepAborted : faxtext::kStepError);
            progress_->beep(Beep::Warning);
        } else {
            step(faxtext::kStepDone);
            progress_->beep(Beep::Information);
        }
        pages_.restoreView();
        fax_.hangUp();
        wait(kResultShown);
    }
    fax_.restoreClass();
    pages_.enableMainWindow(true);
    fax_.setProgress(nullptr);
    ui_.closeProgress();
    progress_ = nullptr;
    link_.closePort();
}

void FaxSendJob::sendRange(int first, int last) {
    for (int n = first; n <= last; ++n) {
        progress_->showPage(n);
        const bool sent = sendPage(n, n == last);
        if (sent) ++pagesSent_;
        jobError_ = jobError_ || !sent || fax_.pageError;
        showPageResult();
        // A failed page ends the call; a page the receiver found bad does not.
        if (!sent || link_.pollUser()) break;
    }
}

void FaxSendJob::showPageResult() {
    std::string_view text;
    if (!fax_.pageStatusText.empty())
        text = fax_.pageStatusText;
    else if (!fax_.pageResultText.empty())
        text = fax_.pageResultText;
    else if (!fax_.hangUpText.empty())
        text = fax_.hangUpCode > 0 ? std::string_view(fax_.hangUpText)
                                   : (fax_.pageError ? faxtext::kPageBad : faxtext::kPageGood);
    progress_->showPageResult(text);
}

bool FaxSendJob::sendPage(int rangePage, bool lastPage) {
    const int page = pages_.globalPage(rangePage);
    auto failed = [&] {
        fax_.pageError = true;
        pages_.markPage(page, PageWord::kSendError);
        return false;
    };
    step(faxtext::kStepPreparing);
    if (!fax_.beginPage(false)) return failed();
    switch (pages_.showPage(page)) {
        case FaxJobPages::Load::Ok: break;
        case FaxJobPages::Load::ReadError: fax_.pageStatusText = faxtext::kFileReadError; return failed();
        case FaxJobPages::Load::MemoryError: fax_.pageStatusText = faxtext::kMemoryError; return failed();
    }
    const PageRaster* shown = pages_.displayedPage();
    progress_->showFileName(pages_.fileName());
    step(faxtext::kStepSending);
    RowProgress rows(*progress_);
    if (!shown || !scaler_.fitIntoFaxPage(*shown, std::nullopt, std::nullopt, rows, fax_)) return failed();
    step(faxtext::kStepConfirming);
    const bool ok = fax_.endPage(lastPage ? 2 : 0);
    pages_.markPage(page, ok && !fax_.pageError ? PageWord::kSent : PageWord::kSendError);
    return ok;
}

}  // namespace lumipage
