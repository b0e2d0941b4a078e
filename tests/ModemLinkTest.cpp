// The serial modem link against a simulated modem on a pseudo-terminal, and
// against a fake port for the modem lines a pseudo-terminal does not have.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <deque>

#include "fax/FaxTexts.h"
#include "support/ModemFixture.h"

namespace lumipage {
namespace {

using test::ModemFixture;
using test::ModemScript;

ModemScript noEcho() {
    ModemScript s;
    s.echo = false;
    return s;
}

TEST(ModemLink, PortsOutsideOneToFourAndMissingDevicesDoNotOpen) {
    ModemFixture f;
    EXPECT_FALSE(f.link.openPort(0, 19200));
    EXPECT_FALSE(f.link.openPort(5, 19200));
    EXPECT_FALSE(f.link.openPort(2, 19200));
    EXPECT_EQ(f.link.probePorts(), 1);
    EXPECT_EQ(f.link.portSubtype(1), ModemLink::kPortSerial);
    EXPECT_EQ(f.link.portSubtype(3), 0);
    // A plain file is no serial port.
    f.link.setDevices({"/dev/null", "", "", ""});
    EXPECT_EQ(f.link.probePorts(), 0);
}

TEST(ModemLink, CloseRestoresTheSettingsFoundAtOpen) {
    ModemFixture f;
    termios before{};
    const int fd = ::open(f.simulator.device().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(tcgetattr(fd, &before), 0);
    ASSERT_TRUE(f.link.openPort(1, 19200));
    termios during{};
    tcgetattr(fd, &during);
    EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_NE(during.c_iflag & IXON, 0u);
    EXPECT_EQ(cfgetospeed(&during), B19200);
    f.link.closePort();
    termios after{};
    tcgetattr(fd, &after);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
    ::close(fd);
}

TEST(ModemLink, InitialiseSendsTheSequenceAndCommandsClassifyTheirAnswers) {
    ModemFixture f;
    ASSERT_TRUE(f.link.openPort(1, 19200));
    ASSERT_TRUE(f.link.initialise(9600));
    EXPECT_EQ(f.link.callStatus, CallStatus::Ended);
    EXPECT_EQ(f.link.lineSpeed(), 9600);
    EXPECT_EQ(f.simulator.commands(),
              (std::vector<std::string>{"AT&FE1", "ATQ0V1X4M1S2=255S7=50S9=6S10=30", "AT&C1&D2"}));
    ResponseKind kind = ResponseKind::None;
    EXPECT_FALSE(f.link.command("AT+BOGUS", &kind));
    EXPECT_EQ(kind, ResponseKind::Error);
    EXPECT_NE(f.link.callStatus, CallStatus::LinkFailed);  // the modem answered
    EXPECT_EQ(f.link.query("AT+FCLASS=?"), "0,1,2");
    EXPECT_EQ(f.link.query("AT+NOPE"), std::nullopt);
    EXPECT_TRUE(f.link.ping());
    EXPECT_TRUE(f.link.setSpeakerVolume(7));
    EXPECT_EQ(f.simulator.commands().back(), "ATL3");
}

TEST(ModemLink, AModemWithoutEchoIsNoModem) {
    ModemFixture f(noEcho());
    ASSERT_TRUE(f.link.openPort(1, 19200));
    EXPECT_FALSE(f.link.initialise(9600));
    EXPECT_EQ(f.link.setupError, faxtext::kNoResponse);
    EXPECT_EQ(f.link.callStatus, CallStatus::LinkFailed);
    EXPECT_FALSE(f.link.ping());
}

TEST(ModemLink, SilenceAndGarbageFailTheInitialisation) {
    {
        ModemScript s;
        s.silent = true;
        ModemFixture f(s);
        ASSERT_TRUE(f.link.openPort(1, 19200));
        EXPECT_FALSE(f.link.initialise(9600));
        EXPECT_EQ(f.link.setupError, faxtext::kNoResponse);
    }
    {
        ModemScript s;
        s.garbage = "ERROR";
        ModemFixture f(s);
        ASSERT_TRUE(f.link.openPort(1, 19200));
        EXPECT_FALSE(f.link.initialise(9600));
        EXPECT_EQ(f.link.setupError, faxtext::kCannotInitialise);
    }
    {
        ModemFixture f;
        EXPECT_FALSE(f.link.initialise(9600));  // the port is not open
        EXPECT_EQ(f.link.setupError, faxtext::kPortFault);
    }
}

TEST(ModemLink, ClassifierSetsTheCallState) {
    ModemFixture f;
    ASSERT_TRUE(f.link.openPort(1, 19200));
    ResponseKind kind{};
    EXPECT_TRUE(f.link.classify("CONNECT 9600", kind));
    EXPECT_EQ(kind, ResponseKind::Connect);
    EXPECT_EQ(f.link.callStatus, CallStatus::Data);
    EXPECT_EQ(f.link.lineSpeed(), 9600);
    EXPECT_TRUE(f.link.classify("CONNECT", kind));
    EXPECT_EQ(f.link.lineSpeed(), 9600);
    EXPECT_TRUE(f.link.classify("+FCON", kind));
    EXPECT_EQ(f.link.callStatus, CallStatus::Fax);
    EXPECT_TRUE(f.link.classify("+FCON ", kind));
    EXPECT_EQ(kind, ResponseKind::Other);
    const std::pair<const char*, std::string_view> results[] = {
        {"BUSY", faxtext::kBusy},
        {"NO DIALTONE", faxtext::kNoDialTone},
        {"NO ANSWER", faxtext::kNoAnswer},
        {"NO CARRIER", faxtext::kNoAnswer},
    };
    for (const auto& [line, text] : results) {
        f.link.callStatus = CallStatus::Fax;
        EXPECT_TRUE(f.link.classify(line, kind));
        EXPECT_EQ(f.link.callResultCode, int(kind));
        EXPECT_EQ(f.link.callResultText, text);
        EXPECT_EQ(f.link.callStatus, CallStatus::Ended);
    }
    EXPECT_FALSE(f.link.classify("ERROR", kind));
    EXPECT_TRUE(f.link.classify("ok", kind));
    EXPECT_EQ(kind, ResponseKind::Other);
}

// A port whose input and lines are set by the test.
class ScriptedLine : public SerialLine {
public:
    std::deque<uint8_t> input;
    std::string written;
    ModemLines lines{true, true, false};
    bool open_ = true;

    int probe(const std::string&) override { return 1; }
    bool open(const std::string&, int) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool setSpeed(int) override { return true; }
    bool writeByte(uint8_t byte, int) override {
        written.push_back(char(byte));
        return true;
    }
    std::optional<uint8_t> readByte(int) override {
        if (input.empty()) return std::nullopt;
        const uint8_t b = input.front();
        input.pop_front();
        return b;
    }
    size_t bytesWaiting() override { return input.size(); }
    bool waitForInput(int) override { return !input.empty(); }
    bool writeBlock(std::span<const uint8_t> data) override {
        written.append(data.begin(), data.end());
        return true;
    }
    bool waitWritable(int) override { return true; }
    bool writePending() override { return false; }
    size_t outputQueued() override { return 0; }
    void clearInput() override {}
    void clearOutput() override {}
    bool setDtr(bool) override { return true; }
    bool setRts(bool) override { return true; }
    std::optional<ModemLines> modemLines() override { return lines; }

    void feed(std::string_view bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }
};

TEST(ModemLink, ReadLineSkipsLeadingControlsAndCutsLongLines) {
    ScriptedLine line;
    ModemLink link(line, test::kTestTiming);
    line.feed("\r\nOK\r\n");
    EXPECT_EQ(link.readLine(1000), "OK");
    line.feed(std::string(300, 'x') + "\r\n");
    EXPECT_EQ(link.readLine(1000), std::string(255, 'x'));
    EXPECT_EQ(link.readLine(1000), std::string(45, 'x'));
    line.feed("AB\rjunk\nCD\n");
    EXPECT_EQ(link.readLine(1000), "AB");  // a CR ends the text, the rest of the line is dropped
    EXPECT_EQ(link.readLine(1000), "CD");
    EXPECT_EQ(link.readLine(1000), std::nullopt);  // nothing comes: the wait runs out
}

TEST(ModemLink, ModemSwitchedOffFailsBeforeAnyByte) {
    ScriptedLine line;
    line.lines.cts = false;
    ModemLink link(line, test::kTestTiming);
    EXPECT_FALSE(link.initialise(9600));
    EXPECT_EQ(link.setupError, faxtext::kModemOff);
    EXPECT_EQ(link.callStatus, CallStatus::LinkFailed);
    EXPECT_TRUE(line.written.empty());
}

TEST(ModemLink, WaitsHonourCancelAndALostModem) {
    ScriptedLine line;
    ModemLink link(line, test::kTestTiming);
    int pumped = 0;
    link.setEventPump([&] {
        if (++pumped == 3) link.requestAbort();  // the cancel button, pressed during the wait
        return false;
    });
    EXPECT_EQ(link.readLine(0), std::nullopt);  // no limit, yet the cancel ends it
    EXPECT_EQ(pumped, 3);
    link.clearAbort();
    line.lines.dsr = false;  // the modem goes away: its own time-out ends the wait
    EXPECT_EQ(link.readLine(500), std::nullopt);
    EXPECT_TRUE(link.abortRequested());
    // A quitting application cancels too.
    line.lines.dsr = true;
    link.clearAbort();
    link.setEventPump([] { return true; });
    EXPECT_EQ(link.readLine(0), std::nullopt);
}

}  // namespace
}  // namespace lumipage
