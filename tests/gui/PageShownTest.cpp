// What the window shows of a turned, mirrored or inverted page, and what the
// program writes of it: the page shown is made from the page as read and its
// word every time, so redraws and requests of other copies keep it, a saved
// page holds what was shown, and a book given away alone shows its pages,
// contents and keywords as the window did.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "base/CommandIds.h"
#include "comments/CommentFile.h"
#include "gui/CMainFrame.h"
#include "gui/PageWidget.h"
#include "image/PageOrientation.h"
#include "view/CLP98View.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "ModalAnswerer.h"

namespace lumipage {
namespace {

using namespace command;
using test::ContentsAndKeywords;
using test::listedContentsAndKeywords;
using test::ModalAnswerer;

bool ink(const PageRaster& p, int x, int y) { return p.row(y)[x / 8] & (0x80 >> (x % 8)); }
void setInk(PageRaster& p, int x, int y) { p.row(y)[x / 8] |= uint8_t(0x80 >> (x % 8)); }

// 400 x 600 at 200 dpi: a black square in the top-left corner and a short
// bar under it, so that every turn and mirroring shows.
PageRaster cornerPage() {
    PageRaster p;
    p.create(400, 600, 200);
    for (int y = 20; y < 140; ++y)
        for (int x = 20; x < 140; ++x) setInk(p, x, y);
    for (int y = 170; y < 180; ++y)
        for (int x = 20; x < 80; ++x) setInk(p, x, y);
    return p;
}

// The page as the word says it is shown, pixel by pixel: inverted, mirrored
// in its own axes, then turned by quarter turns to the left.
PageRaster naiveShown(const PageRaster& page, uint16_t word) {
    const int w = page.width, h = page.height;
    const int turn = word & PageOrientation::kRotationBits;
    PageRaster out;
    out.create(turn % 2 ? h : w, turn % 2 ? w : h, page.dpi);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sx = x, sy = y;  // in the mirrored page
            if (turn == 1) sx = w - 1 - y, sy = x;
            if (turn == 2) sx = w - 1 - x, sy = h - 1 - y;
            if (turn == 3) sx = y, sy = h - 1 - x;
            if (word & PageOrientation::kMirroredLeftRight) sx = w - 1 - sx;
            if (word & PageOrientation::kMirroredUpDown) sy = h - 1 - sy;
            if (ink(page, sx, sy) != bool(word & PageOrientation::kInverted)) setInk(out, x, y);
        }
    }
    return out;
}

int differentPixels(const PageRaster& a, const PageRaster& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int n = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) n += ink(a, x, y) != ink(b, x, y);
    return n;
}

struct PageShown : test::DocumentFixture, ::testing::Test {
    const PageRaster page = cornerPage();
    std::unique_ptr<CMainFrame> frame;

    void make() {
        settings.useCommonDialog = 0;
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(700, 800);
        frame->show();
        QApplication::processEvents();
    }
    void open(const std::string& path) {
        table.append(path);
        doc.goToPage(1);
        frame->showCurrentPage();
        frame->runCommand(kFitWholePage);
    }
    // The share of dark pixels in one quarter of the page on the screen
    // (0, 0 the top left, 1, 1 the bottom right).
    double darkQuarter(int qx, int qy) {
        QApplication::processEvents();
        const QImage shot = frame->pageWidget()->grab().toImage();
        const ViewRect r = frame->view().imageOnScreen();
        const int x0 = r.left + qx * r.width() / 2, y0 = r.top + qy * r.height() / 2;
        int dark = 0, all = 0;
        for (int y = y0; y < y0 + r.height() / 2; ++y)
            for (int x = x0; x < x0 + r.width() / 2; ++x, ++all) dark += qGray(shot.pixel(x, y)) < 128;
        return all ? double(dark) / all : -1;
    }
    bool checked(int id) const { return frame->menuAction(id)->isChecked(); }
    QAbstractButton* button(QWidget* w, const char* id) const { return w->findChild<QAbstractButton*>(id); }
};

// The window is not told when the document loads another page: whoever
// changed it (a job, another copy's request, a scan), the next time the
// window brings itself up to date it shows the page the document has.
TEST_F(PageShown, ThePageTheDocumentLoadsIsShownWithoutTheWindowBeingTold) {
    make();
    PageRaster blank;
    blank.create(400, 600, 200);
    ASSERT_TRUE(table.append(writeMH("two.MH", {&page, &blank})));
    ASSERT_TRUE(doc.goToPage(1));
    frame->runCommand(kFitWholePage);
    ASSERT_GT(darkQuarter(0, 0), 0.1);

    ASSERT_TRUE(doc.goToPage(2));
    frame->refresh();
    EXPECT_LT(darkQuarter(0, 0), 0.01);
    EXPECT_NE(frame->captionText().indexOf("(2/2)"), -1) << frame->captionText().toStdString();

    doc.closeAll();
    frame->refresh();
    EXPECT_FALSE(frame->view().pageShown());
}

TEST_F(PageShown, InvertedAndMirroredPageSurvivesRedrawsAndRequestsOfOtherCopies) {
    make();
    open(writeMH("corner.MH", {&page}));
    ASSERT_GT(darkQuarter(0, 0), 0.1);
    ASSERT_LT(darkQuarter(1, 0), 0.01);

    frame->runCommand(kInvert);
    frame->runCommand(kMirrorLeftRight);
    EXPECT_GT(darkQuarter(0, 0), 0.99);  // the square went right, everything else is dark
    EXPECT_LT(darkQuarter(1, 0), 0.9);

    // Another copy changes the view flags: the page is shown again, as it was.
    const int32_t flags = 1;
    frame->request(261, std::span(reinterpret_cast<const uint8_t*>(&flags), sizeof flags));
    frame->showCurrentPage();
    EXPECT_GT(darkQuarter(0, 0), 0.99);
    EXPECT_LT(darkQuarter(1, 0), 0.9);
    EXPECT_TRUE(checked(kInvert));
    EXPECT_TRUE(checked(kMirrorLeftRight));
    EXPECT_EQ(table.word(1).transform(), PageOrientation::kInverted | PageOrientation::kMirroredLeftRight);

    // The next toggles undo exactly what was done.
    frame->runCommand(kInvert);
    frame->runCommand(kMirrorLeftRight);
    EXPECT_GT(darkQuarter(0, 0), 0.1);
    EXPECT_LT(darkQuarter(1, 0), 0.01);
    EXPECT_FALSE(checked(kInvert));
    EXPECT_EQ(differentPixels(*frame->view().orientation().displayed(), page), 0);
}

TEST_F(PageShown, SavingTheCurrentPageWritesWhatTheWindowShows) {
    make();
    open(writeMH("corner.MH", {&page}));
    frame->runCommand(kInvert);
    frame->runCommand(kMirrorLeftRight);
    frame->runCommand(kTurnLeft);
    const uint16_t word = table.word(1).transform();
    ASSERT_EQ(word, PageOrientation::kInverted | PageOrientation::kMirroredLeftRight | 1);
    const double shownTopLeft = darkQuarter(0, 0);

    const std::string target = dir + "/shown.TIF";
    ModalAnswerer answer([&](QWidget* w) {
        if (w->objectName() != "saveTarget") return false;
        w->findChild<QLineEdit*>("path")->setText(QString::fromStdString(target));
        button(w, "1")->click();
        return true;
    });
    frame->runCommand(kSaveCurrentFile);
    ASSERT_TRUE(files::exists(target)) << messages.last();

    // libtiff's reader sees the page as it was shown.
    const std::string pbm = dir + "/shown.pbm";
    ASSERT_EQ(std::system(("tifftopnm '" + target + "' > '" + pbm + "' 2>/dev/null").c_str()), 0);
    PageRaster written;
    ASSERT_TRUE(test::readPbm(pbm, written));
    EXPECT_EQ(differentPixels(written, naiveShown(page, word)), 0);
    // And the window still shows it so.
    EXPECT_DOUBLE_EQ(darkQuarter(0, 0), shownTopLeft);
    EXPECT_TRUE(checked(kInvert));
}

// Two pages with comments of their own go into a book, one inverted, one
// turned and mirrored; the book alone, without its comment file, is opened
// by another run.
TEST_F(PageShown, BookGivenAwayAloneShowsPagesContentsAndKeywordsAsTheWindowDid) {
    make();
    const PageRaster second = test::makePage(test::Pattern::Text, 320, 480, 7);
    table.append(writeMH("cover.MH", {&page}));
    table.append(writeMH("body.MH", {&second}));
    // Comment files are code page 932 text.
    writeText("cover.MH.()", text::toCp932("目次：表紙\r\n").value());
    writeText("body.MH.()", text::toCp932("目次：本文\r\nキーワード：鍵\r\n").value());
    doc.goToPage(1);
    frame->showCurrentPage();
    frame->runCommand(kInvert);
    frame->runCommand(kNextPage);
    frame->runCommand(kTurnRight);
    frame->runCommand(kMirrorUpDown);
    const uint16_t words[2] = {table.word(1).transform(), table.word(2).transform()};
    ASSERT_EQ(words[0], PageOrientation::kInverted);
    ASSERT_EQ(words[1], PageOrientation::kMirroredUpDown | 3);

    ModalAnswerer answer([&](QWidget* w) {
        const QString name = w->objectName();
        if (name == "saveTarget") {
            w->findChild<QLineEdit*>("path")->setText(QString::fromStdString(dir + "/book.LPB"));
            w->findChild<QCheckBox*>("copyComments")->setChecked(true);
        } else if (name == "167") {
            w->findChild<QPlainTextEdit*>("information")->setPlainText("書名：渡す本");
        } else if (name != "conversionDone") {
            return false;
        }
        button(w, "1")->click();
        return true;
    });
    frame->runCommand(kConvertAll);
    ASSERT_TRUE(files::exists(dir + "/book.LPB")) << messages.last();

    test::DocumentFixture other;
    const std::string given = other.dir + "/given.LPB";
    ASSERT_TRUE(std::filesystem::copy_file(dir + "/book.LPB", given));
    ASSERT_FALSE(files::exists(given + ".()"));
    other.settings.useCommonDialog = 0;
    CMainFrame reader(other.settings, other.startup, other.table, other.doc);
    reader.resize(700, 800);
    reader.show();
    other.table.append(given);
    ASSERT_EQ(other.table.totalPages(), 2);
    const PageRaster* sources[2] = {&page, &second};
    for (int p = 1; p <= 2; ++p) {
        other.doc.goToPage(p);
        reader.showCurrentPage();
        EXPECT_EQ(other.table.word(p).transform(), words[p - 1]) << p;
        EXPECT_EQ(differentPixels(*reader.view().orientation().displayed(), naiveShown(*sources[p - 1], words[p - 1])), 0)
            << "page " << p;
    }

    EXPECT_EQ(CommentFile::read(given, 2).value_or("none"), "目次：本文\r\nキーワード：鍵\r\n");
    const ContentsAndKeywords listed = listedContentsAndKeywords(reader);
    EXPECT_EQ(listed.contents, (QStringList{"表紙:1", "本文:2"}));
    EXPECT_EQ(listed.keywords, (QStringList{"鍵:2"}));
}

// Overwrites the value of one header line ("XSIZE:", "YSIZE:") of a page file.
void patchHeaderValue(const std::string& path, const std::string& key, const std::string& value) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    std::string head(176, '\0');
    f.read(head.data(), std::streamsize(head.size()));
    const size_t at = head.find(key);
    ASSERT_NE(at, std::string::npos);
    const std::string field = std::string(8 - value.size(), ' ') + value;  // right-aligned, ending at byte 14
    f.seekp(std::streamoff(at + 6));
    f.write(field.data(), std::streamsize(field.size()));
}

// A page file whose header gives no size shows every one of its pages as an
// empty page, never as the raw bytes of a page read in another page's
// geometry.
TEST_F(PageShown, EveryPageOfAPageFileWithoutASizeIsShownEmpty) {
    make();
    const PageRaster noise = test::makePage(test::Pattern::Noise, 400, 600, 3);
    const std::string path = writeMH("nosize.MH", {&noise, &noise, &noise}, 0);
    patchHeaderValue(path, "XSIZE:", "0");
    open(path);
    ASSERT_EQ(table.totalPages(), 3);
    for (int p = 1; p <= 3; ++p) {
        if (p > 1) frame->runCommand(kNextPage);
        ASSERT_EQ(table.currentPage(), p);
        for (int q = 0; q < 4; ++q) EXPECT_EQ(darkQuarter(q % 2, q / 2), 0.0) << "page " << p;
    }
    EXPECT_TRUE(messages.said.empty()) << messages.last();
}

}  // namespace
}  // namespace lumipage
