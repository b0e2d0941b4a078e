#include <gtest/gtest.h>

#include <algorithm>

#include "twain/TwainContainer.h"
#include "scan/TwainSession.h"
#include "support/FakeTwainSource.h"
#include "support/RecordingMessages.h"

namespace lumipage {
namespace {

using namespace twain;
using test::FakeHost;
using test::FakeLibrary;
using test::FakeTwainSource;
using test::RecordingClient;
using test::RecordingMessages;

struct Session {
    explicit Session(FakeTwainSource* source) : library(source), session(library, messages, host, "Lumipage 0.1") {}
    FakeLibrary library;
    RecordingMessages messages;
    FakeHost host;
    TwainSession session;
};

bool called(const FakeTwainSource& source, const std::string& call) {
    return std::find(source.calls.begin(), source.calls.end(), call) != source.calls.end();
}

TEST(TwainSessionOpen, ManagerFailuresAreReportedAndUnwound) {
    Session none(nullptr);
    EXPECT_FALSE(none.session.OpenDefaultSource());
    EXPECT_EQ(none.messages.said, std::vector<std::string>{"Unable to load Source Manager (TWAIN_32.DLL)"});
    EXPECT_EQ(none.session.state(), 1);

    FakeTwainSource refusing;
    refusing.openManagerFails = true;
    Session closed(&refusing);
    EXPECT_FALSE(closed.session.OpenDefaultSource());
    EXPECT_EQ(closed.messages.last(), "Unable to open Source Manager (TWAIN_32.DLL)");
    EXPECT_EQ(closed.session.state(), 1);
    EXPECT_EQ(closed.library.unloads, closed.library.loads);

    FakeTwainSource noSource;
    noSource.openSourceFails = true;
    noSource.failureCondition = TWCC_NODS;
    Session missing(&noSource);
    EXPECT_FALSE(missing.session.OpenDefaultSource());
    EXPECT_EQ(missing.messages.last(),
              "Unable to open default Data Source.\nSource Manager operation failed\nRC:   TWRC_FAILURE\n"
              "CC:   TWCC_NODS (No Data Source)");
    EXPECT_EQ(missing.session.state(), 1);
    EXPECT_TRUE(called(noSource, "dsm 1/4/0302"));  // the manager was closed again
}

TEST(TwainSessionOpen, TellsWhetherAManagerIsThereWithoutKeepingItLoaded) {
    Session none(nullptr);
    EXPECT_FALSE(none.session.managerAvailable());
    EXPECT_TRUE(none.messages.said.empty());
    FakeTwainSource source;
    Session s(&source);
    EXPECT_TRUE(s.session.managerAvailable());
    EXPECT_EQ(s.session.state(), 1);
    EXPECT_EQ(s.library.unloads, 1);
    EXPECT_TRUE(source.calls.empty());
}

TEST(TwainSessionOpen, OpensTheDefaultSourceAndClosesEverything) {
    FakeTwainSource source;
    Session s(&source);
    ASSERT_TRUE(s.session.OpenDefaultSource());
    EXPECT_EQ(s.session.state(), 4);
    EXPECT_TRUE(s.session.isOpen());
    EXPECT_TRUE(s.session.OpenDefaultSource());  // already open: nothing more
    EXPECT_EQ(s.library.loads, 1);
    const TW_IDENTITY& app = s.session.appIdentity();
    EXPECT_STREQ(app.Manufacturer, "Quor");
    EXPECT_STREQ(app.ProductName, "Lumipage");
    EXPECT_EQ(app.Version.Country, TWCY_JAPAN);
    EXPECT_EQ(app.ProtocolMinor, 7);
    const uint32_t groups = app.SupportedGroups;  // a packed field: read by value
    EXPECT_EQ(groups, DG_CONTROL | DG_IMAGE);
    s.session.CloseSource();
    EXPECT_EQ(s.session.state(), 1);
    EXPECT_FALSE(s.session.isOpen());
    EXPECT_TRUE(called(source, "dsm 1/3/0402"));
    EXPECT_TRUE(s.messages.said.empty());
}

TEST(TwainSessionCapabilities, RefusedOutsideState4WithoutTouchingTheSource) {
    FakeTwainSource source;
    Session s(&source);
    EXPECT_FALSE(s.session.SetCapability(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY));
    EXPECT_EQ(s.messages.last(), "Attempt to set capability outside State 4.");
    EXPECT_FALSE(s.session.GetCapability(ICAP_PIXELTYPE, TWTY_UINT16));
    EXPECT_EQ(s.messages.last(), "Attempt to get capability value below State 4.");
    EXPECT_TRUE(source.calls.empty());
    EXPECT_EQ(s.session.errorCode(), 7);
}

TEST(TwainSessionCapabilities, TheFirstErrorIsTheOneReported) {
    FakeTwainSource source;
    source.refusedSets = {ICAP_THRESHOLD};
    source.failureCondition = TWCC_BADVALUE;
    Session s(&source);
    ASSERT_TRUE(s.session.OpenDefaultSource());
    EXPECT_FALSE(s.session.SetCapability(ICAP_THRESHOLD, TWTY_FIX32, 128));
    source.failureCondition = TWCC_BADCAP;
    EXPECT_FALSE(s.session.GetCapability(ICAP_GAMMA, TWTY_FIX32));  // not answered: a second error
    EXPECT_EQ(s.session.errorReport("Caption"),
              "Caption\nDAT_CAPABILITY/MSG_SET failed\nRC:   TWRC_FAILURE\nCC:   TWCC_BADVALUE (Data parameter out of range)");
    s.session.clearError();
    EXPECT_FALSE(s.session.GetCapability(ICAP_GAMMA, TWTY_FIX32));
    EXPECT_EQ(s.session.errorCode(), 2);
    EXPECT_EQ(s.session.errorReport("X"), "X\nDAT_CAPABILITY/MSG_GET failed\nRC:   TWRC_FAILURE\nCC:   TWCC_BADCAP (Unknown capability)");
    ASSERT_EQ(source.sets.size(), 1u);
    EXPECT_DOUBLE_EQ(source.sets[0].second, 128);
}

TEST(TwainSessionCapabilities, ContainersAreCheckedForKindTypeAndContents) {
    FakeTwainSource source;
    const uint16_t types[3] = {TWPT_BW, TWPT_GRAY, TWPT_RGB};
    source.answer(ICAP_PIXELTYPE, TWON_ENUMERATION,
                  makeEnumeration(TWTY_UINT16, {reinterpret_cast<const uint8_t*>(types), sizeof types}, 3, 1, 0));
    source.answer(ICAP_PHYSICALWIDTH, TWON_ONEVALUE, makeOneValue(TWTY_FIX32, fix32Bits(toFix32(8.5))));
    source.answer(CAP_FEEDERENABLED, TWON_ONEVALUE, makeOneValue(TWTY_BOOL, 1));
    source.answer(ICAP_XSCALING, TWON_RANGE, makeRange(TWTY_FIX32, 0, 0, 0, 0, 0));
    source.answer(ICAP_BITDEPTH, TWON_ENUMERATION, makeEnumeration(TWTY_UINT16, {}, 0, 0, 0));
    Session s(&source);
    ASSERT_TRUE(s.session.OpenDefaultSource());
    EXPECT_EQ(s.session.GetCapability(ICAP_PIXELTYPE, TWTY_UINT16), TWPT_GRAY);
    EXPECT_EQ(s.session.GetCapability(ICAP_PIXELTYPE, TWTY_INT16), TWPT_GRAY);  // same size: alike
    EXPECT_DOUBLE_EQ(s.session.GetCapability(ICAP_PHYSICALWIDTH, TWTY_FIX32).value_or(0), 8.5);
    EXPECT_EQ(s.session.GetCapability(CAP_FEEDERENABLED, TWTY_UINT16), 1);
    EXPECT_EQ(s.session.errorCode(), 0);

    EXPECT_FALSE(s.session.GetCapability(ICAP_PHYSICALWIDTH, TWTY_UINT16));
    EXPECT_EQ(s.session.errorCode(), 11);
    s.session.clearError();
    EXPECT_FALSE(s.session.GetCapability(ICAP_XSCALING, TWTY_FIX32));
    EXPECT_EQ(s.session.errorCode(), 10);
    s.session.clearError();
    EXPECT_FALSE(s.session.GetCapability(ICAP_BITDEPTH, TWTY_UINT16));
    EXPECT_EQ(s.session.errorCode(), 12);
}

TEST(TwainFix32, ConvertsBothWaysAndClamps) {
    EXPECT_DOUBLE_EQ(fromFix32(toFix32(300)), 300);
    EXPECT_DOUBLE_EQ(fromFix32(toFix32(-1.5)), -1.5);
    EXPECT_EQ(toFix32(-1.5).Whole, -2);
    EXPECT_EQ(toFix32(-1.5).Frac, 0x8000);
    EXPECT_NEAR(fromFix32(toFix32(0.01)), 0.01, 1.0 / 65536);
    EXPECT_DOUBLE_EQ(fromFix32(toFix32(1e9)), 32767);
    EXPECT_DOUBLE_EQ(fromFix32(toFix32(-1e9)), -32767);
}

// Acquisition.

struct Acquisition : Session {
    explicit Acquisition(FakeTwainSource* source) : Session(source) {}
    bool run() {
        if (!session.OpenDefaultSource()) return false;
        return session.Acquire(page, client);
    }
    PageRaster page;
    RecordingClient client;
};

TEST(TwainAcquire, GrayPagesAreCutToWholeBytesAndThresholdedAt128) {
    FakeTwainSource source;
    source.width = 2550;
    source.height = 3300;
    source.rowsPerStrip = 97;
    source.fillGray({127, 128, 0, 255, 127, 200, 10, 128});
    Acquisition a(&source);
    ASSERT_TRUE(a.run());
    ASSERT_EQ(a.client.pages.size(), 1u);
    EXPECT_EQ(a.client.sizes[0], std::make_pair(2544, 3296));
    EXPECT_EQ(a.page.dpi, 300);
    EXPECT_TRUE(a.client.grays[0]);
    const std::vector<uint8_t>& bytes = a.client.pages[0];
    EXPECT_EQ(bytes.size(), 318u * 3296u);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0xAA; }));
    EXPECT_EQ(a.session.grayCopy().size(), 2544u * 3296u);
    EXPECT_EQ(a.session.state(), 4);
    EXPECT_EQ(a.host.disables, 1);
    EXPECT_EQ(a.host.enables, 1);

    a.session.applyThreshold(129, a.page);  // 128 turns black too
    EXPECT_EQ(a.page.row(100)[0], 0xAA | 0x40 | 0x01);
}

TEST(TwainAcquire, RefusesColourAndUnknownDepths) {
    FakeTwainSource colour;
    colour.samplesPerPixel = 3;
    colour.fillGray({0});
    Acquisition a(&colour);
    EXPECT_FALSE(a.run());
    EXPECT_EQ(a.messages.last(), "カラー写真データは読み込めません");
    EXPECT_TRUE(a.client.pages.empty());
    EXPECT_EQ(a.session.state(), 4);

    FakeTwainSource sixteen;
    sixteen.fillGray({0});
    sixteen.bitsPerPixel = 16;
    Acquisition b(&sixteen);
    EXPECT_FALSE(b.run());
    EXPECT_EQ(b.messages.last(), "このデータは読み込めません");
    EXPECT_TRUE(b.client.pages.empty());
}

TEST(TwainAcquire, BilevelDataIsInvertedAndStripsAreStacked) {
    FakeTwainSource source;
    source.width = 20;  // cut to 16
    source.height = 12;
    source.bitsPerPixel = 1;
    source.rowsPerStrip = 3;
    source.image.assign(size_t(source.bytesPerRow()) * 12, 0);
    for (int r = 0; r < 12; ++r) source.image[size_t(r) * 3] = uint8_t(r);  // row number in the first byte
    source.stripsNumberedFromZero = true;  // as some sources number every strip
    Acquisition a(&source);
    ASSERT_TRUE(a.run());
    ASSERT_EQ(a.client.sizes[0], std::make_pair(16, 8));
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(a.page.row(r)[0], uint8_t(~r)) << r;
        EXPECT_EQ(a.page.row(r)[1], 0xff);
    }

    // Taking every YOffset as given puts each strip over the first rows.
    FakeTwainSource plain = source;
    plain.calls.clear();
    Acquisition b(&plain);
    b.session.setXeroxTwain(false);
    ASSERT_TRUE(b.run());
    EXPECT_EQ(b.page.row(0)[0], uint8_t(~9));
    EXPECT_EQ(b.page.row(3)[0], 0);  // never written: white
}

TEST(TwainAcquire, SurvivesMoreRowsThanAnnouncedAndTinyBuffers) {
    FakeTwainSource source;
    source.width = 13;
    source.height = 9;
    source.extraRows = 40;
    source.rowsPerStrip = 1;
    source.fillGray({0, 255});
    Acquisition a(&source);
    ASSERT_TRUE(a.run());
    EXPECT_EQ(a.client.sizes[0], std::make_pair(8, 8));
    for (int r = 0; r < 8; ++r) EXPECT_EQ(a.page.row(r)[0], 0xAA);
}

TEST(TwainAcquire, AFailedStripKeepsNoPage) {
    FakeTwainSource source;
    source.fillGray({0});
    source.failAtStrip = 1;
    source.failureCondition = TWCC_OPERATIONERROR;
    Acquisition a(&source);
    EXPECT_FALSE(a.run());
    EXPECT_TRUE(a.client.pages.empty());
    EXPECT_EQ(a.session.state(), 4);
    EXPECT_EQ(a.session.errorCode(), 5);
    EXPECT_TRUE(called(source, "src 1/9/0501"));  // disabled again
}

TEST(TwainAcquire, NumberingTakesEveryPendingPageOtherwiseOne) {
    // Without a feeder the pages pending after the first are discarded.
    FakeTwainSource glass;
    glass.fillGray({0});
    glass.pages = 3;
    Acquisition g(&glass);
    ASSERT_TRUE(g.run());
    EXPECT_EQ(g.client.pages.size(), 1u);

    FakeTwainSource source;
    source.fillGray({0});
    source.pages = 3;
    Acquisition a(&source);
    a.session.setFeederEnabled(true);
    ASSERT_TRUE(a.run());
    EXPECT_EQ(a.client.pages.size(), 3u);
    EXPECT_EQ(a.client.advances, 3);

    FakeTwainSource once = source;
    once.calls.clear();
    Acquisition b(&once);
    b.session.setFeederEnabled(true);
    b.client.numberedOption = false;
    ASSERT_TRUE(b.run());
    EXPECT_EQ(b.client.pages.size(), 1u);
    EXPECT_TRUE(called(once, "src 1/5/0007"));  // the other pages were discarded
}

TEST(TwainAcquire, EnableFailureIsReportedInDetail) {
    FakeTwainSource source;
    source.enableFails = true;
    source.failureCondition = TWCC_SEQERROR;
    Acquisition a(&source);
    EXPECT_FALSE(a.run());
    EXPECT_EQ(a.messages.last(),
              "Failed to enable Data Source.\nDataSource operation failed\nRC:   TWRC_FAILURE\n"
              "CC:   TWCC_SEQERROR (Triplet out of sequence)");
    EXPECT_EQ(a.session.state(), 4);
}

}  // namespace
}  // namespace lumipage
