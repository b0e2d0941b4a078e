// One class 2 fax call at a time against the simulated modem: set-up,
// dialling, page data with its DLE doubling and flow control, post-page
// results and hang-ups; and the same call through a class 2.0 modem.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fax/FaxDialect.h"
#include "fax/FaxTexts.h"
#include "image/FitScaler.h"
#include "support/ModemFixture.h"
#include "support/ReceivedFax.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::ModemFixture;
using test::ModemScript;

struct Call : ModemFixture {
    explicit Call(ModemScript script = {}, size_t ringSize = Class2Transmitter::kRingSize)
        : ModemFixture(std::move(script)), fax(link, ringSize) {
        opened = link.openPort(1, 19200);
    }
    bool connect() { return opened && fax.startClass2() && fax.dialFax("03-1234-5678", 'T'); }
    bool has(const std::string& command) const {
        const auto all = simulator.commands();
        return std::find(all.begin(), all.end(), command) != all.end();
    }

    Class2Transmitter fax;
    bool opened = false;
};

// The same script for a modem that offers class 2.0 and no class 2.
ModemScript class20(ModemScript s = {}) {
    s.classes = "0,1,2.0";
    return s;
}

// Lines of coded data with every byte value, DLE among them.
std::vector<std::vector<uint8_t>> someLines(int count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::vector<uint8_t>> lines(static_cast<size_t>(count));
    for (auto& line : lines) {
        line.resize(4 + random() % 60);
        for (auto& b : line) b = uint8_t(random());
        line[1] = Class2Transmitter::kDle;
    }
    return lines;
}

std::vector<uint8_t> joined(const std::vector<std::vector<uint8_t>>& lines) {
    std::vector<uint8_t> all;
    for (const auto& l : lines) all.insert(all.end(), l.begin(), l.end());
    return all;
}

bool sendLines(Class2Transmitter& fax, const std::vector<std::vector<uint8_t>>& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (!fax.sendLine(lines[i], i + 1 == lines.size())) return false;
    return fax.endPageData();
}

TEST(Class2Transmitter, SetUpSendsTheIdentityAndTheDerivedParameters) {
    Call call;
    ASSERT_TRUE(call.opened);
    call.fax.setLocalId("ABCDEFGHIJKLMNOPQRSTUVWXY");
    ASSERT_TRUE(call.fax.startClass2());
    EXPECT_TRUE(call.has("AT+FCLASS=2"));
    EXPECT_TRUE(call.has("AT+FBOR=0"));
    EXPECT_TRUE(call.has("AT+FLID=\"ABCDEFGHIJKLMNOPQRST\""));
    EXPECT_TRUE(call.has("AT+FDCC=1,5,0,0,0,0,0,1"));
    EXPECT_EQ(call.fax.capabilities, "1,5,0,0,0,0,0,1");
    EXPECT_TRUE(call.link.setupError.empty());
    EXPECT_EQ(call.simulator.modemClass(), "2");
    EXPECT_TRUE(call.fax.restoreClass());
    EXPECT_EQ(call.simulator.modemClass(), "0");
    call.fax.setLocalId("");
    ASSERT_TRUE(call.fax.startClass2());
    EXPECT_TRUE(call.has("AT+FLID=\"" + std::string(20, ' ') + "\""));
}

TEST(Class2Transmitter, ModemsWithoutClass2OrWithBadAnswersAreRefused) {
    {
        ModemScript s;
        s.classes = "0,1";
        Call call(s);
        EXPECT_FALSE(call.fax.startClass2());
        EXPECT_EQ(call.link.setupError, faxtext::kClass2Invalid);
    }
    {
        ModemScript s;
        s.capabilities = "1,5,0";  // too short to hold every value
        Call call(s);
        EXPECT_FALSE(call.fax.startClass2());
        EXPECT_EQ(call.link.setupError, faxtext::kFaxInitError);
    }
    {
        ModemScript s;
        s.currentClass = "x";
        Call call(s);
        EXPECT_FALSE(call.fax.startClass2());
        EXPECT_EQ(call.link.setupError, faxtext::kFaxInitError);
    }
}

TEST(Class2Transmitter, DiallingReportsWhyACallFailed) {
    {
        Call call;
        ASSERT_TRUE(call.connect());
        EXPECT_TRUE(call.has("ATDT03-1234-5678"));
        EXPECT_EQ(call.fax.calledStation, "81 3 1234 5678");
        EXPECT_EQ(call.fax.pageParameters, "1,5,0,2,0,0,0,0");  // the receiver's
        EXPECT_EQ(call.link.lineSpeed(), 19200);
    }
    const std::pair<const char*, std::string_view> failures[] = {
        {"BUSY", faxtext::kBusy},
        {"NO DIALTONE", faxtext::kNoDialTone},
        {"NO ANSWER", faxtext::kNoAnswer},
        {"CONNECT 2400", faxtext::kNoAnswer},  // a data modem answered
        {"ERROR", faxtext::kNoAnswer},
    };
    for (const auto& [result, text] : failures) {
        ModemScript s;
        s.dialResults = {result};
        Call call(s);
        EXPECT_FALSE(call.connect()) << result;
        EXPECT_EQ(call.link.callResultText, text) << result;
    }
    Call call;
    ASSERT_TRUE(call.fax.startClass2());
    const size_t before = call.simulator.commands().size();
    EXPECT_FALSE(call.fax.dialFax(" - ( ) ", 'P'));
    EXPECT_EQ(call.link.callResultText, faxtext::kBadNumber);
    EXPECT_EQ(call.simulator.commands().size(), before);  // nothing was sent
    EXPECT_TRUE(call.fax.dialFax("0 3 1 2", 'P'));
    EXPECT_TRUE(call.has("ATDP0312"));
}

TEST(Class2Transmitter, PageParametersFollowTheSpeedLimit) {
    for (const auto& [limit, expected] : {std::pair{9600, "AT+FDIS=1,3,0,2,0,0,0,0"}, {14400, "AT+FDIS=1,5,0,2,0,0,0,0"}}) {
        Call call;
        call.fax.setSpeedLimit(limit);
        ASSERT_TRUE(call.connect());
        ASSERT_TRUE(call.fax.beginPage(false));
        EXPECT_TRUE(call.has(expected)) << limit;
        // The modem sends what was asked, within what the receiver offers (14400).
        EXPECT_EQ(call.simulator.negotiated(), std::vector<std::string>{std::string(expected).substr(8)}) << limit;
    }
}

TEST(Class2Transmitter, PagesArriveWholeWithDleDoubledOnTheLine) {
    Call call;
    ASSERT_TRUE(call.connect());
    std::vector<std::vector<uint8_t>> pages;
    for (int page = 0; page < 2; ++page) {
        const auto lines = someLines(700, 10 + page);
        ASSERT_TRUE(call.fax.beginPage(false));
        ASSERT_TRUE(sendLines(call.fax, lines));
        const std::vector<uint8_t> data = joined(lines);
        const size_t doubled = data.size() + size_t(std::count(data.begin(), data.end(), Class2Transmitter::kDle));
        EXPECT_EQ(call.fax.bytesQueued, doubled);
        EXPECT_EQ(call.fax.bytesWritten, doubled);
        EXPECT_TRUE(call.fax.endPage(page == 1 ? 2 : 0));
        EXPECT_EQ(call.fax.postPageStatus, 1);
        EXPECT_EQ(call.fax.pageResultText, faxtext::kPageGood);
        EXPECT_FALSE(call.fax.pageError);
        pages.push_back(data);
    }
    // The last post-page message brings +FHNG:0: a normal end.
    EXPECT_EQ(call.fax.hangUpCode, 0);
    EXPECT_EQ(call.fax.hangUpText, "ERR:0");
    EXPECT_EQ(call.simulator.pages(), pages);
    EXPECT_TRUE(call.fax.hangUp());
    EXPECT_TRUE(call.has("ATH"));
    EXPECT_FALSE(call.has("AT+FK"));  // only a call without pages is ended with AT+FK
}

// The lines of a page, stopping at the first the transmitter refuses;
// false when one was refused.
bool sendLinesUntilOneFails(Class2Transmitter& fax, const std::vector<std::vector<uint8_t>>& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (!fax.sendLine(lines[i], i + 1 == lines.size())) return false;
    return true;
}

class NoProgress : public FaxRowProgress {
public:
    void showRow(int32_t) override {}
};

// Pages fitted and coded as a send job does, through a modem that reports
// what real ones may (answer tone, non-standard facilities, the receiver's
// id, training confirmation) and times the page data at the negotiated rate.
TEST(Class2Transmitter, CodedPagesArriveAsTheReceiverDecodesThem) {
    ModemScript s;
    s.reportAnswerTone = true;
    s.nonStandard = "00 00 0E 41";
    s.transmittingStation = "RECEIVER";
    s.reportConfirmation = true;
    s.receiverDis = "1,3,0,2,0,0,0,0";  // 9600 at most
    Call call(s);
    ASSERT_TRUE(call.connect());
    EXPECT_EQ(call.fax.calledStation, "81 3 1234 5678");
    const PageRaster pages[2] = {test::makePage(test::Pattern::Text, 1728, 2290, 7),
                                 test::makePage(test::Pattern::ThinLines, 1728, 2290, 8)};
    FitScaler scaler;
    NoProgress progress;
    for (int page = 0; page < 2; ++page) {
        ASSERT_TRUE(call.fax.beginPage(false));
        ASSERT_TRUE(scaler.fitIntoFaxPage(pages[page], std::nullopt, std::nullopt, progress, call.fax));
        ASSERT_TRUE(call.fax.endPage(page == 1 ? 2 : 0));
    }
    EXPECT_EQ(call.simulator.negotiated(), (std::vector<std::string>{"1,3,0,2,0,0,0,0", "1,3,0,2,0,0,0,0"}));
    const auto received = call.simulator.pages();
    ASSERT_EQ(received.size(), 2u);
    test::expectReceivedPages(received, {&pages[0], &pages[1]});
}

TEST(Class2Transmitter, ALostCarrierInTheMiddleOfAPageFailsIt) {
    ModemScript s;
    s.noCarrierPage = 0;
    s.noCarrierAfterBytes = 1500;
    Call call(s);
    ASSERT_TRUE(call.connect());
    ASSERT_TRUE(call.fax.beginPage(false));
    EXPECT_FALSE(sendLinesUntilOneFails(call.fax, someLines(3000, 4)));
    EXPECT_TRUE(call.fax.pageError);
    EXPECT_EQ(call.link.callStatus, CallStatus::Ended);
    EXPECT_TRUE(call.simulator.pages().empty());
    call.fax.hangUp();
    EXPECT_TRUE(call.link.ping());  // the modem takes commands again
}

// In either command set: the receiver's RTN, and a hang-up in the middle of
// a page, reported in class 2.0 in hexadecimal, read as in class 2.
TEST(Class2Transmitter, PostPageStatusTwoIsARetrainRequestAndAPageError) {
    for (const bool twoPointZero : {false, true}) {
        SCOPED_TRACE(twoPointZero ? "class 2.0" : "class 2");
        ModemScript s;
        s.pageStatus[0] = 2;
        Call call(twoPointZero ? class20(s) : s);
        ASSERT_TRUE(call.connect());
        ASSERT_TRUE(call.fax.beginPage(false));
        ASSERT_TRUE(sendLines(call.fax, someLines(20, 3)));
        EXPECT_TRUE(call.fax.endPage(2));
        EXPECT_EQ(call.fax.postPageStatus, 2);
        EXPECT_EQ(call.fax.pageResultText, faxtext::kPageBadRetrain);
        EXPECT_TRUE(call.fax.pageError);
    }
}

TEST(Class2Transmitter, AHangUpInTheMiddleOfAPageFailsIt) {
    for (const bool twoPointZero : {false, true}) {
        SCOPED_TRACE(twoPointZero ? "class 2.0" : "class 2");
        ModemScript s;
        s.hangUpPage = 0;
        s.hangUpAfterBytes = 1500;
        Call call(twoPointZero ? class20(s) : s);
        ASSERT_TRUE(call.connect());
        ASSERT_TRUE(call.fax.beginPage(false));
        EXPECT_FALSE(sendLinesUntilOneFails(call.fax, someLines(3000, 4)));
        EXPECT_EQ(call.fax.hangUpCode, 50);
        EXPECT_EQ(call.fax.hangUpText, "ERR:50");
        EXPECT_TRUE(call.fax.pageError);
        EXPECT_EQ(call.link.callStatus, CallStatus::Ended);
        EXPECT_TRUE(call.fax.hangUp());
        EXPECT_TRUE(call.simulator.pages().empty());
        EXPECT_TRUE(call.link.ping());  // the modem takes commands again
    }
}

TEST(Class2Transmitter, FlowControlAndASlowReaderLoseNothing) {
    ModemScript s;
    s.xoffPage = 0;
    s.xoffAfterBytes = 5000;
    s.xoffMs = 150;
    s.slowReadMicros = 300;
    Call call(s, 4096);  // a ring small enough to fill
    ASSERT_TRUE(call.connect());
    const auto lines = someLines(600, 5);
    ASSERT_TRUE(call.fax.beginPage(false));
    ASSERT_TRUE(sendLines(call.fax, lines));
    EXPECT_TRUE(call.fax.endPage(2));
    ASSERT_EQ(call.simulator.pages().size(), 1u);
    EXPECT_EQ(call.simulator.pages()[0], joined(lines));
}

TEST(Class2Transmitter, CancelDuringPageDataFailsTheLine) {
    Call call;
    ASSERT_TRUE(call.connect());
    ASSERT_TRUE(call.fax.beginPage(false));
    call.link.requestAbort();
    const auto lines = someLines(400, 6);
    bool sent = true;
    for (size_t i = 0; i < lines.size() && sent; ++i) sent = call.fax.sendLine(lines[i], false);
    EXPECT_FALSE(sent);
}

// What modems answer to AT+FCLASS=? (as their manuals print it), and
// which class the program then uses.
TEST(FaxDialect, TheClassComesFromWhatTheModemOffers) {
    const std::pair<const char*, const char*> offers[] = {
        {"0,1,2", "2"},           {"0,1,2,2.0", "2"},   {"0,1,1.0,2,2.0,2.1,8", "2"},
        {"0,1,2.0", "2.0"},       {"(0,1,1.0,2.0,8)", "2.0"}, {"+FCLASS: 0,1,2.1", "2.1"},
        {"0, 1, 2.0, 8", "2.0"},  {"0,1,1.0,8", ""},    {"0,1", ""}, {"", ""},
        {"0-2", "2"},             {"0,1,20", "2"},  // not a list of ours: a 2 in it is class 2, as always
    };
    for (const auto& [offered, chosen] : offers) {
        const std::optional<FaxClassChoice> choice = chooseFaxClass(offered);
        EXPECT_EQ(choice ? choice->value : "", chosen) << offered;
        if (choice) {
            EXPECT_EQ(choice->dialect, choice->value == "2" ? FaxDialect::Class2 : FaxDialect::Class20);
        }
    }
    for (const auto& [answer, current] :
         {std::pair{"0", "0"}, {"2.0", "2.0"}, {"+FCLASS: 1", "1"}, {" 8", "8"}, {"x", ""}, {".5", ""}})
        EXPECT_EQ(currentFaxClass(answer), current) << answer;
}

// Class 2.0 reports under their own names, the hang-up cause in
// hexadecimal: read as the class 2 ones, so that the texts are the same.
TEST(FaxDialect, Class20ReportsReadAsTheirClass2Counterparts) {
    for (const auto& [hex, code] : {std::pair{"00", 0}, {"02", 2}, {"50", 50}, {"A0", 100}, {"a1", 101}, {"43", 43}})
        EXPECT_EQ(class2HangUpCode(hex), code) << hex;
    EXPECT_EQ(parseFaxResponse("+FHS:A0").kind, ResponseKind::HangUp);
    EXPECT_EQ(parseFaxResponse("+FHS:A0").number, 100);
    EXPECT_EQ(parseFaxResponse("+FHNG:100").number, 100);
    EXPECT_EQ(parseFaxResponse("+FPS:2,2290,0,0,0").kind, ResponseKind::PostPageStatus);
    EXPECT_EQ(parseFaxResponse("+FPS:2,2290,0,0,0").number, 2);
    EXPECT_EQ(parseFaxResponse("+FCI: \"81 3 1234\"").value, "81 3 1234");
    EXPECT_EQ(parseFaxResponse("+FCI: \"81 3 1234\"").kind, ResponseKind::CalledStation);
    EXPECT_EQ(parseFaxResponse("+FTI:\"X\"").kind, ResponseKind::TransmittingStation);
    EXPECT_EQ(parseFaxResponse("+FIS:1,5,0,2,0,0,0,0,0").kind, ResponseKind::ReceiverCapabilities);
    EXPECT_EQ(parseFaxResponse("+FCS:1,3,0,2,0,0,0,0,0").kind, ResponseKind::Negotiated);
    EXPECT_EQ(parseFaxResponse("+FNF:00 00").kind, ResponseKind::NonStandard);
    EXPECT_EQ(parseCommandResponse("+FCO").kind, ResponseKind::FaxConnect);
    EXPECT_EQ(parseCommandResponse("+FCOX").kind, ResponseKind::Other);
    EXPECT_EQ(parameterValues("+FCC: 1,5,0,2,0,0,0,0,0"),
              (std::vector<std::string>{"1", "5", "0", "2", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(parameterValues("7F,D"), (std::vector<std::string>{"7F", "D"}));
}

// A modem that offers class 2.0 and no class 2 gets the whole call in the
// 2.0 command set: the strict simulator refuses any class 2 command, and
// each page ends with DLE and its post-page message.
TEST(Class2Transmitter, AClass20ModemGetsTheCallInItsOwnCommands) {
    for (const bool mixed : {false, true}) {
        ModemScript s = class20();
        s.mixedReports = mixed;  // some modems give class 2 names to 2.0 reports
        s.transmittingStation = "RECEIVER";
        Call call(s);
        call.fax.setLocalId("LUMIPAGE");
        ASSERT_TRUE(call.connect()) << mixed;
        EXPECT_EQ(call.fax.dialect(), FaxDialect::Class20);
        EXPECT_TRUE(call.has("AT+FCLASS=2.0"));
        EXPECT_TRUE(call.has("AT+FBO=0"));
        EXPECT_TRUE(call.has("AT+FLI=\"LUMIPAGE            \""));
        EXPECT_TRUE(call.has("AT+FCC=1,5,0,0,0,0,0,1,0"));
        EXPECT_EQ(call.fax.calledStation, "81 3 1234 5678");
        EXPECT_EQ(call.fax.transmittingStation, "RECEIVER");
        std::vector<std::vector<uint8_t>> pages;
        for (int page = 0; page < 2; ++page) {
            const auto lines = someLines(300, 20 + page);
            ASSERT_TRUE(call.fax.beginPage(page == 1));
            ASSERT_TRUE(sendLines(call.fax, lines));
            EXPECT_TRUE(call.fax.endPage(page == 1 ? 2 : 0));
            EXPECT_EQ(call.fax.pageResultText, faxtext::kPageGood);
            EXPECT_FALSE(call.fax.pageError);
            pages.push_back(joined(lines));
        }
        EXPECT_TRUE(call.has("AT+FIS=1,5,0,2,0,0,0,0,0"));
        EXPECT_TRUE(call.has("AT+FIS=0,5,0,2,0,0,0,0,0"));  // the second page in normal resolution
        EXPECT_EQ(call.fax.hangUpCode, 0);
        EXPECT_EQ(call.simulator.pages(), pages);
        EXPECT_TRUE(call.simulator.violations().empty()) << call.simulator.violations().front();
        EXPECT_TRUE(call.fax.hangUp());
        EXPECT_FALSE(call.has("AT+FKS"));
        const auto commands = call.simulator.commands();
        EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](const std::string& c) { return c.find("+FET") != c.npos; }),
                  0);
        EXPECT_TRUE(call.fax.restoreClass());
        EXPECT_EQ(call.simulator.modemClass(), "0");
    }
    // A call ended before any page is ended with the 2.0 command.
    Call call(class20());
    ASSERT_TRUE(call.connect());
    EXPECT_TRUE(call.fax.hangUp());
    EXPECT_TRUE(call.has("AT+FKS"));
    EXPECT_FALSE(call.has("AT+FK"));
}

}  // namespace
}  // namespace lumipage
