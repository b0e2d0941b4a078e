#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumipage {

// The modem control lines as the port reports them.
struct ModemLines {
    bool dsr = false;
    bool cts = false;
    bool carrier = false;
};

// A serial byte channel to a modem: a termios device in the program, a fake
// in tests. Waits are in real milliseconds; a wait of 0 means no limit.
// Writes never block the caller beyond the wait given: a block is handed over
// and finishes in the background while the caller polls `writePending`.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    // 1 when the device is a serial port, 0 when it cannot be opened or is not one.
    virtual int probe(const std::string& device) = 0;
    // Opens exclusively and sets 8 data bits, no parity, one stop bit, raw
    // bytes, hardware output flow control and XON/XOFF output flow control;
    // raises DTR and RTS. The settings found are restored by `close`.
    virtual bool open(const std::string& device, int speed) = 0;
    virtual void close() = 0;
    // Why the last probe or open failed, as a sentence for the user (the
    // device missing, a group the user is not in, another program using
    // it); empty when there is nothing particular to say.
    virtual std::string problem() const { return {}; }
    virtual bool isOpen() const = 0;
    // False when the port cannot run at that speed; the port keeps its speed then.
    virtual bool setSpeed(int speed) = 0;

    virtual bool writeByte(uint8_t byte, int waitMs) = 0;
    virtual std::optional<uint8_t> readByte(int waitMs) = 0;
    // Bytes received and not read yet.
    virtual size_t bytesWaiting() = 0;
    // Waits up to waitMs for input; true when a byte is waiting.
    virtual bool waitForInput(int waitMs) = 0;

    // Starts writing a block; false when a block is still being written or the write failed.
    virtual bool writeBlock(std::span<const uint8_t> data) = 0;
    // Waits up to waitMs until the port takes more bytes (after any block).
    virtual bool waitWritable(int waitMs) = 0;
    // Moves the block on; true while part of it is still to be written.
    virtual bool writePending() = 0;
    // Bytes handed over and not yet sent out of the port (0 on failure).
    virtual size_t outputQueued() = 0;

    virtual void clearInput() = 0;   // drops received bytes
    virtual void clearOutput() = 0;  // drops bytes not yet sent, a pending block too

    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;
    // Nothing when the lines cannot be read.
    virtual std::optional<ModemLines> modemLines() = 0;
};

}  // namespace lumipage
