// The options dialog under an off-screen Qt: its controls with their ids and
// captions, the window size controls following the screen, OK writing the
// settings and Cancel leaving them alone.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include "base/Settings.h"
#include "platform/IniSettingsStore.h"
#include "gui/dialogs/OptionsDialog.h"
#include "support/WidgetScreenshot.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

constexpr ScreenSize kScreen{1280, 1024};

QAbstractButton* button(QWidget& dialog, int id) { return dialog.findChild<QAbstractButton*>(QString::number(id)); }
QLineEdit* edit(QWidget& dialog, int id) { return dialog.findChild<QLineEdit*>(QString::number(id)); }

// Types into a size edit and leaves it, as the user does.
void typeInto(QLineEdit* line, const QString& text) {
    line->setFocus();
    line->selectAll();
    QTest::keyClicks(line, text);
    emit line->editingFinished();
}

// Everything the settings would write to their store.
std::string storedText(const Settings& s) {
    const std::string path = test::tempFolder() + "/Lumipage.conf";
    IniSettingsStore store(path);
    s.save(store);
    store.save();
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(OptionsDialog, EveryControlHasItsIdAndCaption) {
    Settings settings;
    test::RecordingMessages messages;
    OptionsDialog dialog(settings, kScreen, messages);
    EXPECT_EQ(dialog.windowTitle(), "オプション");
    EXPECT_EQ(dialog.objectName(), "149");
    EXPECT_TRUE(dialog.isModal());
    const std::pair<int, const char*> controls[] = {
        {1165, "前頁と同じ"}, {1177, "上端"}, {1163, "左上端"}, {1164, "右上端"},
        {1142, "圧縮無し"}, {1143, "CCITT G3(MH)"}, {1144, "CCITT G4(MMR)"},
        {1147, "前回終了時のサイズ"}, {1148, "最大表示"}, {1149, "800 x 600"}, {1150, "1024 x 768 "},
        {1151, "サイズ指定"},
        {1146, "[ESC]キーで終了する"}, {1145, "印刷時の解像度変換をプリンタドライバ側で行う"},
        {1176, "ダイアログオープン時にマウスを中央に移動する"}, {1197, "Windows標準ダイアログを使用する"},
        {1243, "ファイル管理でコメントファイルを連動する"},
        {1244, "ファイル管理でインデックスファイルの付属ファイルを連動する"},
        {1256, "インデックスファイルにタイトルを書き込む"}, {1257, "インデックスファイルにページ数を書き込む"},
        {1321, "TIFFﾌｧｲﾙ読込時にBlackIsZeroの設定で白黒反転表示しない"},
        {1178, "「開く」ダイアログを縦長表示にする"}, {1179, "モードレスダイアログの表示位置を保存する"},
        {1322, "プレビューウィンドウの表示サイズを標準表示にする"}, {1346, "ファイル複写・移動時に作成日時もコピーする"},
        {1486, "コメント編集ダイアログを書式設定機能付きで表示する"}, {1503, "XEROX TWAINドライバに対応"},
        {1504, "プログラムインストールフォルダに設定データを保存する"},
    };
    for (const auto& [id, caption] : controls) {
        QAbstractButton* b = button(dialog, id);
        ASSERT_TRUE(b) << id;
        EXPECT_EQ(b->text(), QString::fromUtf8(caption)) << id;
    }
    EXPECT_EQ(dialog.findChildren<QAbstractButton*>().size(), std::size(controls) + 2) << "and OK, Cancel";
    QStringList groups;
    for (const QGroupBox* g : dialog.findChildren<QGroupBox*>()) groups << g->title();
    EXPECT_EQ(groups, (QStringList{"改ページ後の表示位置", "TIFFファイル保存時の圧縮方式", "起動時のウィンドウサイズ"}));
    ASSERT_TRUE(edit(dialog, 1152));
    ASSERT_TRUE(edit(dialog, 1153));
    EXPECT_EQ(button(dialog, 1)->text(), "OK");
    EXPECT_EQ(button(dialog, 2)->text(), "ｷｬﾝｾﾙ");
    EXPECT_TRUE(button(dialog, 1177)->isChecked()) << "the defaults as shown";
    EXPECT_TRUE(button(dialog, 1144)->isChecked());
    EXPECT_TRUE(button(dialog, 1257)->isChecked());
    dialog.show();
    test::screenshot(dialog, "options-dialog");
}

TEST(OptionsDialog, OkStoresWhatWasChosen) {
    Settings settings;
    settings.outCode = 13;
    test::RecordingMessages messages;
    OptionsDialog dialog(settings, {1000, 700}, messages);
    EXPECT_TRUE(button(dialog, 1143)->isChecked()) << "two-dimensional MH is shown as MH";
    EXPECT_TRUE(button(dialog, 1149)->isEnabled());
    EXPECT_FALSE(button(dialog, 1150)->isEnabled()) << "the screen is smaller than 1024 x 768";
    dialog.show();

    button(dialog, 1164)->click();
    button(dialog, 1142)->click();
    button(dialog, 1146)->click();
    button(dialog, 1257)->click();
    button(dialog, 1151)->click();
    EXPECT_TRUE(edit(dialog, 1152)->isEnabled());
    EXPECT_EQ(edit(dialog, 1152)->text(), "1000") << "no size yet: the screen's";
    EXPECT_EQ(edit(dialog, 1153)->text(), "700");
    EXPECT_FALSE(button(dialog, 1179)->isEnabled());
    EXPECT_FALSE(button(dialog, 1179)->isChecked());
    typeInto(edit(dialog, 1152), "4000");
    EXPECT_EQ(edit(dialog, 1152)->text(), "1000") << "held within the screen when left";
    edit(dialog, 1152)->setText("900");
    // Typed but not left before OK: still taken.
    edit(dialog, 1153)->setText("650");
    EXPECT_TRUE(messages.said.empty());
    button(dialog, 1504)->click();
    EXPECT_EQ(messages.said, std::vector<std::string>{"次回のプログラム起動時に変更が有効になります"});
    EXPECT_EQ(settings.pageStartPosition, 1) << "nothing changes before OK";

    button(dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.pageStartPosition, 3);
    EXPECT_EQ(settings.outCode, 10);
    EXPECT_EQ(settings.enableEscKey, 1);
    EXPECT_EQ(settings.addPageToIndex, 0);
    EXPECT_EQ(settings.appDataModulePath, 1);
    EXPECT_EQ(settings.saveDialogPos, 0);
    EXPECT_EQ(settings.windowSize, "1:900:650");
    EXPECT_TRUE(dialog.changes().pageStartPosition);
}

TEST(OptionsDialog, SizeChoicesGovernTheEditsAndCancelChangesNothing) {
    Settings settings;
    settings.windowSize = "1:1024:-1";
    settings.saveDialogPos = 1;
    const std::string before = storedText(settings);
    test::RecordingMessages messages;
    OptionsDialog dialog(settings, kScreen, messages);
    dialog.show();
    EXPECT_TRUE(button(dialog, 1150)->isChecked());
    EXPECT_FALSE(button(dialog, 1179)->isChecked());
    EXPECT_EQ(edit(dialog, 1152)->text(), "1024");
    button(dialog, 1147)->click();
    EXPECT_TRUE(button(dialog, 1179)->isEnabled());
    EXPECT_EQ(edit(dialog, 1152)->text(), "") << "the last size has no size of its own";
    EXPECT_FALSE(edit(dialog, 1153)->isEnabled());
    button(dialog, 1486)->click();
    button(dialog, 1165)->click();

    button(dialog, 2)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(storedText(settings), before);
}

}  // namespace
}  // namespace lumipage
