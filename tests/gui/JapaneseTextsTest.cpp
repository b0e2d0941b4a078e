// Every dialog and message box the window opens speaks Japanese: Qt's own
// dialogs (open and save, print, preview) through Qt's translations, the
// message boxes with the buttons and captions the program gives them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabBar>
#include <QTimer>
#include <set>

#include "base/CommandIds.h"
#include "gui/CMainFrame.h"
#include "gui/QtMessages.h"
#include "gui/dialogs/CommentDialog.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using namespace command;

// Words that stay as they are in a Japanese program: its name, file types, units.
const std::set<QString> kKeptWords{"OK", "PDF", "DPI", "Quor", "Lumipage", "MH", "BW", "TIF", "TIFF", "BMP",
                                   "FAX", "LPB", "LPX", "Pixel", "Zoom", "Title", "dpi", "mm",
                                   // the program's own technical terms
                                   "CCITT", "MMR", "ESC", "Windows", "BlackIsZero", "XEROX", "TWAIN"};

// The English words among the texts a user reads in the window: captions,
// labels, buttons, group and tab titles, list headers. Paths are not read.
QStringList englishWords(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->isVisibleTo(window)) texts << l->text();
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(window)) texts << b->text();
    for (QGroupBox* g : window->findChildren<QGroupBox*>())
        if (g->isVisibleTo(window)) texts << g->title();
    for (QTabBar* t : window->findChildren<QTabBar*>())
        for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
    for (QAbstractItemView* v : window->findChildren<QAbstractItemView*>())
        if (v->isVisibleTo(window) && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                texts << v->model()->headerData(c, Qt::Horizontal).toString();
    QStringList words;
    static const QRegularExpression word("[A-Za-z]{2,}");
    for (QString text : texts) {
        if (text.contains('/')) continue;
        text.remove('&');
        static const QRegularExpression fileName("[^\\s]+\\.[A-Za-z0-9]+");
        text.remove(fileName);  // a file's name is not read as a word
        for (auto it = word.globalMatch(text); it.hasNext();) {
            const QString w = it.next().captured();
            if (!kKeptWords.count(w)) words << w + " (in \"" + text + "\")";
        }
    }
    return words;
}

struct JapaneseTexts : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::unique_ptr<CMainFrame> frame;

    JapaneseTexts() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        table.append(writeMH("three.MH", {&small, &small, &small}, 0));
        doc.goToPage(1);
        frame->showCurrentPage();
        settings.openPath = dir;
        settings.savePath = dir;
        frame->printer().setOutputFileName(QString::fromStdString(dir + "/never.pdf"));
        QApplication::processEvents();
    }
    // The English words of the modal dialog the command opens; the dialog is then closed.
    QStringList wordsOfCommand(int id, bool& opened) {
        QStringList words;
        opened = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            opened = true;
            words = englishWords(dialog);
            if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
            else dialog->close();
        });
        frame->runCommand(id);
        return words;
    }
};

TEST_F(JapaneseTexts, EveryDialogTheCommandsOpenHasNoEnglishWord) {
    for (const int id : {kOpen, kSaveIndex, kSaveCurrentFile, kPrintAll, kPreviewAll, kPrinterSetup, kJump,
                         kPageCounter, kContents, kKeywordIndex, kOptions}) {
        bool opened = false;
        const QStringList words = wordsOfCommand(id, opened);
        EXPECT_TRUE(opened) << id;
        EXPECT_TRUE(words.isEmpty()) << id << ": " << words.join(", ").toStdString();
    }
    for (const int id : {kEditComment, kColourAdjustment}) {
        frame->runCommand(id);
        QApplication::processEvents();
        QWidget* dialog = QApplication::activeWindow();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != frame.get() && w->isVisible() && qobject_cast<QDialog*>(w)) dialog = w;
        ASSERT_TRUE(dialog) << id;
        const QStringList words = englishWords(dialog);
        EXPECT_TRUE(words.isEmpty()) << id << ": " << words.join(", ").toStdString();
        dialog->hide();
    }
}

TEST_F(JapaneseTexts, MessageBoxesCarryJapaneseButtonsAndTheirCaption) {
    using Kind = QtMessages::Kind;
    const auto buttons = [](QMessageBox& box) {
        QStringList texts;
        for (QAbstractButton* b : box.buttons()) texts << b->text();
        texts.sort();
        return texts;
    };
    auto box = QtMessages::makeBox(Kind::YesNo, "Quor Lumipage", "ｲﾝﾃﾞｯｸｽﾌｧｲﾙを保存しますか？", frame.get());
    EXPECT_EQ(buttons(*box), (QStringList{"いいえ(&N)", "はい(&Y)"}));
    EXPECT_TRUE(englishWords(box.get()).isEmpty()) << englishWords(box.get()).join(", ").toStdString();
    box = QtMessages::makeBox(Kind::OkCancel, "コメント", "コメントを削除します", frame.get());
    EXPECT_EQ(box->windowTitle(), "コメント");
    EXPECT_EQ(buttons(*box), (QStringList{"OK", "キャンセル"}));
    box = QtMessages::makeBox(Kind::RetryCancel, "Quor Lumipage", "x", frame.get());
    EXPECT_EQ(buttons(*box), (QStringList{"キャンセル", "再試行(&R)"}));
    box = QtMessages::makeBox(Kind::Message, "Quor Lumipage", "x", frame.get());
    EXPECT_EQ(buttons(*box), (QStringList{"OK"}));
}

}  // namespace
}  // namespace lumipage
