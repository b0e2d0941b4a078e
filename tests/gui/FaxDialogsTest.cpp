// The fax dialogs on their own: the send dialog's controls and the values
// it keeps, the progress window's buttons, the phone book editor's rows and
// buttons, and the voice call dialog.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "base/Settings.h"
#include "fax/FaxSendJob.h"
#include "fax/PhoneBook.h"
#include "fax/PhoneBookEditor.h"
#include "gui/FaxProgressWindow.h"
#include "gui/dialogs/FaxSendDialog.h"
#include "gui/dialogs/PhoneBookDialog.h"
#include "gui/dialogs/VoiceCallDialog.h"
#include "support/TestImages.h"
#include "support/WidgetScreenshot.h"

namespace lumipage {
namespace {

template <class W>
W* control(QWidget* dialog, const char* id) {
    W* w = dialog->findChild<W*>(id);
    EXPECT_NE(w, nullptr) << id;
    return w;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void focusInto(QWidget* w) {
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(w, &in);
}

// An unsorted book: the pick list shows it sorted only when asked.
std::vector<PickLine> book(bool sort) {
    std::vector<PickLine> lines{{"0311112222          Yamada", "0311112222"}, {"0455556666          Abe", "0455556666"}};
    if (sort) std::swap(lines[0], lines[1]);
    return lines;
}

TEST(FaxSendDialog, ShowsTheKeptValuesAndGivesBackWhatWasChosen) {
    FaxSendValues kept;
    kept.number = "03-1234-5678";
    kept.localId = "LUMIPAGE";
    kept.port = 2;
    kept.baudRate = 9600;
    kept.dialMethod = 'P';
    kept.redials = 5;
    kept.waitMinutes = 7;
    kept.sort = false;
    kept.modemVolume = true;
    kept.volume = 3;
    FaxSendDialog d(kept, 12, false, book);
    EXPECT_EQ(d.windowTitle(), "ＦＡＸ送信");
    EXPECT_EQ(control<QLineEdit>(&d, "1032")->text(), "03-1234-5678");
    EXPECT_EQ(control<QLineEdit>(&d, "1032")->maxLength(), 20);
    EXPECT_EQ(control<QLineEdit>(&d, "1043")->maxLength(), 20);
    EXPECT_EQ(control<QSpinBox>(&d, "1030")->value(), 1);
    EXPECT_EQ(control<QSpinBox>(&d, "1031")->value(), 12);
    EXPECT_EQ(control<QSpinBox>(&d, "1031")->maximum(), 12);
    EXPECT_EQ(control<QComboBox>(&d, "1028")->currentText(), "COM2");
    EXPECT_EQ(control<QComboBox>(&d, "1029")->currentText(), "9600");
    EXPECT_EQ(control<QComboBox>(&d, "1042")->currentText(), "パルス");
    EXPECT_EQ(control<QSpinBox>(&d, "1057")->value(), 5);
    EXPECT_EQ(control<QSpinBox>(&d, "1057")->maximum(), 99);
    EXPECT_EQ(control<QSpinBox>(&d, "1058")->minimum(), 1);
    EXPECT_EQ(control<QComboBox>(&d, "1044")->currentText(), "大");
    // The modem's own volume control leaves the speaker list disabled.
    EXPECT_FALSE(control<QComboBox>(&d, "1044")->isEnabled());
    control<QCheckBox>(&d, "1174")->setChecked(false);
    EXPECT_TRUE(control<QComboBox>(&d, "1044")->isEnabled());

    control<QSpinBox>(&d, "1030")->setValue(3);
    control<QComboBox>(&d, "1028")->setCurrentIndex(3);
    control<QComboBox>(&d, "1029")->setCurrentIndex(0);
    control<QComboBox>(&d, "1042")->setCurrentIndex(0);
    control<QComboBox>(&d, "1044")->setCurrentIndex(0);
    FaxSendValues chosen;
    d.storeInto(chosen);
    EXPECT_EQ(chosen.number, "03-1234-5678");
    EXPECT_EQ(chosen.startPage, 3);
    EXPECT_EQ(chosen.endPage, 12);
    EXPECT_EQ(chosen.localId, "LUMIPAGE");
    EXPECT_EQ(chosen.port, 4);
    EXPECT_EQ(chosen.baudRate, 14400);
    EXPECT_EQ(chosen.dialMethod, 'T');
    EXPECT_EQ(chosen.redials, 5);
    EXPECT_EQ(chosen.waitMinutes, 7);
    EXPECT_FALSE(chosen.modemVolume);
    EXPECT_EQ(chosen.volume, 0);
}

TEST(FaxSendDialog, PhoneBookListFillsTheNumberAndOkWantsOne) {
    FaxSendValues kept;
    kept.sort = false;
    FaxSendDialog d(kept, 3, true, book);
    EXPECT_EQ(d.windowTitle(), "ＦＡＸ送信（選択頁）");
    auto* number = control<QLineEdit>(&d, "1032");
    auto* list = control<QListWidget>(&d, "1027");
    auto* ok = control<QPushButton>(&d, "1");
    EXPECT_FALSE(ok->isEnabled());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "0311112222          Yamada");

    control<QLineEdit>(&d, "1043")->setText("ID");
    list->setCurrentRow(1);
    EXPECT_EQ(number->text(), "0455556666");
    EXPECT_EQ(control<QLineEdit>(&d, "1043")->text(), "ID");  // nothing else is cleared
    EXPECT_TRUE(ok->isEnabled());
    focusInto(number);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    number->clear();
    EXPECT_FALSE(ok->isEnabled());

    // Switching the sort reloads the list in the new order.
    control<QCheckBox>(&d, "1170")->setChecked(true);
    EXPECT_EQ(list->item(0)->text(), "0455556666          Abe");
    test::screenshot(d, "fax-send-dialog");
    list->setCurrentRow(0);
    EXPECT_EQ(number->text(), "0455556666");
    FaxSendValues chosen;
    d.storeInto(chosen);
    EXPECT_TRUE(chosen.sort);
}

TEST(FaxProgressWindow, FieldsDialNowAndCancel) {
    int cancels = 0, dials = 0;
    FaxProgressWindow w([&] { ++cancels; }, [&] { ++dials; });
    w.show();
    w.showStep("ダイヤル中");
    w.showNumber("03-1234-5678");
    w.showPage(2);
    w.showBytesWritten(12345);
    w.showSecondsLeft(59);
    EXPECT_EQ(w.fieldText("1038"), "ダイヤル中");
    EXPECT_EQ(w.fieldText("1049"), "03-1234-5678");
    EXPECT_EQ(w.fieldText("1051"), "2");
    EXPECT_EQ(w.fieldText("1055"), "12345");
    EXPECT_EQ(w.fieldText("1058"), "59");
    w.showSecondsLeft(std::nullopt);
    EXPECT_EQ(w.fieldText("1058"), "");

    auto* dialNow = control<QPushButton>(&w, "1072");
    EXPECT_EQ(dialNow->text(), "呼出");
    EXPECT_FALSE(dialNow->isVisible());
    w.showDialNow(true);
    EXPECT_TRUE(dialNow->isVisible());
    test::screenshot(w, "fax-progress");
    dialNow->click();
    EXPECT_EQ(dials, 1);
    // Cancel asks the job to stop; the window stays until the job closes it.
    control<QPushButton>(&w, "2")->click();
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(w.isVisible());
}

struct PhoneBookRows : ::testing::Test {
    std::string path = test::tempFolder() + "/" + PhoneBook::kFileName;
    PhoneBook phoneBook;
    PhoneBookEditor editor{phoneBook};

    void SetUp() override {
        PhoneBook seed;
        PhoneEntry a, b;
        ASSERT_TRUE(PhoneEntry::fromDisplay("Abe", "0455556666", "0455550000", a));
        ASSERT_TRUE(PhoneEntry::fromDisplay("Yamada", "0311112222", "", b));
        seed.insertEntry(0, a);
        seed.insertEntry(1, b);
        ASSERT_TRUE(seed.save(path));
        editor.open(path);
    }
};

TEST_F(PhoneBookRows, RegisterDeleteAndCopyShowInTheList) {
    PhoneBookDialog d(phoneBook, editor);
    auto* list = control<QTreeWidget>(&d, "1066");
    ASSERT_EQ(list->topLevelItemCount(), 3);  // two entries and the new row
    EXPECT_EQ(list->headerItem()->text(0), "会社名・氏名");
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(2), "0455550000");

    control<QLineEdit>(&d, "1059")->setText("Sato");
    control<QLineEdit>(&d, "1065")->setText("0612345678");
    d.press(1064);
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Sato");
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 3);  // the new empty row
    EXPECT_EQ(control<QLineEdit>(&d, "1059")->text(), "");

    // Delete the first entry: the row now at its place is shown.
    editor.select(0);
    d.press(1061);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(control<QLineEdit>(&d, "1059")->text(), "Yamada");
    EXPECT_EQ(control<QLabel>(&d, "1166")->text(), "1/2");
    // The deleted entry went to the clipboard: copy puts it back at the selection.
    d.press(1069);
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Abe");
    EXPECT_EQ(control<QLineEdit>(&d, "1065")->text(), "0455556666");
    test::screenshot(d, "phone-book");
}

TEST_F(PhoneBookRows, DeletingEveryEntryKeepsTheFile) {
    const std::string before = fileText(path);
    ASSERT_EQ(before.size(), 3 * PhoneBook::kLineBytes);
    {
        PhoneBookDialog d(phoneBook, editor);
        editor.select(0);
        d.press(1061);
        d.press(1061);
        EXPECT_EQ(control<QTreeWidget>(&d, "1066")->topLevelItemCount(), 1);
        EXPECT_EQ(control<QLabel>(&d, "1166")->text(), " / ");
    }
    editor.close(path);
    EXPECT_EQ(fileText(path), before);
}

TEST(VoiceCallDialog, KeepsTheCallSettingsAndItsOwnNumber) {
    Settings settings;
    settings.commPort = 3;
    settings.dyalType = 'P';
    settings.volume = 1;
    settings.modemVolume = 0;
    settings.chkSort = 0;
    VoiceCallDialog d(settings, "", book);
    EXPECT_EQ(control<QComboBox>(&d, "port")->currentText(), "COM3");
    EXPECT_EQ(control<QComboBox>(&d, "dialMethod")->currentText(), "パルス");
    EXPECT_EQ(control<QComboBox>(&d, "volume")->currentText(), "小");
    EXPECT_FALSE(control<QPushButton>(&d, "1")->isEnabled());
    auto* list = control<QListWidget>(&d, "1168");
    list->setCurrentRow(0);
    EXPECT_EQ(control<QLineEdit>(&d, "1167")->text(), "0311112222");
    EXPECT_TRUE(control<QPushButton>(&d, "1")->isEnabled());
    test::screenshot(d, "voice-call");
    control<QCheckBox>(&d, "modemVolume")->setChecked(true);
    EXPECT_FALSE(control<QComboBox>(&d, "volume")->isEnabled());
    control<QComboBox>(&d, "dialMethod")->setCurrentIndex(0);

    Settings stored;
    std::string number;
    d.storeInto(stored, number);
    EXPECT_EQ(number, "0311112222");
    EXPECT_EQ(stored.commPort, 3);
    EXPECT_EQ(stored.dyalType, 'T');
    EXPECT_EQ(stored.modemVolume, 1);
    EXPECT_EQ(stored.chkSort, 0);
}

}  // namespace
}  // namespace lumipage
