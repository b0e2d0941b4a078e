#include "fax/Class2Transmitter.h"

#include <algorithm>
#include <new>

#include "fax/DialCommand.h"
#include "fax/FaxProgress.h"
#include "fax/FaxTexts.h"

namespace lumipage {

namespace {

// Positions of the single-digit values in a T.30 parameter list
// "VR,BR,WD,LN,DF,EC,BF,ST" as the class 2 commands write it.
constexpr size_t kVR = 0, kBR = 2, kWD = 4, kLN = 6, kDF = 8, kEC = 10, kBF = 12, kST = 14;
constexpr std::string_view kNoParameters = "0,0,0,0,0,0,0,0";
constexpr size_t kLocalIdLength = 20;
constexpr uint8_t kXon = 0x11;
constexpr uint8_t kXoff = 0x13;

constexpr int kEchoWait = 1000;
constexpr int kLongEchoWait = 10000;  // AT+FDT and AT+FK
constexpr int kHangUpEchoWait = 3000;
constexpr int kDialWait = 100000;
constexpr int kPageStartWait = 30000;
constexpr int kCallWait = 20000;
constexpr int kPageEndWait = 10000;
constexpr int kInterruptWait = 3000;

// A parameter list that stops early is completed with zero values so that
// every position exists.
void completeParameters(std::string& list) {
    if (list.size() < kNoParameters.size()) list += kNoParameters.substr(list.size());
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Class2Transmitter::Class2Transmitter(ModemLink& link, size_t ringSize) : link_(link), ringSize_(ringSize) {}

bool Class2Transmitter::classifyFax(std::string_view line, ResponseKind& kind) {
    const ModemResponse r = parseFaxResponse(line);
    kind = r.kind;
    switch (r.kind) {
        case ResponseKind::Error: return false;
        case ResponseKind::HangUp:
            link_.callStatus = CallStatus::Ended;
            hangUpCode = r.number;
            if (hangUpCode != 0) pageError = true;
            hangUpText = "ERR:" + std::to_string(hangUpCode);
            break;
        case ResponseKind::NoCarrier:  // the line dropped: the call is over and the page lost
            link_.callStatus = CallStatus::Ended;
            pageError = true;
            break;
        case ResponseKind::PostPageStatus: {
            postPageStatus = r.number;
            static constexpr std::string_view kTexts[] = {faxtext::kPageBad,          faxtext::kPageGood,
                                                          faxtext::kPageBadRetrain,   faxtext::kPageGoodRetrain,
                                                          faxtext::kPageBadOperator,  faxtext::kPageGoodOperator};
            if (r.number >= 0 && r.number <= 5) {
                pageResultText = kTexts[r.number];
                if (r.number % 2 == 0) pageError = true;
            }
            break;
        }
        case ResponseKind::TransmittingStation: transmittingStation = r.value; break;
        case ResponseKind::CalledStation: calledStation = r.value; break;
        case ResponseKind::ReceiverCapabilities:
            pageParameters = r.value;
            completeParameters(pageParameters);
            break;
        case ResponseKind::Negotiated: negotiated = r.value; break;
        default: break;
    }
    return true;
}

std::optional<ResponseKind> Class2Transmitter::readFaxResponse(int waitMs) {
    const std::optional<std::string> line = link_.readLine(waitMs);
    ResponseKind kind = ResponseKind::None;
    if (!line || !classifyFax(*line, kind)) return std::nullopt;
    return kind;
}

void Class2Transmitter::readUntilOk(int waitMs) {
    for (;;) {
        const std::optional<ResponseKind> kind = readFaxResponse(waitMs);
        if (!kind || *kind == ResponseKind::Ok) return;
    }
}

// The local id as the modem takes it: twenty characters, cut or filled with blanks.
std::string Class2Transmitter::paddedLocalId() const {
    std::string id = localId_.substr(0, std::min(localId_.size(), kLocalIdLength));
    id.resize(kLocalIdLength, ' ');
    return id;
}

bool Class2Transmitter::startClass2() {
    link_.setupError.clear();
    dialect_ = FaxDialect::Class2;
    if (!link_.initialise(9600)) return false;
    const std::optional<std::string> classes = link_.query("AT+FCLASS=?");
    if (!classes) {
        link_.setupError = faxtext::kFaxCommandsInvalid;
        return false;
    }
    const std::optional<FaxClassChoice> choice = chooseFaxClass(*classes);
    if (!choice) {
        link_.setupError = faxtext::kClass2Invalid;
        return false;
    }
    class_ = *choice;
    link_.setupError = faxtext::kFaxInitError;
    const std::optional<std::string> current = link_.query("AT+FCLASS?");
    if (!current || (savedClass_ = currentFaxClass(*current)).empty()) return false;
    if (class_.dialect == FaxDialect::Class20) return startClass20();
    if (!link_.command("AT+FCLASS=2") || !link_.command("AT+FBOR=0")) return false;
    if (!link_.command("AT+FLID=\"" + paddedLocalId() + "\"")) return false;
    const std::optional<std::string> dcc = link_.query("AT+FDCC?");
    // A list too short to hold every value is refused rather than patched.
    if (!dcc || dcc->empty() || !isDigit(dcc->front()) || dcc->size() <= kST) return false;
    std::string list = *dcc;
    list[kVR] = '1';  // fine: 196 lines per inch
    list[kWD] = '0';  // 1728 pixels
    list[kLN] = '0';  // A4
    list[kDF] = '0';  // one-dimensional modified Huffman
    list[kEC] = '0';  // no error correction
    list[kBF] = '0';  // no binary file transfer
    list[kST] = '1';  // minimum scan line time code 1
    list.resize(kST + 1);
    if (!link_.command("AT+FDCC=" + list)) return false;
    capabilities = list;
    pageParameters = list;
    link_.setupError.clear();
    return true;
}

// The same set-up in the class 2.0 command set. Its values may be longer
// than a digit (a resolution bit mask such as "7F"), so the lists are
// taken apart at the commas; a ninth value (JPEG) is set to none.
bool Class2Transmitter::startClass20() {
    if (!link_.command("AT+FCLASS=" + class_.value) || !link_.command("AT+FBO=0")) return false;
    dialect_ = FaxDialect::Class20;
    link_.command("AT+FLO=1");  // XON/XOFF, as class 2 uses; the port honours both kinds
    if (!link_.command("AT+FLI=\"" + paddedLocalId() + "\"")) return false;
    // The receiver's identity and capabilities and the negotiated session
    // are reported only when asked for.
    link_.command("AT+FNR=1,1,1,1");
    const std::optional<std::string> fcc = link_.query("AT+FCC?");
    if (!fcc) return false;
    std::vector<std::string> values = parameterValues(*fcc);
    if (values.size() < 8 || values[1].empty() || !isDigit(values[1].front())) return false;
    values.resize(std::max<size_t>(values.size(), 8));
    values[0] = "1";  // fine
    for (const size_t i : {2, 3, 4, 5, 6}) values[i] = "0";  // 1728 pixels, A4, MH, no ECM, no BFT
    values[7] = "1";
    for (size_t i = 8; i < values.size(); ++i) values[i] = "0";  // no JPEG
    const std::string list = joinParameters(values);
    if (!link_.command("AT+FCC=" + list)) return false;
    capabilities = list;
    pageParameters = list;
    link_.setupError.clear();
    return true;
}

bool Class2Transmitter::dialFax(std::string_view number, char dialType) {
    hangUpCode = -1;
    pageError = false;
    calledStation.clear();
    transmittingStation.clear();
    negotiated.clear();
    link_.callResultText.clear();
    hangUpText.clear();
    pageStatusText.clear();
    pageResultText.clear();
    link_.setSpeed(19200);

    const std::optional<std::string> dial = dialCommand(number, dialType);
    if (!dial) {
        link_.callResultText = faxtext::kBadNumber;
        return false;
    }
    if (!link_.sendCommand(*dial, 0)) {
        link_.callResultText = faxtext::kNoAnswer;
        return false;
    }
    ResponseKind kind = ResponseKind::None;
    for (;;) {
        const std::optional<std::string> line = link_.readLine(kDialWait);
        if (!line || !link_.classify(*line, kind)) {
            link_.callResultText = faxtext::kNoAnswer;
            return false;
        }
        if (kind != ResponseKind::AnswerTone && kind != ResponseKind::Other) break;
    }
    if (link_.callStatus != CallStatus::Data && link_.callStatus != CallStatus::Fax) return false;
    if (kind != ResponseKind::FaxConnect) {
        link_.callResultCode = int(ResponseKind::NoCarrier);
        link_.callResultText = faxtext::kNoAnswer;
        link_.abortCall();
        return false;
    }
    readUntilOk(kCallWait);
    return link_.callStatus == CallStatus::Fax;
}

void Class2Transmitter::resetPageQueue() {
    readPos_ = writePos_ = fill_ = 0;
    draining_ = false;
    drainThreshold_ = kDrainThreshold;
    lines_ = 0;
    bytesQueued = bytesWritten = 0;
}

bool Class2Transmitter::beginPage(bool normalResolution) {
    postPageStatus = 255;
    pageResultText.clear();
    pageError = false;
    pageStatusText.clear();
    hangUpCode = 0;
    hangUpText.clear();

    if (dialect_ == FaxDialect::Class2) {
        completeParameters(pageParameters);
        pageParameters[kVR] = normalResolution ? '0' : '1';
        pageParameters[kWD] = '0';
        pageParameters[kDF] = '0';
        if (pageParameters[kBR] > '3' && speedLimit_ == 9600) pageParameters[kBR] = '3';
    } else {
        // The receiver's capabilities as reported, within what this page
        // and the program can send.
        std::vector<std::string> values = parameterValues(pageParameters);
        values.resize(std::max<size_t>(values.size(), 8), "0");
        values[0] = normalResolution ? "0" : "1";
        for (const size_t i : {2, 4, 5, 6}) values[i] = "0";
        for (size_t i = 8; i < values.size(); ++i) values[i] = "0";
        if (values[1].empty() || (values[1] > "3" && speedLimit_ == 9600)) values[1] = "3";
        pageParameters = joinParameters(values);
    }

    auto fail = [this] {
        pageError = true;
        return false;
    };
    const std::string_view session = dialect_ == FaxDialect::Class2 ? "AT+FDIS=" : "AT+FIS=";
    if (!link_.command(std::string(session) + pageParameters) || !link_.sendCommand("AT+FDT", kLongEchoWait))
        return fail();
    for (;;) {
        const std::optional<ResponseKind> kind = readFaxResponse(kPageStartWait);
        if (!kind) return fail();
        if (*kind == ResponseKind::Connect) break;
    }
    if (link_.callStatus == CallStatus::Ended) return fail();
    if (ring_.size() != ringSize_) {
        try {
            ring_.assign(ringSize_, 0);
            block_.assign(kBlockLimit, 0);
        } catch (const std::bad_alloc&) {
            ring_.clear();
            return fail();
        }
    }
    resetPageQueue();
    return true;
}

// Takes XON and XOFF off the input; anything else means the modem reports
// something in the middle of the page, which ends it.
bool Class2Transmitter::dropFlowControl() {
    while (link_.bytesWaiting() > 0) {
        const std::optional<uint8_t> byte = link_.readByte(kEchoWait);
        if (!byte) break;
        if (*byte == kXon || *byte == kXoff) continue;
        link_.pushBack(*byte);
        break;
    }
    if (link_.bytesWaiting() == 0) return true;
    readFaxResponse(kInterruptWait);
    return false;
}

bool Class2Transmitter::drainStep() {
    if (++drainSteps_ % 100 == 0 && link_.pollUser()) return false;
    if (!dropFlowControl()) return false;
    if (!draining_ || fill_ == 0 || link_.writePending()) return true;
    const size_t n = std::min({kBlockLimit, fill_, drainThreshold_});
    const size_t first = std::min(n, ringSize_ - readPos_);
    std::copy_n(ring_.begin() + ptrdiff_t(readPos_), first, block_.begin());
    std::copy_n(ring_.begin(), n - first, block_.begin() + ptrdiff_t(first));
    readPos_ = (readPos_ + n) % ringSize_;
    fill_ -= n;
    bytesWritten += n;
    if (progress_) progress_->showBytesWritten(bytesWritten);
    return link_.writeBlock({block_.data(), n});
}

// While the last block is still on its way a drain step has nothing to do:
// wait for the port a little instead of spinning.
bool Class2Transmitter::waitForRoom() {
    if (!drainStep()) return false;
    if (link_.writePending()) link_.waitWritable(10);
    return true;
}

bool Class2Transmitter::queueByte(uint8_t byte) {
    if (!draining_ && fill_ >= drainThreshold_) {
        draining_ = true;
        if (!drainStep()) return false;
    }
    // A full ring drains whatever the thresholds say (a ring smaller than
    // the thresholds would otherwise wait for ever).
    while (fill_ == ringSize_) {
        draining_ = true;
        if (!waitForRoom()) return false;
    }
    ring_[writePos_] = byte;
    writePos_ = (writePos_ + 1) % ringSize_;
    ++fill_;
    ++bytesQueued;
    return true;
}

bool Class2Transmitter::sendLine(std::span<const uint8_t> coded, bool lastLine) {
    if (ring_.empty() || !dropFlowControl()) return false;
    for (const uint8_t byte : coded) {
        if (!queueByte(byte)) return false;
        if (byte == kDle && !queueByte(byte)) return false;  // DLE is sent doubled in page data
    }
    if (progress_) progress_->showBytesQueued(bytesQueued);
    if (!draining_ && ++lines_ >= kLineThreshold) draining_ = true;
    if (!lastLine) return drainStep();
    drainThreshold_ = kLastLineThreshold;
    draining_ = true;
    while (fill_ > 0)
        if (!waitForRoom()) return false;
    return true;
}

bool Class2Transmitter::endPageData() {
    if (dialect_ == FaxDialect::Class20) return link_.flushOutput();  // the post-page message ends the data
    if (!link_.flushOutput() || !link_.writeByte(kDle, kPageEndWait) || !link_.writeByte(kEtx, kPageEndWait))
        return false;
    return readFaxResponse(kPageEndWait).has_value();
}

bool Class2Transmitter::endPage(int digit) {
    if (dialect_ == FaxDialect::Class20) return endPage20(digit);
    std::string text = "AT+FET=0";
    text.back() = char('0' + std::clamp(digit, 0, 2));
    if (!link_.sendCommand(text, kEchoWait)) return false;
    for (;;) {
        const std::optional<ResponseKind> kind = readFaxResponse(kCallWait);
        if (!kind) return false;
        if (*kind == ResponseKind::Ok) return hangUpCode <= 0;
    }
}

// Class 2.0 ends the page's data with DLE and the post-page message; the
// modem answers with the receiver's page status, after the last page the
// hang-up status, and OK.
bool Class2Transmitter::endPage20(int digit) {
    const uint8_t message = kPostPageCodes[std::clamp(digit, 0, 2)];
    if (!link_.writeByte(kDle, kPageEndWait) || !link_.writeByte(message, kPageEndWait)) return false;
    for (;;) {
        const std::optional<ResponseKind> kind = readFaxResponse(kCallWait);
        if (!kind) return false;
        if (*kind == ResponseKind::Ok) return hangUpCode <= 0;
    }
}

bool Class2Transmitter::hangUp() {
    if (!link_.isOpen() || !link_.isDsrOn()) return false;
    link_.setSpeed(link_.lineSpeed());
    const std::string_view terminate = dialect_ == FaxDialect::Class2 ? "AT+FK" : "AT+FKS";
    if (hangUpCode == -1 && link_.sendCommand(terminate, kLongEchoWait)) readUntilOk(kCallWait);
    bool ok = false;
    if (link_.sendCommand("ATH", kHangUpEchoWait)) {
        for (;;) {
            const std::optional<ResponseKind> kind = readFaxResponse(kCallWait);
            if (!kind) break;
            if (*kind == ResponseKind::Ok) {
                ok = true;
                break;
            }
        }
    }
    if (!ok) link_.dropLine();
    link_.setSpeed(link_.lineSpeed());
    link_.ping();
    return true;
}

bool Class2Transmitter::restoreClass() { return link_.command("AT+FCLASS=" + savedClass_); }

}  // namespace lumipage
