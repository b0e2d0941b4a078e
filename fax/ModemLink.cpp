#include "fax/ModemLink.h"

#include <algorithm>

#include "fax/FaxTexts.h"

namespace lumipage {

namespace {

constexpr int kEchoWait = 1000;        // per command character
constexpr int kResponseWait = 10000;   // for a command's response line
constexpr int kByteWait = 1000;        // between the bytes of a line
constexpr int kPollStep = 100;         // the step of every polled wait
constexpr int kDrainLimit = 10000;     // bytes drained after an unchecked command
constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kLineFeed = 0x0A;
constexpr int kPingAttempts = 5;

}  // namespace

ModemLink::ModemLink(SerialLine& line, FaxTiming timing) : line_(line), timing_(timing) {}

ModemLink::~ModemLink() { closePort(); }

int ModemLink::probePorts() {
    int usable = 0;
    for (int n = 0; n < kPorts; ++n) {
        const bool openHere = line_.isOpen() && n + 1 == openPort_;
        subtypes_[n] = openHere ? kPortSerial : line_.probe(devices_[n]);
        problems_[n] = subtypes_[n] == kPortSerial ? std::string() : line_.problem();
        if (subtypes_[n] == kPortSerial) ++usable;
    }
    return usable;
}

int ModemLink::portSubtype(int port) const { return port >= 1 && port <= kPorts ? subtypes_[port - 1] : 0; }

const std::string& ModemLink::portProblem(int port) const {
    static const std::string none;
    return port >= 1 && port <= kPorts ? problems_[size_t(port - 1)] : none;
}

bool ModemLink::openPort(int port, int speed) {
    if (port < 1 || port > kPorts) return false;
    if (!line_.open(devices_[port - 1], speed)) {
        problems_[size_t(port - 1)] = line_.problem();
        return false;
    }
    openPort_ = port;
    lineSpeed_ = speed;
    lookAhead_.reset();
    return true;
}

void ModemLink::closePort() {
    line_.close();
    openPort_ = 0;
    lookAhead_.reset();
}

bool ModemLink::setSpeed(int speed) {
    // The speed is kept even where the port cannot take it (a line speed
    // reported by CONNECT): the port keeps its own then.
    lineSpeed_ = speed;
    line_.setSpeed(speed);
    return true;
}

std::optional<ModemLines> ModemLink::lines() { return line_.isOpen() ? line_.modemLines() : std::nullopt; }
bool ModemLink::isDsrOn() { return lines().value_or(ModemLines{}).dsr; }
bool ModemLink::isCtsOn() { return lines().value_or(ModemLines{}).cts; }
bool ModemLink::isCarrierOn() { return lines().value_or(ModemLines{}).carrier; }

size_t ModemLink::bytesWaiting() { return lookAhead_ ? 1 : line_.bytesWaiting(); }

void ModemLink::clearRx() {
    lookAhead_.reset();
    line_.clearInput();
}

void ModemLink::clearTx() { line_.clearOutput(); }

bool ModemLink::pollUser() {
    if (!isDsrOn()) {
        abort_ = true;
        return false;
    }
    // The window is kept alive after a cancel too: the steps that follow it
    // (hanging up, the closing text) are still shown. A quitting application cancels.
    if (pump_ && pump_()) abort_ = true;
    return abort_;
}

void ModemLink::pause(int ms) {
    for (int left = ms; left > 0; left -= kPollStep) {
        if (pump_ && pump_()) abort_ = true;
        timing_.pause(std::min(left, kPollStep));
    }
}

bool ModemLink::writeByte(uint8_t byte, int waitMs) {
    if (waitMs > 0) return line_.writeByte(byte, timing_.wait(waitMs));
    // No limit: wait in steps, keeping the window alive; a cancel gives up.
    while (!line_.waitWritable(timing_.wait(kPollStep))) {
        if (!line_.isOpen() || pollUser()) {
            line_.clearOutput();
            return false;
        }
    }
    return line_.writeByte(byte, timing_.wait(kByteWait));
}

std::optional<uint8_t> ModemLink::readByte(int waitMs) {
    if (lookAhead_) {
        const uint8_t byte = *lookAhead_;
        lookAhead_.reset();
        return byte;
    }
    return line_.readByte(timing_.wait(waitMs));
}

bool ModemLink::writeBlock(std::span<const uint8_t> data) {
    while (line_.writePending()) {
        if (pollUser()) return false;
        line_.waitWritable(timing_.wait(kPollStep));
    }
    return line_.writeBlock(data);
}

bool ModemLink::flushOutput() {
    // Waits until everything written has left the port, polling the user.
    while (line_.outputQueued() > 0) {
        if (!line_.isOpen() || pollUser()) return false;
        line_.waitWritable(timing_.wait(10));
    }
    return true;
}

bool ModemLink::sendCommand(std::string_view text, int echoWaitMs) {
    clearTx();
    clearRx();
    std::string bytes(text);
    bytes.push_back(char(kCarriageReturn));
    for (const char c : bytes) {
        if (!writeByte(uint8_t(c), 0)) return false;
        if (echoWaitMs == 0) {
            readByte(100);
            continue;
        }
        const std::optional<uint8_t> echo = readByte(echoWaitMs);
        if (!echo || *echo != uint8_t(c)) return false;
    }
    if (echoWaitMs == 0)
        for (int n = 0; n < kDrainLimit && readByte(kByteWait); ++n) {
        }
    return true;
}

std::optional<std::string> ModemLink::readLine(int waitMs) {
    int left = waitMs;
    while (bytesWaiting() == 0) {
        if (pollUser()) return std::nullopt;
        if (left > 0) {
            left -= kPollStep;
            if (left <= 0) return std::nullopt;
        }
        line_.waitForInput(timing_.wait(kPollStep));
        if (!line_.isOpen()) return std::nullopt;
    }
    std::string text;
    bool ended = false;  // a CR was seen: the rest up to LF is dropped
    while (text.size() < kMaxLine) {
        const std::optional<uint8_t> byte = readByte(kByteWait);
        if (!byte) break;
        if (text.empty() && !ended && *byte < 0x20) continue;  // the end of an earlier line
        if (*byte == kLineFeed) break;
        if (*byte == kCarriageReturn) {
            ended = true;
            continue;
        }
        if (!ended) text.push_back(char(*byte));
    }
    if (text.empty()) return std::nullopt;
    return text;
}

bool ModemLink::classify(std::string_view line, ResponseKind& kind) {
    const ModemResponse r = parseCommandResponse(line);
    kind = r.kind;
    switch (r.kind) {
        case ResponseKind::Error: return false;
        case ResponseKind::FaxConnect: callStatus = CallStatus::Fax; break;
        case ResponseKind::Connect:
            callStatus = CallStatus::Data;
            if (r.number != 0) setSpeed(r.number);
            break;
        case ResponseKind::Ring:
        case ResponseKind::AnswerTone: callStatus = CallStatus::Ended; break;
        case ResponseKind::NoCarrier:
        case ResponseKind::NoAnswer:
        case ResponseKind::Busy:
        case ResponseKind::NoDialTone:
            callStatus = CallStatus::Ended;
            callResultCode = int(r.kind);
            callResultText = r.kind == ResponseKind::Busy         ? faxtext::kBusy
                             : r.kind == ResponseKind::NoDialTone ? faxtext::kNoDialTone
                                                                  : faxtext::kNoAnswer;
            break;
        default: break;
    }
    return true;
}

bool ModemLink::command(std::string_view text, ResponseKind* kind) {
    ResponseKind k = ResponseKind::None;
    if (kind) *kind = k;
    clearTx();
    clearRx();
    std::optional<std::string> line;
    if (sendCommand(text, kEchoWait)) line = readLine(kResponseWait);
    if (!line) {
        callStatus = CallStatus::LinkFailed;
        return false;
    }
    pause(100);
    const bool ok = classify(*line, k);
    if (kind) *kind = k;
    return ok;
}

std::optional<std::string> ModemLink::query(std::string_view text) {
    clearTx();
    clearRx();
    if (!sendCommand(text, kEchoWait)) return std::nullopt;
    std::optional<std::string> value = readLine(kResponseWait);
    if (!value) return std::nullopt;
    if (*value == "ERROR") {
        pause(100);
        return std::nullopt;
    }
    readLine(kEchoWait);  // the closing "OK"
    pause(100);
    return value;
}

bool ModemLink::ping() {
    for (int attempt = 0; attempt < kPingAttempts; ++attempt) {
        if (command("AT")) return true;
        pause(1000);
    }
    return false;
}

bool ModemLink::initialise(int speed) {
    abort_ = false;
    setupError.clear();
    auto fail = [this](std::string_view text, bool linkFailed) {
        setupError = text;
        if (linkFailed) callStatus = CallStatus::LinkFailed;
        return false;
    };
    if (!isOpen()) return fail(faxtext::kPortFault, true);
    if (!isCtsOn()) return fail(faxtext::kModemOff, true);
    if (isCarrierOn()) dropLine();
    clearRx();
    clearTx();
    if (!setSpeed(speed)) return fail(faxtext::kBadSpeed, true);
    sendCommand("AT&FE1", 0);
    ResponseKind kind = ResponseKind::None;
    if (!command("ATQ0V1X4M1S2=255S7=50S9=6S10=30", &kind))
        return fail(kind == ResponseKind::None ? faxtext::kNoResponse : faxtext::kCannotInitialise, false);
    if (!command("AT&C1&D2")) return fail(faxtext::kCannotInitialise, false);
    callStatus = CallStatus::Ended;
    return true;
}

void ModemLink::dropLine() {
    line_.setDtr(false);
    pause(1000);
    line_.setDtr(true);
}

void ModemLink::abortCall() {
    callStatus = CallStatus::Ended;
    if (!line_.setDtr(false)) return;
    for (int n = 0; n < 20; ++n) {
        pause(500);
        if (!isCarrierOn()) break;
    }
    line_.setDtr(true);
    pause(500);
    setSpeed(lineSpeed_);
    if (isDsrOn()) ping();
}

bool ModemLink::setSpeakerVolume(int level) {
    std::string text = "ATL0";
    text[3] = char('0' + (level > 3 ? 3 : level < 0 ? 0 : level));
    if (!sendCommand(text, kEchoWait)) return false;
    const std::optional<std::string> line = readLine(kResponseWait);
    ResponseKind kind = ResponseKind::None;
    return line && classify(*line, kind);
}

}  // namespace lumipage
