#pragma once
#include <termios.h>

#include <string>
#include <utility>
#include <vector>

#include "base/SerialLine.h"
#include "platform/SerialPortLock.h"

namespace lumipage {

// A serial device driven through termios. The descriptor is non-blocking and
// every wait is a poll() with its limit. A pseudo-terminal has no modem
// lines: there they read as on, so a simulated modem can stand in for a real one.
class SerialPort : public SerialLine {
public:
    explicit SerialPort(SerialLockPlace lockPlace = {}) : lockPlace_(std::move(lockPlace)) {}
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    int probe(const std::string& device) override;
    bool open(const std::string& device, int speed) override;
    void close() override;
    std::string problem() const override { return problem_; }
    bool isOpen() const override { return fd_ >= 0; }
    bool setSpeed(int speed) override;

    bool writeByte(uint8_t byte, int waitMs) override;
    std::optional<uint8_t> readByte(int waitMs) override;
    size_t bytesWaiting() override;
    bool waitForInput(int waitMs) override;

    bool writeBlock(std::span<const uint8_t> data) override;
    bool writePending() override;
    bool waitWritable(int waitMs) override;
    size_t outputQueued() override;

    void clearInput() override;
    void clearOutput() override;

    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    std::optional<ModemLines> modemLines() override;

private:
    bool waitFor(short events, int waitMs);
    bool pushPending();
    bool setLines(int bits, bool on);

    bool refusedByLock(const std::string& device);

    SerialLockPlace lockPlace_;
    SerialPortLock lock_;
    std::string problem_;
    int fd_ = -1;
    bool pseudoTerminal_ = false;
    termios found_{};
    std::vector<uint8_t> pending_;  // the block being written
    size_t pendingDone_ = 0;
};

}  // namespace lumipage
