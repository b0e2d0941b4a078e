// The phone book file in both layouts, its editing and sorting, and voice
// calls through the simulated modem.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fax/FaxTexts.h"
#include "fax/PhoneBook.h"
#include "fax/PhoneBookEditor.h"
#include "fax/VoiceCall.h"
#include "platform/File.h"
#include "platform/TextCodec.h"
#include "support/ModemFixture.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

std::span<const uint8_t> bytesOf(std::string_view s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

PhoneEntry entry(std::string_view name, std::string_view fax, std::string_view telephone = "") {
    PhoneEntry e;
    EXPECT_TRUE(PhoneEntry::fromDisplay(name, fax, telephone, e));
    return e;
}

std::string fileText(const PhoneBook& book) {
    const std::vector<uint8_t> bytes = book.write();
    return std::string(bytes.begin(), bytes.end());
}

TEST(PhoneBook, ColumnFileRoundTrip) {
    PhoneBook book;
    ASSERT_TRUE(book.insertEntry(0, entry("株式会社　東西商事", "03-1111-2222", "03-1111-2223")));
    ASSERT_TRUE(book.insertEntry(1, entry("Smith", "0120-000-000")));
    ASSERT_TRUE(book.insertEntry(2, entry(std::string(50, 'N'), "06-9999-0000", "06-9999-0001")));
    const std::string text = fileText(book);
    ASSERT_EQ(text.size(), 368u);
    EXPECT_EQ(text.substr(0, 92), std::string("FAX                 TEL                 NAME") + std::string(46, ' ') + "\r\n");
    const std::string third = text.substr(3 * 92, 92);
    EXPECT_EQ(third.substr(0, 20), "06-9999-0000        ");
    EXPECT_EQ(third.substr(20, 20), "06-9999-0001        ");
    EXPECT_EQ(third.substr(40, 52), std::string(50, 'N') + "\r\n");  // no blank after a full name
    for (size_t line = 0; line < 4; ++line) EXPECT_EQ(text.substr(line * 92 + 90, 2), "\r\n");

    PhoneBook again;
    again.read(bytesOf(text));
    EXPECT_EQ(again.entries(), book.entries());
    EXPECT_EQ(again.entries()[0].displayName(), "株式会社　東西商事");
    EXPECT_EQ(again.entries()[1].telephone, "");
}

TEST(PhoneBook, ShortAndNamelessColumnLinesAreSkipped) {
    const std::string header = "FAX" + std::string(87, ' ') + "\r\n";
    const std::string good = "011-111-1111" + std::string(28, ' ') + "Good" + std::string(46, ' ') + "\r\n";
    const std::string short89 = "022-222-2222" + std::string(28, ' ') + "Short" + std::string(44, ' ') + "\r\n";
    const std::string nameless = "033-333-3333" + std::string(78, ' ') + "\r\n";
    ASSERT_EQ(short89.size(), 91u);
    PhoneBook book;
    book.read(bytesOf(header + good + short89 + nameless + good));
    ASSERT_EQ(book.size(), 2u);
    EXPECT_EQ(book.entries()[0], (PhoneEntry{"Good", "011-111-1111", ""}));
}

TEST(PhoneBook, FreeLinesGiveNumberAndName) {
    const std::string company = *text::toCp932("株式会社テスト ");
    const std::string file = "03-1111-2222 " + company + "\r\n" + "\t 045-123\t\tSmith & Co  \n" + "0999999\r\n" +
                             "\r\n" + "0123456789012345678901234 " + std::string(60, 'x') + "\r\n";
    PhoneBook book;
    book.read(bytesOf(file));
    ASSERT_EQ(book.size(), 3u);
    EXPECT_EQ(book.entries()[0].displayFax(), "03-1111-2222");
    EXPECT_EQ(book.entries()[0].displayName(), "株式会社テスト");
    EXPECT_EQ(book.entries()[0].telephone, "");
    EXPECT_EQ(book.entries()[1], (PhoneEntry{"Smith & Co", "045-123", ""}));
    EXPECT_EQ(book.entries()[2].fax, "01234567890123456789");
    EXPECT_EQ(book.entries()[2].name, std::string(50, 'x'));
}

TEST(PhoneBook, AnEmptyBookNeverOverwritesTheFile) {
    const std::string path = test::tempFolder() + "/" + PhoneBook::kFileName;
    PhoneBook book;
    EXPECT_FALSE(book.load(path));  // no file: the book stays as it was
    ASSERT_TRUE(book.insertEntry(0, entry("A", "1")));
    ASSERT_TRUE(book.insertEntry(1, entry("B", "2")));
    ASSERT_TRUE(book.save(path));
    std::vector<uint8_t> saved;
    ASSERT_TRUE(File::readAll(path, saved));
    while (book.size() > 0) ASSERT_TRUE(book.deleteEntry(0));
    EXPECT_FALSE(book.save(path));
    std::vector<uint8_t> after;
    ASSERT_TRUE(File::readAll(path, after));
    EXPECT_EQ(after, saved);
    ASSERT_TRUE(book.load(path));
    EXPECT_EQ(book.size(), 2u);
}

TEST(PhoneBook, InsertAndDeleteKeepTheLimits) {
    PhoneBook book;
    EXPECT_FALSE(book.deleteEntry(0));
    ASSERT_TRUE(book.insertEntry(3, entry("far", "9")));  // beyond the end: the count becomes index + 1
    EXPECT_EQ(book.size(), 4u);
    ASSERT_TRUE(book.insertEntry(0, entry("first", "1")));
    EXPECT_EQ(book.entries()[0].name, "first");
    EXPECT_EQ(book.entries()[4].name, "far");
    EXPECT_FALSE(book.insertEntry(1000, entry("x", "1")));
    while (book.size() < PhoneBook::kMaxEntries) ASSERT_TRUE(book.insertEntry(book.size(), entry("n", "1")));
    EXPECT_FALSE(book.insertEntry(0, entry("x", "1")));
    EXPECT_FALSE(book.deleteEntry(1000));
    ASSERT_TRUE(book.deleteEntry(0));
    EXPECT_EQ(book.entries()[3].name, "far");
    EXPECT_EQ(book.size(), 999u);
    // Fields are cut to their widths, never inside a two-byte character.
    PhoneEntry wide;
    ASSERT_TRUE(PhoneEntry::fromDisplay(std::string(26, 'x') + "あいうえおかきくけこさしすせそたちつてと", "1", "", wide));
    EXPECT_EQ(wide.name.size(), 50u);
    ASSERT_TRUE(PhoneEntry::fromDisplay("あいうえおかきくけこさしすせそたちつてとなにぬねの", "1", "", wide));
    EXPECT_EQ(wide.name.size(), 50u);
    EXPECT_FALSE(PhoneEntry::fromDisplay("🙂", "1", "", wide));  // code page 932 has no such character
}

TEST(PhoneBook, SortOrdersByNameAndPickLinesAlign) {
    std::mt19937 random(7);
    PhoneBook book;
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        std::string name(1 + random() % 8, 'a');
        for (char& c : name) c = char('A' + random() % 40);
        names.push_back(name);
        ASSERT_TRUE(book.insertEntry(book.size(), PhoneEntry{name, std::to_string(i), ""}));
    }
    book.sort();
    std::sort(names.begin(), names.end());
    std::vector<std::string> sorted;
    for (const auto& e : book.entries()) sorted.push_back(e.name);
    EXPECT_EQ(sorted, names);

    PhoneBook two;
    ASSERT_TRUE(two.insertEntry(0, entry("東西", "03-1", "045-2")));
    EXPECT_EQ(two.entryLine(0, PhoneBook::Number::Fax), "03-1                東西");
    EXPECT_EQ(two.entryLine(0, PhoneBook::Number::Telephone), "045-2               東西");
}

TEST(PhoneBookEditor, ButtonsEditTheRowsAndClosingAnEmptyBookKeepsTheFile) {
    const std::string path = test::tempFolder() + "/" + PhoneBook::kFileName;
    {
        PhoneBook seed;
        ASSERT_TRUE(seed.insertEntry(0, entry("東西商事", "03-1111-2222")));
        ASSERT_TRUE(seed.insertEntry(1, entry("Smith", "045-123")));
        ASSERT_TRUE(seed.save(path));
    }
    std::vector<uint8_t> saved;
    ASSERT_TRUE(File::readAll(path, saved));

    PhoneBook book;
    PhoneBookEditor editor(book);
    editor.open(path);
    EXPECT_EQ(editor.rows(), 3);
    EXPECT_TRUE(editor.isNewRow(editor.selected()));
    EXPECT_FALSE(editor.registerFields());  // no name
    editor.name = "Jones";
    editor.fax = "06-1";
    ASSERT_TRUE(editor.registerFields());
    EXPECT_EQ(book.size(), 3u);
    EXPECT_EQ(editor.selected(), 3);  // the new empty row after it
    EXPECT_TRUE(editor.name.empty());

    editor.select(0);
    EXPECT_EQ(editor.name, "東西商事");
    EXPECT_EQ(editor.position(), "1/3");
    editor.telephone = "03-1111-2223";
    ASSERT_TRUE(editor.registerFields());
    EXPECT_EQ(book.entries()[0].displayTelephone(), "03-1111-2223");
    EXPECT_EQ(editor.selected(), 1);
    EXPECT_EQ(editor.name, "Smith");

    ASSERT_TRUE(editor.remember());
    editor.select(0);
    ASSERT_TRUE(editor.copyRemembered());
    EXPECT_EQ(book.entries()[0].name, "Smith");
    EXPECT_EQ(book.size(), 4u);
    ASSERT_TRUE(editor.insertEmpty());
    EXPECT_EQ(book.size(), 5u);
    EXPECT_TRUE(book.entries()[0].name.empty());

    while (editor.removeSelected()) {
    }
    EXPECT_EQ(book.size(), 0u);
    EXPECT_EQ(editor.position(), " / ");
    EXPECT_EQ(editor.clipboard()->name, "Jones");
    EXPECT_FALSE(editor.close(path));
    std::vector<uint8_t> after;
    ASSERT_TRUE(File::readAll(path, after));
    EXPECT_EQ(after, saved);
}

struct Voice : test::ModemFixture {
    using ModemFixture::ModemFixture;
    bool call(std::string_view number) {
        return placeVoiceCall(link, {1, 'T', 2, false}, number, messages,
                              [this](std::string_view caption, std::string_view) { boxes.emplace_back(caption); });
    }
    test::RecordingMessages messages;
    std::vector<std::string> boxes;
};

TEST(VoiceCall, DialsStaysInCommandModeAndHangsUp) {
    {
        Voice v;
        EXPECT_TRUE(v.call("03 1234"));
        EXPECT_EQ(v.simulator.commands(), (std::vector<std::string>{"ATL2", "ATDT031234;", "ATH"}));
        EXPECT_EQ(v.boxes, std::vector<std::string>{std::string(faxtext::kVoiceCaption)});
        EXPECT_FALSE(v.link.isOpen());
    }
    {
        test::ModemScript busy;
        busy.dialResults = {"BUSY"};
        Voice v(busy);
        EXPECT_TRUE(v.call("031234"));  // a classified answer: the user hears the line
        EXPECT_EQ(v.boxes.size(), 1u);
    }
    {
        Voice v;
        EXPECT_FALSE(v.call("--"));
        EXPECT_EQ(v.messages.said, std::vector<std::string>{std::string(faxtext::kVoiceCannotDial)});
        EXPECT_EQ(v.link.callResultText, faxtext::kBadNumber);
        EXPECT_TRUE(v.boxes.empty());
    }
    {
        Voice v;
        v.link.setDevices({"/nonexistent/tty", "", "", ""});
        EXPECT_FALSE(v.call("031234"));
        EXPECT_EQ(v.messages.said, std::vector<std::string>{std::string(faxtext::kVoicePortFailed) +
                                                            "\n/nonexistent/tty がありません（接続を確かめてください）"});
    }
}

}  // namespace
}  // namespace lumipage
