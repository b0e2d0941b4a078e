// The window's page file commands under the offscreen platform: the save
// dialog's controls and choices, enabling, the index-save command's text,
// the save prompt, and a whole conversion into one book driven through the
// dialogs, reopened and looked up in the contents and keyword dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVariant>
#include <QTreeWidget>

#include <filesystem>
#include <functional>

#include "base/CommandIds.h"
#include "comments/CommentFile.h"
#include "document/IndexState.h"
#include "gui/dialogs/BookOptionsDialog.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/ConversionProgressDialog.h"
#include "gui/dialogs/SaveTargetDialog.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "support/DocumentFixture.h"
#include "support/LibtiffFiles.h"
#include "support/TestImages.h"
#include "ModalAnswerer.h"

namespace lumipage {
namespace {

using namespace command;

QAbstractButton* button(QWidget* w, const char* id) { return w->findChild<QAbstractButton*>(id); }

using test::ContentsAndKeywords;
using test::listedContentsAndKeywords;
using test::ModalAnswerer;

struct PageFiles : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::unique_ptr<CMainFrame> frame;

    void make() {
        settings.useCommonDialog = 0;
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        QApplication::processEvents();
    }
    void openMixed() {
        table.append(writeMH("three.MH", {&small, &small, &small}, 0));
        table.append(writeFax("one.FAX", test::makePage(test::Pattern::Text, 1728, 2290, 2)));
        doc.goToPage(1);
        frame->showCurrentPage();
    }
    bool enabled(int id) const { return frame->menuAction(id)->isEnabled(); }
    QString text(int id) const { return frame->menuAction(id)->text(); }
};

TEST(SaveDialog, FiltersBecomeQtFiltersInBothCases) {
    const QStringList f = qtFilters("TIFF Files(*.TIF)|*.TIF;*.TIFF|MHV Files(*.MH*)|*.MH;*.MH?|All Files(*.*)|*.*||"
                                    "Ignored|*.X");
    ASSERT_EQ(f.size(), 3);
    EXPECT_EQ(f[0], "TIFF Files(*.TIF) (*.TIF *.tif *.TIFF *.tiff)");
    EXPECT_EQ(f[1], "MHV Files(*.MH*) (*.MH *.mh *.MH? *.mh?)");
    EXPECT_EQ(f[2], "All Files(*.*) (*)");
}

TEST(SaveDialog, ControlsEnablingAndChoice) {
    SaveChoice initial;
    initial.overwrite = false;
    SaveTargetDialog dialog({"title", {}, true, true}, initial);
    auto* path = dialog.findChild<QLineEdit*>("path");
    auto* oneFile = dialog.findChild<QCheckBox*>("oneFile");
    auto* overwrite = dialog.findChild<QCheckBox*>("overwrite");
    auto* readOnly = dialog.findChild<QCheckBox*>("overwriteReadOnly");
    auto* comments = dialog.findChild<QCheckBox*>("copyComments");
    ASSERT_TRUE(path && oneFile && overwrite && readOnly && comments && button(&dialog, "1") && button(&dialog, "2"));
    EXPECT_FALSE(button(&dialog, "1")->isEnabled());  // no path yet
    EXPECT_FALSE(readOnly->isEnabled());
    path->setText("/tmp/out.TIF");
    EXPECT_TRUE(button(&dialog, "1")->isEnabled());
    readOnly->setChecked(true);
    EXPECT_FALSE(dialog.choice().overwriteReadOnly);  // not without overwriting at all
    overwrite->setChecked(true);
    EXPECT_TRUE(readOnly->isEnabled());
    oneFile->setChecked(true);
    comments->setChecked(false);
    const SaveChoice c = dialog.choice();
    EXPECT_EQ(c.path, "/tmp/out.TIF");
    EXPECT_TRUE(c.oneFile && c.overwrite && c.overwriteReadOnly);
    EXPECT_FALSE(c.copyComments);

    // Saving one page offers no one-file option and never reports it.
    SaveChoice fromConversion;
    fromConversion.oneFile = true;
    fromConversion.path = "x";
    SaveTargetDialog single({"title", {}, false, true}, fromConversion);
    EXPECT_TRUE(single.findChild<QCheckBox*>("oneFile")->isHidden());
    EXPECT_FALSE(single.choice().oneFile);
}

TEST(SaveDialog, BookOptionsAndProgressShowWhatTheyAreGiven) {
    BookOptionsDialog book(3, "情報", 12, 4);
    EXPECT_EQ(book.objectName(), "167");
    EXPECT_EQ(book.pageStartPosition(), 3);
    book.findChild<QAbstractButton*>("position0")->setChecked(true);
    EXPECT_EQ(book.pageStartPosition(), 0);
    EXPECT_EQ(book.information(), "情報");
    EXPECT_TRUE(book.findChild<QWidget*>("counts") != nullptr);

    ConversionProgressDialog progress;
    ConversionProgress& p = progress;
    p.begin(12, "/d/out.TIF");
    p.step(2, 7, ConversionStep::Coding, "/d/out002.TIF");
    EXPECT_EQ(progress.pagesText(), "12");
    EXPECT_EQ(progress.pageText(), "2 (7)");
    EXPECT_EQ(progress.targetText(), "/d/out002.TIF");
    EXPECT_EQ(progress.stateText(), "変換中");
    EXPECT_FALSE(p.cancelled());
    button(&progress, "2")->click();
    EXPECT_TRUE(p.cancelled());
    p.end(2);
    EXPECT_FALSE(progress.isVisible());
}

TEST_F(PageFiles, CommandsFollowTheOpenAndSelectedPages) {
    make();
    for (int id : {kSaveCurrentFile, kConvertSelected, kConvertAll, kDeleteCurrentFile, kDeleteAllFiles,
                   kDeleteSentFiles, kDeletePrintedFiles, kDeleteSelectedFiles, kSaveIndex, kEditCurrentFile})
        EXPECT_FALSE(enabled(id)) << id;
    openMixed();
    for (int id : {kSaveCurrentFile, kConvertAll, kDeleteCurrentFile, kDeleteAllFiles, kSaveIndex})
        EXPECT_TRUE(enabled(id)) << id;
    for (int id : {kConvertSelected, kDeleteSelectedFiles, kDeleteSentFiles, kDeletePrintedFiles})
        EXPECT_FALSE(enabled(id)) << id;
    frame->runCommand(kToggleSelection);
    EXPECT_TRUE(enabled(kConvertSelected));
    EXPECT_TRUE(enabled(kDeleteSelectedFiles));
}

TEST_F(PageFiles, IndexSaveTextFollowsTheIndexState) {
    make();
    openMixed();
    EXPECT_EQ(text(kSaveIndex), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ作成...");
    // Saving through the dialog makes the written index the one in use.
    ModalAnswerer answer([&](QWidget* w) {
        if (w->objectName() != "saveTarget") return false;
        EXPECT_EQ(w->findChild<QLineEdit*>("path")->text().toStdString(), dir + "/three.LPX");
        EXPECT_TRUE(w->findChild<QCheckBox*>("copyComments")->isHidden());
        button(w, "1")->click();
        return true;
    });
    frame->runCommand(kSaveIndex);
    ASSERT_TRUE(files::exists(dir + "/three.LPX"));
    EXPECT_EQ(text(kSaveIndex), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存...");
    frame->runCommand(kToggleSelection);
    frame->refresh();
    EXPECT_EQ(text(kSaveIndex), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存(変更有)...");
    EXPECT_TRUE(enabled(kSaveIndex));
    table.index().writeProtected = true;
    frame->refresh();
    EXPECT_EQ(text(kSaveIndex), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存(保護)");
    EXPECT_FALSE(enabled(kSaveIndex));
}

TEST_F(PageFiles, ClosingAllAsksToSaveAChangedIndex) {
    make();
    openMixed();
    ASSERT_TRUE(doc.index().saveAs(dir + "/list.LPX"));
    const std::string saved = readText("list.LPX");
    for (bool yes : {false, true}) {
        ASSERT_TRUE(doc.index().read(dir + "/list.LPX", false));
        frame->showCurrentPage();
        frame->runCommand(kToggleSelection);
        messages.said.clear();
        messages.answer = yes;
        frame->runCommand(kCloseAll);
        ASSERT_EQ(messages.said.size(), 1u);
        EXPECT_EQ(messages.said[0], dir + "/list.LPX" + IndexFile::kSelectionChanged);
        EXPECT_EQ(readText("list.LPX") != saved, yes) << yes;
    }
}

TEST_F(PageFiles, DeleteAsksAndOnlyOkDeletes) {
    make();
    openMixed();
    writeText("one.FAX.()", "x");
    doc.goToPage(4);
    frame->showCurrentPage();
    messages.answer = false;
    frame->runCommand(kDeleteCurrentFile);
    EXPECT_EQ(messages.last(), dir + "/one.FAX" + " を削除します。\nよろしいですか？");
    EXPECT_TRUE(files::exists(dir + "/one.FAX"));
    messages.answer = true;
    frame->runCommand(kDeleteCurrentFile);
    EXPECT_FALSE(files::exists(dir + "/one.FAX"));
    EXPECT_FALSE(files::exists(dir + "/one.FAX.()"));
    EXPECT_EQ(table.fileCount(), 1);
}

TEST_F(PageFiles, WrongTargetIsRefusedAndNothingWritten) {
    make();
    openMixed();
    ModalAnswerer answer([&](QWidget* w) {
        if (w->objectName() != "saveTarget") return false;
        w->findChild<QLineEdit*>("path")->setText(QString::fromStdString(dir + "/page.XYZ"));
        button(w, "1")->click();
        return true;
    });
    frame->runCommand(kSaveCurrentFile);
    EXPECT_EQ(messages.last(), "このファイルタイプはサポートされていません");
    EXPECT_FALSE(files::exists(dir + "/page.XYZ"));
}

// Both files' pages go into one book through the save, book options,
// progress and completion dialogs; the book replaces them in the list, and
// its contents and keywords are found in their dialogs.
TEST_F(PageFiles, ConvertAllIntoOneBookAndFindItsContents) {
    make();
    openMixed();
    const std::string information =
        "書名：試験の本\r\n<P.1>\r\n目次：はじめに\r\nキーワード：青, 赤\r\n<P.3>\r\n目次：おわりに\r\n<P.4>\r\n"
        "目次：ファクス\r\nキーワード：赤\r\n";
    QStringList seen;
    ModalAnswerer answer([&](QWidget* w) {
        const QString name = w->objectName();
        if (name == "conversionProgress") return false;
        seen << name;
        if (name == "saveTarget") {
            w->findChild<QLineEdit*>("path")->setText(QString::fromStdString(dir + "/book.LPB"));
        } else if (name == "167") {
            // Typed with line feeds, as a user does.
            w->findChild<QPlainTextEdit*>("information")->setPlainText(QString::fromStdString(information).remove('\r'));
        } else if (name == "conversionDone") {
            w->findChild<QCheckBox*>("openWritten")->setChecked(true);
        } else {
            return false;
        }
        button(w, "1")->click();
        return true;
    });
    frame->runCommand(kConvertAll);
    EXPECT_EQ(seen, (QStringList{"saveTarget", "167", "conversionDone"}));
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(table.entry(1).path, dir + "/book.LPB");
    EXPECT_EQ(table.totalPages(), 4);
    EXPECT_TRUE(files::exists(dir + "/three.MH"));  // the sources were kept
    // The information typed became the comment of an index written for the
    // book and, with its page sections, the book's own comment.
    EXPECT_EQ(CommentFile::read(dir + "/book.LPX", 0).value_or(""), "書名：試験の本\r\n");
    EXPECT_EQ(CommentFile::read(dir + "/book.LPB", 0).value_or(""), "書名：試験の本\r\n");
    EXPECT_EQ(CommentFile::read(dir + "/book.LPB", 4).value_or(""), "目次：ファクス\r\nキーワード：赤\r\n");

    const ContentsAndKeywords listed = listedContentsAndKeywords(*frame);
    EXPECT_EQ(listed.contents, (QStringList{"はじめに:1", "おわりに:3", "ファクス:4"}));
    EXPECT_EQ(listed.keywords, (QStringList{"青:1", "赤:1"}));
}

// The title a page file carries in its header names the page in the caption
// and in an index file, and goes with the page into what it is saved or
// converted to: the header of a page file, the comment of a TIFF file.
TEST_F(PageFiles, APageFilesOwnTitleShowsAndTravelsWithThePage) {
    make();
    const std::string title = "議事録";
    table.append(writeMH("memo.MH", {&small}, 1, text::toCp932(title).value()));
    doc.goToPage(1);
    frame->showCurrentPage();
    EXPECT_EQ(frame->windowTitle().toStdString(), "Quor Lumipage [ memo.MH " + title + " ] ");

    const auto saveAs = [&](const std::string& path, bool oneFile) {
        return ModalAnswerer([&, path, oneFile](QWidget* w) {
            if (w->objectName() == "saveTarget") {
                w->findChild<QLineEdit*>("path")->setText(QString::fromStdString(path));
                if (auto* one = w->findChild<QCheckBox*>("oneFile"); one && !one->isHidden()) one->setChecked(oneFile);
            } else if (w->objectName() != "conversionDone") {
                return false;
            }
            button(w, "1")->click();
            return true;
        });
    };
    settings.addTitleToIndex = 1;
    {
        auto answer = saveAs(dir + "/list.LPX", false);
        frame->runCommand(kSaveIndex);
    }
    EXPECT_NE(text::fromCp932(readText("list.LPX")).find("memo.MH  <Page:1>  <Title:" + title + ">"), std::string::npos)
        << readText("list.LPX");

    {
        auto answer = saveAs(dir + "/all.MH", true);
        frame->runCommand(kConvertAll);
    }
    {
        auto answer = saveAs(dir + "/page.TIF", false);
        frame->runCommand(kSaveCurrentFile);
    }
    EXPECT_EQ(text::fromCp932(readText("all.MH").substr(7, 6)), title);
    EXPECT_EQ(CommentFile::read(dir + "/page.TIF", 0).value_or(""), "タイトル：" + title + "\r\n");
    for (const char* written : {"all.MH", "page.TIF"}) {
        table.append(dir + "/" + written);
        doc.goToPage(table.totalPages());
        frame->showCurrentPage();
        EXPECT_EQ(frame->windowTitle().toStdString(), "Quor Lumipage [ list.LPX - " + std::string(written) + " " + title + " ] ");
    }
}

// Converting page by page under a given name numbers the files from the "#"
// number of the command line; a colour bitmap among the pages, asked to
// become a TIFF file, is refused with its message and ends the conversion,
// keeping the files already written.
TEST_F(PageFiles, ConvertingPageByPageNumbersFromTheHashNumberAndStopsAtAColourBitmap) {
    startup.faxNumber = "7";
    make();
    openMixed();
    ASSERT_EQ(test::runCommand("convert -size 64x32 gradient:red-blue -type Palette -compress None BMP3:" + dir + "/colour.BMP"), 0);
    table.append(dir + "/colour.BMP");
    table.append(writeMH("after.MH", {&small}, 0));
    const auto convertTo = [&](const std::string& path) {
        ModalAnswerer answer([&](QWidget* w) {
            if (w->objectName() == "saveTarget") {
                w->findChild<QLineEdit*>("path")->setText(QString::fromStdString(path));
                w->findChild<QCheckBox*>("oneFile")->setChecked(false);
            } else if (w->objectName() != "conversionDone") {
                return false;
            }
            button(w, "1")->click();
            return true;
        });
        frame->runCommand(kConvertAll);
    };
    std::filesystem::create_directories(dir + "/out");
    convertTo(dir + "/out/p.TIF");
    for (const char* name : {"p007.TIF", "p008.TIF", "p009.TIF", "p010.TIF"}) {
        PageRaster got;
        EXPECT_TRUE(test::readTiffWithLibtiff(dir + "/out/" + name, 0, got)) << name;
    }
    EXPECT_EQ(messages.last(), "ファイル名の拡張子が不適切です");
    EXPECT_FALSE(files::exists(dir + "/out/p011.TIF"));  // the bitmap
    EXPECT_FALSE(files::exists(dir + "/out/p012.TIF"));  // the page after it
    EXPECT_FALSE(files::exists(dir + "/out/p001.TIF"));
}

}  // namespace
}  // namespace lumipage
