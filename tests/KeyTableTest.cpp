// The page view's key and character table: the start-up switches that take
// keys away, what works without a page, and the keys that follow the
// right-to-left page layout.
#include <gtest/gtest.h>

#include "base/CommandIds.h"
#include "app/KeyTable.h"
#include "view/CLP98View.h"

namespace lumipage {
namespace {

using namespace command;
using Kind = KeyAction::Kind;

KeyContext withPage() {
    KeyContext c;
    c.pageShown = true;
    return c;
}

int commandOf(const KeyAction& a) { return a.kind == Kind::Command ? a.command : 0; }

TEST(KeyTable, StartupSwitchesTakeAwayFileScanAndFaxKeys) {
    KeyContext c = withPage();
    EXPECT_EQ(commandOf(keyAction(ViewKey::F1, KeyModifier::None, c)), kOpen);
    EXPECT_EQ(commandOf(keyAction(ViewKey::F1, KeyModifier::Shift, c)), kConvertAll);
    EXPECT_EQ(commandOf(keyAction(ViewKey::F2, KeyModifier::Shift, c)), kRescan);
    EXPECT_EQ(commandOf(keyAction(ViewKey::F3, KeyModifier::None, c)), kCopyDirect);
    EXPECT_EQ(commandOf(keyAction(ViewKey::F4, KeyModifier::Shift, c)), kPhoneBook);
    EXPECT_EQ(commandOf(characterAction('o', false, c)), kOpen);

    c.fileFunctions = false;
    EXPECT_EQ(keyAction(ViewKey::F1, KeyModifier::None, c).kind, Kind::None);
    EXPECT_EQ(keyAction(ViewKey::F1, KeyModifier::Shift, c).kind, Kind::None);
    EXPECT_EQ(characterAction('O', false, c).kind, Kind::None);
    c.scanning = false;
    for (ViewKey k : {ViewKey::F2, ViewKey::F3})
        for (KeyModifier m : {KeyModifier::None, KeyModifier::Shift}) EXPECT_EQ(keyAction(k, m, c).kind, Kind::None);
    c.fax = false;
    EXPECT_EQ(keyAction(ViewKey::F4, KeyModifier::None, c).kind, Kind::None);
    EXPECT_EQ(keyAction(ViewKey::F4, KeyModifier::Shift, c).kind, Kind::None);
    // Keys of other groups stay.
    EXPECT_EQ(commandOf(keyAction(ViewKey::F6, KeyModifier::Control, c)), kPrintScreen);
    EXPECT_EQ(commandOf(characterAction('n', true, c)), kNextSelected);
}

TEST(KeyTable, WithoutAPageOnlyTheOpenCharacterWorks) {
    KeyContext c;
    EXPECT_EQ(commandOf(characterAction('o', false, c)), kOpen);
    for (char ch : std::string("ABCNPVZ5+-/= *"))
        EXPECT_EQ(characterAction(ch, false, c).kind, Kind::None) << ch;
    // The keys themselves still reach their commands, which decide for themselves.
    EXPECT_EQ(commandOf(keyAction(ViewKey::F1, KeyModifier::None, c)), kOpen);
    EXPECT_EQ(commandOf(keyAction(ViewKey::F1, KeyModifier::Shift, c)), 0);  // converting needs pages
}

TEST(KeyTable, StartCornerFollowsTheRightToLeftLayout) {
    KeyContext c = withPage();
    const KeyAction home = keyAction(ViewKey::Home, KeyModifier::None, c);
    EXPECT_EQ(home, (KeyAction{Kind::CommandThenEdges, kFirstPage, CLP98View::kEdgeStart, CLP98View::kEdgeStart}));
    EXPECT_EQ(characterAction('h', false, c), home);
    EXPECT_EQ(characterAction('q', false, c), (KeyAction{Kind::ScrollToEdges, 0, 6, 6}));
    EXPECT_EQ(keyAction(ViewKey::End, KeyModifier::None, c), (KeyAction{Kind::CommandThenEdges, kLastPage, 7, 7}));

    c.topRightStart = true;
    EXPECT_EQ(keyAction(ViewKey::Home, KeyModifier::None, c), (KeyAction{Kind::CommandThenEdges, kFirstPage, 7, 6}));
    EXPECT_EQ(characterAction('H', false, c), (KeyAction{Kind::CommandThenEdges, kFirstPage, 7, 6}));
    EXPECT_EQ(characterAction('Q', false, c), (KeyAction{Kind::ScrollToEdges, 0, 7, 6}));
    EXPECT_EQ(keyAction(ViewKey::End, KeyModifier::None, c), (KeyAction{Kind::CommandThenEdges, kLastPage, 6, 7}));
}

TEST(KeyTable, DigitsPlaceThePageLikeANumericPad) {
    const KeyContext c = withPage();
    // Row by row from the top: 7 8 9 / 4 5 6 / 1 2 3.
    const char* rows[3] = {"789", "456", "123"};
    const int edge[3] = {CLP98View::kEdgeStart, CLP98View::kEdgeCentre, CLP98View::kEdgeEnd};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(characterAction(rows[row][column], false, c), (KeyAction{Kind::ScrollToEdges, 0, edge[column], edge[row]}))
                << rows[row][column];
}

TEST(KeyTable, EscapeEndsTheProgramOnlyWhenAllowed) {
    KeyContext c = withPage();
    EXPECT_EQ(keyAction(ViewKey::Escape, KeyModifier::None, c).kind, Kind::PointerAboveClient);
    EXPECT_EQ(keyAction(ViewKey::Escape, KeyModifier::Shift, c).kind, Kind::PointerToCorner);
    EXPECT_EQ(keyAction(ViewKey::Escape, KeyModifier::Control, c).kind, Kind::None);
    c.enableEscKey = true;
    EXPECT_EQ(commandOf(keyAction(ViewKey::Escape, KeyModifier::None, c)), kExit);
    EXPECT_EQ(keyAction(ViewKey::Escape, KeyModifier::Shift, c).kind, Kind::PointerToCorner);
}

TEST(KeyTable, PrintsTheSelectionWhenThereIsOne) {
    KeyContext c = withPage();
    EXPECT_EQ(commandOf(characterAction('p', false, c)), kPrintAll);
    c.anySelected = true;
    EXPECT_EQ(commandOf(characterAction('p', false, c)), kPrintSelected);
    EXPECT_EQ(commandOf(keyAction(ViewKey::F6, KeyModifier::None, c)), kPrintAll);
}

}  // namespace
}  // namespace lumipage
