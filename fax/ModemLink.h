#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fax/FaxTiming.h"
#include "fax/ModemResponse.h"
#include "base/SerialLine.h"

namespace lumipage {

// The state of the modem call, shared by the link and the fax transmitter.
enum class CallStatus : int {
    Ended = 1,        // the call has ended or failed; also after a good initialisation
    Data = 16,        // a data connection
    Fax = 128,        // a fax connection
    LinkFailed = 255, // no line or no echo from the modem
};

// The serial link to an AT command modem on one of the ports COM1 to COM4:
// opening and configuring the port, commands written a byte at a time with
// their echo checked, response lines read and classified, the modem reset
// and initialised, the line dropped. Every wait polls the user so that the
// window stays responsive and a cancel is seen.
class ModemLink {
public:
    static constexpr int kPorts = 4;
    static constexpr int kPortSerial = 1;  // the subtype of an RS-232 port
    static constexpr size_t kMaxLine = 255;

    explicit ModemLink(SerialLine& line, FaxTiming timing = {});
    ~ModemLink();
    ModemLink(const ModemLink&) = delete;
    ModemLink& operator=(const ModemLink&) = delete;

    // The device of COM1..COM4.
    void setDevices(const std::array<std::string, kPorts>& devices) { devices_ = devices; }
    // Handles the window's pending events; returns true when the application is quitting.
    void setEventPump(std::function<bool()> pump) { pump_ = std::move(pump); }
    const FaxTiming& timing() const { return timing_; }

    // Ports.
    int probePorts();
    int portSubtype(int port) const;  // port 1..4; 0 outside
    // Why the port was found unusable by the last probe, or why the last
    // open failed: a sentence for the user, or empty.
    const std::string& portProblem(int port) const;
    bool openPort(int port, int speed);
    void closePort();
    bool isOpen() const { return line_.isOpen(); }
    bool setSpeed(int speed);
    int lineSpeed() const { return lineSpeed_; }

    // Commands and responses.
    bool sendCommand(std::string_view text, int echoWaitMs);
    std::optional<std::string> readLine(int waitMs);
    bool command(std::string_view text, ResponseKind* kind = nullptr);
    std::optional<std::string> query(std::string_view text);
    bool ping();
    bool initialise(int speed);
    void dropLine();
    void abortCall();
    bool setSpeakerVolume(int level);
    // The command-phase classifier with its effects on the call; false for "ERROR".
    bool classify(std::string_view line, ResponseKind& kind);

    // Lines and queues.
    bool isDsrOn();
    bool isCtsOn();
    bool isCarrierOn();
    size_t bytesWaiting();
    void clearRx();
    void clearTx();
    bool writeByte(uint8_t byte, int waitMs);
    std::optional<uint8_t> readByte(int waitMs);
    void pushBack(uint8_t byte) { lookAhead_ = byte; }
    bool writeBlock(std::span<const uint8_t> data);
    bool writePending() { return line_.writePending(); }
    void waitWritable(int ms) { line_.waitWritable(timing_.wait(ms)); }
    bool flushOutput();

    // The cancel and line check of every wait: true when the wait must stop.
    bool pollUser();
    void requestAbort() { abort_ = true; }
    void clearAbort() { abort_ = false; }
    bool abortRequested() const { return abort_; }

    // A fixed pause in steps, keeping the window alive between them.
    void pause(int ms);

    CallStatus callStatus = CallStatus::Ended;
    std::string setupError;       // why the modem could not be set up
    int callResultCode = 0;
    std::string callResultText;   // why a call failed

private:
    std::optional<ModemLines> lines();

    SerialLine& line_;
    FaxTiming timing_;
    std::function<bool()> pump_;
    std::array<std::string, kPorts> devices_{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
    std::array<int, kPorts> subtypes_{};
    std::array<std::string, kPorts> problems_;
    int lineSpeed_ = 0;
    std::optional<uint8_t> lookAhead_;
    int openPort_ = 0;
    bool abort_ = false;
};

}  // namespace lumipage
