// The simulated modem the fax tests talk to refuses what a class 2 modem
// refuses, so that a malformed command of the program fails its test rather
// than passing unnoticed: each rule below is one the simulator used to let by.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ModemFixture.h"

namespace lumipage {
namespace {

using test::ModemFixture;
using test::ModemScript;

// A modem reset and initialised as the program does it, taking commands.
struct Modem : ModemFixture {
    explicit Modem(ModemScript script = {}) : ModemFixture(std::move(script)) {
        ready = link.openPort(1, 19200) && link.initialise(9600);
    }
    bool ok(const std::string& command) { return link.command(command); }
    bool toClass2() { return ok("AT+FCLASS=2"); }
    bool call() { return link.sendCommand("ATDT0312345678", 1000) && readUntil("OK"); }
    bool readUntil(const std::string& last) {
        for (;;) {
            const std::optional<std::string> line = link.readLine(10000);
            if (!line) return false;
            lines.push_back(*line);
            if (*line == last) return true;
            if (*line == "ERROR") return false;
        }
    }
    bool has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

    bool ready = false;
    std::vector<std::string> lines;
};

TEST(StrictModem, BasicCommandsTakeOnlyTheirOwnLettersAndNumbers) {
    Modem m;
    ASSERT_TRUE(m.ready);
    EXPECT_TRUE(m.ok("ATQ0V1X4M1S2=255S7=50"));
    EXPECT_FALSE(m.ok("ATQ0junk"));
    EXPECT_FALSE(m.ok("ATQ2"));       // Q takes 0 or 1
    EXPECT_FALSE(m.ok("ATX9"));       // X takes 0 to 4
    EXPECT_FALSE(m.ok("ATS7=300"));   // a register holds one byte
    EXPECT_FALSE(m.ok("ATS7"));       // neither set nor read
    EXPECT_FALSE(m.ok("AT&F9"));
    EXPECT_FALSE(m.ok("AT&Fjunk"));
    EXPECT_FALSE(m.ok("AT&D7"));
    EXPECT_TRUE(m.ok("AT&C1&D2"));
    EXPECT_TRUE(m.ok("ATL3"));
    EXPECT_FALSE(m.ok("ATL4"));
}

TEST(StrictModem, TheClassIsOneTheModemOffersAndFaxCommandsNeedClass2) {
    Modem m;
    ASSERT_TRUE(m.ready);
    EXPECT_FALSE(m.ok("AT+FCLASS=7"));
    EXPECT_FALSE(m.ok("AT+FCLASS=two"));
    EXPECT_FALSE(m.ok("AT+FCLASS="));
    EXPECT_EQ(m.simulator.modemClass(), "0");
    // Fax commands are class 2 commands.
    EXPECT_FALSE(m.ok("AT+FBOR=0"));
    EXPECT_FALSE(m.ok("AT+FLID=\"A\""));
    EXPECT_TRUE(m.toClass2());
    EXPECT_EQ(m.simulator.modemClass(), "2");
    EXPECT_TRUE(m.ok("AT+FBOR=0"));
    EXPECT_FALSE(m.ok("AT+FBOR=4"));
    EXPECT_FALSE(m.ok("AT+FBOR=0,1"));
    EXPECT_FALSE(m.ok("AT+FNOTHING=1"));
}

TEST(StrictModem, TheLocalIdIsAQuotedStringOfAtMostTwentyCharacters) {
    Modem m;
    ASSERT_TRUE(m.ready && m.toClass2());
    EXPECT_TRUE(m.ok("AT+FLID=\"81 3 1234 5678      \""));  // twenty
    EXPECT_EQ(m.link.query("AT+FLID?"), "\"81 3 1234 5678      \"");
    EXPECT_FALSE(m.ok("AT+FLID=\"123456789012345678901\""));  // 21
    EXPECT_FALSE(m.ok("AT+FLID=81 3 1234"));                  // unquoted
    EXPECT_FALSE(m.ok("AT+FLID=\"open"));
    EXPECT_FALSE(m.ok("AT+FLID=\"a\"b\""));
}

TEST(StrictModem, SessionParametersAreEightValuesInRange) {
    Modem m;
    ASSERT_TRUE(m.ready && m.toClass2());
    EXPECT_TRUE(m.ok("AT+FDCC=1,5,0,0,0,0,0,1"));
    EXPECT_EQ(m.link.query("AT+FDCC?"), "1,5,0,0,0,0,0,1");
    EXPECT_TRUE(m.ok("AT+FDIS=0,3"));  // the others kept
    EXPECT_EQ(m.link.query("AT+FDIS?"), "0,3,0,0,0,0,0,1");
    for (const char* bad : {"AT+FDIS=2,5,0,0,0,0,0,1",   // VR 0 or 1
                            "AT+FDIS=1,6,0,0,0,0,0,1",   // BR up to 14400
                            "AT+FDIS=1,5,0,3,0,0,0,1",   // LN up to unlimited
                            "AT+FDIS=1,5,0,0,0,0,0,8",   // ST up to 7
                            "AT+FDIS=1,5,0,0,0,0,0,1,0", // nine values
                            "AT+FDIS=1;5", "AT+FDIS=", "AT+FDCC=x", "AT+FDCC=1,5,0,0,0,0,0,-1"})
        EXPECT_FALSE(m.ok(bad)) << bad;
}

TEST(StrictModem, DiallingInClass0FindsNoFaxCarrier) {
    Modem m;
    ASSERT_TRUE(m.ready);
    ASSERT_TRUE(m.link.sendCommand("ATDT0312345678", 1000));
    const std::optional<std::string> answer = m.link.readLine(10000);
    EXPECT_EQ(answer, "NO CARRIER");
    EXPECT_FALSE(m.ok("AT+FDT"));
}

TEST(StrictModem, PageDataNeedsACallAndPageEndsNeedAPage) {
    Modem m;
    ASSERT_TRUE(m.ready && m.toClass2());
    EXPECT_FALSE(m.ok("AT+FDT"));    // no call
    EXPECT_FALSE(m.ok("AT+FET=2"));  // no page
    EXPECT_FALSE(m.ok("ATDT"));      // no number
    EXPECT_FALSE(m.ok("ATDTabc"));
    ASSERT_TRUE(m.call());
    EXPECT_TRUE(m.has("+FCON"));
    EXPECT_FALSE(m.ok("AT+FET=0"));    // still no page
    EXPECT_FALSE(m.ok("AT+FDT=1"));    // takes no value
    EXPECT_FALSE(m.ok("ATDT0312"));    // already in a call
    EXPECT_TRUE(m.ok("AT+FK"));
    EXPECT_FALSE(m.ok("AT+FDT"));     // the call has ended
}

TEST(StrictModem, TheSessionIsWhatWasAskedWithinWhatTheReceiverOffers) {
    ModemScript s;
    s.receiverDis = "1,3,0,2,1,0,0,4";  // 9600 at most, 2-D offered, 20 ms per line
    s.reportConfirmation = true;
    Modem m(s);
    ASSERT_TRUE(m.ready && m.toClass2());
    ASSERT_TRUE(m.ok("AT+FDCC=1,5,0,2,0,0,0,0"));
    ASSERT_TRUE(m.call());
    ASSERT_TRUE(m.ok("AT+FDIS=0,5,0,0,0,0,0,0"));  // normal resolution, 14400, A4, 1-D
    ASSERT_TRUE(m.link.sendCommand("AT+FDT", 1000));
    ASSERT_TRUE(m.readUntil("CONNECT"));
    EXPECT_TRUE(m.has("+FDCS:0,3,0,0,0,0,0,4"));
    EXPECT_TRUE(m.has("+FCFR"));
    EXPECT_EQ(m.simulator.negotiated(), (std::vector<std::string>{"0,3,0,0,0,0,0,4"}));
}

// Set to class 2.0, the modem speaks T.32 alone: the class 2 names are
// unknown to it, lists take a ninth value, the receiver's reports come
// only when +FNR asks for them, and page data ends with DLE and a post-page
// message, not DLE ETX.
TEST(StrictModem, AClass20ModemTakesOnlyItsOwnCommands) {
    ModemScript s;
    s.classes = "0,1,2.0";
    Modem m(s);
    ASSERT_TRUE(m.ready);
    EXPECT_FALSE(m.toClass2());
    EXPECT_FALSE(m.ok("AT+FCC?"));  // not yet in class 2.0
    ASSERT_TRUE(m.ok("AT+FCLASS=2.0"));
    for (const char* class2 : {"AT+FDCC?", "AT+FDCC=1,5,0,2,0,0,0,0", "AT+FLID=\"A\"", "AT+FBOR=0", "AT+FK", "AT+FET=2"})
        EXPECT_FALSE(m.ok(class2)) << class2;
    EXPECT_EQ(m.link.query("AT+FCC?"), "+FCC:1,5,0,2,0,0,0,0,0");
    EXPECT_TRUE(m.ok("AT+FCC=1,5,0,2,0,0,0,0,0"));
    EXPECT_FALSE(m.ok("AT+FCC=1,5,0,2,0,0,0,0,0,0"));  // ten values
    EXPECT_FALSE(m.ok("AT+FCC=1,5,0,2,0,0,0,0,1"));    // JPEG is not offered
    EXPECT_TRUE(m.ok("AT+FLI=\"A\""));
    EXPECT_FALSE(m.ok("AT+FNR=1,1,1,1,1"));
    ASSERT_TRUE(m.call());
    EXPECT_TRUE(m.has("+FCO"));
    EXPECT_FALSE(m.has("+FCI: \"81 3 1234 5678\""));  // not asked for
    ASSERT_TRUE(m.ok("AT+FKS"));
    m.lines.clear();
    ASSERT_TRUE(m.ok("AT+FNR=1,1,1,1"));
    ASSERT_TRUE(m.call());
    EXPECT_TRUE(m.has("+FCI: \"81 3 1234 5678\""));
    EXPECT_TRUE(m.has("+FIS:1,5,0,2,0,0,0,0,0"));
    ASSERT_TRUE(m.link.sendCommand("AT+FDT", 1000));
    ASSERT_TRUE(m.readUntil("CONNECT"));
    EXPECT_TRUE(m.has("+FCS:1,5,0,2,0,0,0,0,0"));
    EXPECT_FALSE(m.has("+FCFR"));
    // A class 2 page end is no page end here: the call is abandoned.
    for (const uint8_t byte : {uint8_t(0x00), uint8_t(0x80), uint8_t(0x10), uint8_t(0x03)}) m.link.writeByte(byte, 1000);
    EXPECT_EQ(m.link.readLine(3000), "+FHS:43");
    EXPECT_EQ(m.simulator.violations(), std::vector<std::string>{"DLE 03 ends class 2.0 page data"});
    EXPECT_TRUE(m.simulator.pages().empty());
}

TEST(StrictModem, EchoStartsOffUntilE1) {
    ModemScript s;
    s.echoOffUntilE1 = true;
    ModemFixture f(s);
    ASSERT_TRUE(f.link.openPort(1, 19200));
    // The program's first command does not wait for an echo, and turns it on.
    EXPECT_TRUE(f.link.initialise(9600));
    EXPECT_TRUE(f.link.command("AT"));
    f.link.closePort();
    // Without that first command every echo check fails.
    ModemFixture plain(s);
    ASSERT_TRUE(plain.link.openPort(1, 19200));
    EXPECT_FALSE(plain.link.command("AT"));
}

TEST(StrictModem, ResultCodesFollowQuietAndVerbose) {
    Modem m;
    ASSERT_TRUE(m.ready);
    ASSERT_TRUE(m.link.sendCommand("ATV0", 1000));
    EXPECT_EQ(m.link.readLine(1000), "0");
    ASSERT_TRUE(m.link.sendCommand("ATV1Q1", 1000));
    EXPECT_EQ(m.link.readLine(300), std::nullopt);
    ASSERT_TRUE(m.link.sendCommand("ATQ0", 1000));
    EXPECT_EQ(m.link.readLine(1000), "OK");
}

}  // namespace
}  // namespace lumipage
