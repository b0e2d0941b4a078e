// The command table the window goes through: when the core offers each
// command as the page list, the scanner and the colour dialog change, and
// what the table runs.
#include <gtest/gtest.h>

#include "app/CommandRouter.h"
#include "app/CoreSession.h"
#include "app/SessionCommandStates.h"
#include "base/CommandIds.h"
#include "base/FileEditor.h"
#include "document/PageFileOperations.h"
#include "support/DocumentFixture.h"
#include "support/NoFileEditor.h"
#include "support/TestImages.h"
#include "support/ViewFakes.h"
#include "view/CLP98View.h"

namespace lumipage {
namespace {

using namespace command;

struct CommandRouting : test::DocumentFixture, ::testing::Test {
    PageFileOperations pageFiles{doc, settings, messages, &observer};
    test::NoFileEditor editor;
    bool scanner = false;
    bool colourOpen = false;
    std::vector<int> viewerRan;
    CommandRouter router;

    CommandRouting() {
        router.setFallback([](int id) { return CommandState{id == kNextPage, false, {}}; },
                           [this](int id) {
                               viewerRan.push_back(id);
                               return id == kNextPage;
                           });
        addSessionStates(router, SessionFacts{table, doc, [this]() -> PageFileOperations& { return pageFiles; },
                                              [this]() -> FileEditor& { return editor; }, [this] { return scanner; },
                                              [this] { return colourOpen; }});
    }
    bool on(int id) const { return router.state(id).enabled; }
};

TEST_F(CommandRouting, WhatIsOfferedFollowsThePageListTheScannerAndTheColourDialog) {
    // Nothing open: printing, faxing pages, contents and deleting are not offered.
    for (const int id : {kPrintAll, kPrintSelected, kPreviewAll, kFaxAll, kFaxSelected, kContents, kDeleteAllFiles,
                         kConvertAll, kRescan, kScanNew, kFaxSend})
        EXPECT_FALSE(on(id)) << id;
    for (const int id : {kPrinterSetup, kPhoneBook, kVoiceCall, kOptions, kEditComment, kColourAdjustment})
        EXPECT_TRUE(on(id)) << id;

    // With a scanner the fax key scans the pages to send; rescanning needs a file.
    scanner = true;
    EXPECT_TRUE(on(kFaxSend));
    EXPECT_TRUE(on(kScanNew));
    EXPECT_FALSE(on(kRescan));

    const PageRaster page = test::makePage(test::Pattern::Text, 96, 40, 1);
    ASSERT_TRUE(table.append(writeMH("two.MH", {&page, &page})));
    ASSERT_TRUE(doc.goToPage(1));
    scanner = false;
    EXPECT_TRUE(on(kFaxSend));  // pages to send now, scanner or not
    for (const int id : {kPrintAll, kPreviewAll, kFaxAll, kContents, kDeleteAllFiles, kConvertAll, kSaveCurrentFile})
        EXPECT_TRUE(on(id)) << id;
    EXPECT_FALSE(on(kPrintSelected));
    EXPECT_FALSE(on(kFaxSelected));
    EXPECT_FALSE(on(kEditCurrentFile));  // no program edits the file here
    table.select(2, true);
    EXPECT_TRUE(on(kPrintSelected));
    EXPECT_TRUE(on(kPreviewSelected));
    EXPECT_TRUE(on(kFaxSelected));

    EXPECT_FALSE(router.state(kColourAdjustment).checked);
    colourOpen = true;
    EXPECT_TRUE(router.state(kColourAdjustment).checked);
    EXPECT_FALSE(router.state(kSaveIndex).text.empty());
}

TEST_F(CommandRouting, HandlersRunOnlyWhenTheirCommandIsOfferedAndTheRestGoToTheViewer) {
    int printed = 0;
    router.setHandler(kPrintAll, [&printed] { ++printed; });
    EXPECT_FALSE(router.run(kPrintAll));  // no pages: not offered, not run
    EXPECT_EQ(printed, 0);
    const PageRaster page = test::makePage(test::Pattern::Text, 96, 40, 1);
    ASSERT_TRUE(table.append(writeMH("one.MH", {&page})));
    EXPECT_TRUE(router.run(kPrintAll));
    EXPECT_EQ(printed, 1);
    EXPECT_TRUE(viewerRan.empty());

    EXPECT_TRUE(router.run(kNextPage));
    EXPECT_FALSE(router.run(kPreviousPage));
    EXPECT_EQ(viewerRan, (std::vector<int>{kNextPage, kPreviousPage}));
    EXPECT_TRUE(router.decides(kPrintAll));
    EXPECT_FALSE(router.decides(kNextPage));
}

// The session under the window, without one: a command given to its table
// moves through the page list, the view shows each page the document loads,
// and a page loaded behind the view's back shows as out of date.
TEST_F(CommandRouting, ASessionWithoutAWindowRunsTheViewersCommands) {
    test::FakeViewHost host;
    CoreSession session(settings, table, doc,
                        SessionWindow{host, [] { return std::make_unique<test::NoFileEditor>(); }, nullptr,
                                      [] { return false; }});
    const PageRaster a = test::makePage(test::Pattern::Text, 320, 200, 1);
    const PageRaster b = test::makePage(test::Pattern::Noise, 320, 200, 2);
    ASSERT_TRUE(table.append(writeMH("two.MH", {&a, &b})));
    ASSERT_TRUE(doc.goToPage(1));
    EXPECT_TRUE(session.view().pageOutOfDate());
    session.view().ShowCurrentPage();
    EXPECT_FALSE(session.view().pageOutOfDate());

    EXPECT_TRUE(session.router().state(kNextPage).enabled);
    ASSERT_TRUE(session.router().run(kNextPage));
    EXPECT_EQ(table.currentPage(), 2);
    EXPECT_FALSE(session.view().pageOutOfDate());
    ASSERT_NE(session.view().orientation().displayed(), nullptr);
    EXPECT_EQ(test::firstDifferentRow(*session.view().orientation().displayed(), b), -1);
    EXPECT_FALSE(session.router().state(kNextPage).enabled);
    EXPECT_TRUE(session.router().state(kPrintAll).enabled);
    EXPECT_FALSE(session.router().state(kEditCurrentFile).enabled);  // no program edits it

    ASSERT_TRUE(doc.goToPage(1));  // as a job would
    EXPECT_TRUE(session.view().pageOutOfDate());
}

// The fax key decides in the core what it sends: the selected pages when
// there are any, else every page; without pages it scans the pages to send,
// and without a scanner it is off.
TEST_F(CommandRouting, TheFaxKeySendsTheSelectionElseEveryPageElseScans) {
    test::FakeViewHost host;
    CoreSession session(settings, table, doc,
                        SessionWindow{host, [] { return std::make_unique<test::NoFileEditor>(); }, nullptr,
                                      [] { return false; }});
    std::vector<int> sent;
    for (const int id : {kFaxSelected, kFaxAll, kFaxFromScanner})
        session.router().setHandler(id, [&sent, id] { sent.push_back(id); });
    EXPECT_FALSE(session.router().run(kFaxSend));  // no pages, no scanner
    const PageRaster page = test::makePage(test::Pattern::Text, 320, 200, 1);
    ASSERT_TRUE(table.append(writeMH("two.MH", {&page, &page})));
    EXPECT_TRUE(session.router().run(kFaxSend));
    table.select(2, true);
    EXPECT_TRUE(session.router().run(kFaxSend));
    EXPECT_EQ(sent, (std::vector<int>{kFaxAll, kFaxSelected}));
}

}  // namespace
}  // namespace lumipage
