#include "support/Class2ModemSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace lumipage::test {

namespace {

constexpr uint8_t kDle = 0x10;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kXon = 0x11;
constexpr uint8_t kXoff = 0x13;
constexpr int kQuietMs = 40;  // a pause this long ends the data a hung-up modem throws away

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(uint8_t(c)));
    return s;
}

bool startsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

Class2ModemSimulator::Class2ModemSimulator(ModemScript script) : script_(std::move(script)) {
    class_ = script_.currentClass;
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return;
    const char* name = (grantpt(master_) == 0 && unlockpt(master_) == 0) ? ptsname(master_) : nullptr;
    if (name) {
        device_ = name;
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    if (slave_ < 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    thread_ = std::thread([this] { run(); });
}

Class2ModemSimulator::~Class2ModemSimulator() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

std::vector<std::string> Class2ModemSimulator::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

std::vector<std::vector<uint8_t>> Class2ModemSimulator::pages() const {
    std::lock_guard lock(mutex_);
    return pages_;
}

size_t Class2ModemSimulator::dataBytesReceived() const { return dataBytes_; }

std::string Class2ModemSimulator::modemClass() const {
    std::lock_guard lock(mutex_);
    return class_;
}

std::vector<uint8_t> Class2ModemSimulator::asG3File(const std::vector<uint8_t>& page) {
    std::vector<uint8_t> file{0x00, 0x80};  // an EOL opens a T.4 page; the rows carry theirs after them
    file.insert(file.end(), page.begin(), page.end());
    return file;
}

void Class2ModemSimulator::run() {
    uint8_t buffer[256];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        const int r = ::poll(&p, 1, discarding_ ? kQuietMs : 10);
        if (r == 0 && discarding_) discarding_ = false;
        if (r <= 0 || !(p.revents & POLLIN)) continue;
        const size_t want = dataMode_ && script_.slowReadMicros > 0 ? 64 : sizeof buffer;
        const ssize_t n = ::read(master_, buffer, want);
        if (n <= 0) continue;
        for (ssize_t i = 0; i < n; ++i) handleByte(buffer[i]);
        if (dataMode_ && script_.slowReadMicros > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(script_.slowReadMicros));
    }
}

void Class2ModemSimulator::writeRaw(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += size_t(n);
    }
}

void Class2ModemSimulator::say(const std::string& line) {
    if (script_.silent) return;
    writeRaw("\r\n" + (script_.garbage.empty() ? line : script_.garbage) + "\r\n");
}

void Class2ModemSimulator::handleByte(uint8_t byte) {
    if (discarding_) return;
    if (dataMode_) return handleDataByte(byte);
    if (script_.echo) writeRaw(std::string(1, char(byte)));
    if (byte == '\r') {
        std::string line;
        line.swap(line_);
        if (!line.empty()) handleCommand(line);
    } else if (byte != '\n') {
        line_.push_back(char(byte));
    }
}

void Class2ModemSimulator::handleDataByte(uint8_t byte) {
    ++dataBytes_;
    ++pageBytes_;
    const int index = pagesReceived_;
    if (index == script_.xoffPage && pageBytes_ == size_t(script_.xoffAfterBytes)) {
        writeRaw(std::string(1, char(kXoff)));
        sleepMs(script_.xoffMs);
        writeRaw(std::string(1, char(kXon)));
    }
    if (index == script_.hangUpPage && pageBytes_ == size_t(script_.hangUpAfterBytes)) {
        say("+FHNG:" + std::to_string(script_.hangUpCode));
        dataMode_ = false;
        discarding_ = true;
        page_.clear();
        return;
    }
    if (afterDle_) {
        afterDle_ = false;
        if (byte == kDle) {
            page_.push_back(kDle);
        } else if (byte == kEtx) {
            {
                std::lock_guard lock(mutex_);
                pages_.push_back(std::move(page_));
            }
            ++pagesReceived_;
            page_.clear();
            dataMode_ = false;
            say("OK");
        }
        return;
    }
    if (byte == kDle)
        afterDle_ = true;
    else
        page_.push_back(byte);
}

void Class2ModemSimulator::dial(const std::string& command) {
    const std::vector<std::string>& results = script_.dialResults;
    const std::string result = results.empty() ? "" : results[std::min<size_t>(dialAttempt_, results.size() - 1)];
    ++dialAttempt_;
    sleepMs(script_.dialDelayMs);
    if (!command.empty() && command.back() == ';') {  // a voice call stays in command mode
        say(result.empty() ? "OK" : result);
        return;
    }
    if (!result.empty()) {
        say(result);
        return;
    }
    say("+FCON");
    say("+FCSI: \"" + script_.calledStation + "\"");
    say("+FDIS:" + script_.receiverDis);
    say("OK");
}

void Class2ModemSimulator::handleCommand(const std::string& raw) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(raw);
    }
    const std::string c = upper(raw);
    if (!startsWith(c, "AT")) return;
    if (c == "AT+FCLASS=?") {
        say(script_.classes);
    } else if (c == "AT+FCLASS?") {
        say(modemClass());
    } else if (startsWith(c, "AT+FCLASS=")) {
        std::lock_guard lock(mutex_);
        class_ = c.substr(10);
    } else if (c == "AT+FDCC?") {
        say(script_.capabilities);
    } else if (startsWith(c, "ATD")) {
        return dial(c);
    } else if (c == "AT+FDT") {
        say("+FDCS:" + script_.receiverDis);
        say("CONNECT");
        dataMode_ = true;
        afterDle_ = false;
        pageBytes_ = 0;
        page_.clear();
        return;
    } else if (startsWith(c, "AT+FET=")) {
        const int page = pagesReceived_ - 1;
        const auto status = script_.pageStatus.find(page);
        say("+FPTS:" + std::to_string(status == script_.pageStatus.end() ? 1 : status->second));
        if (c == "AT+FET=2") say("+FHNG:0");
    } else if (c == "AT+FK") {
        say("+FHNG:0");
    } else if (!(c == "AT" || c == "ATH" || c == "ATH0" || startsWith(c, "AT&F") || startsWith(c, "ATQ0") ||
                 startsWith(c, "AT&C") || startsWith(c, "ATL") || startsWith(c, "AT+FBOR=") ||
                 startsWith(c, "AT+FLID=") || startsWith(c, "AT+FDCC=") || startsWith(c, "AT+FDIS="))) {
        say("ERROR");
        return;
    }
    say("OK");
}

}  // namespace lumipage::test
