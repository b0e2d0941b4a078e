// The print commands of the main window over real page files: the print
// dialog's range and copies decide the sheets written (counted by poppler's
// pdfinfo), the current screen is numbered as its page, the preview opens
// on one or two sheets, and the printer set-up prints nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "base/CommandIds.h"
#include "gui/CMainFrame.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "view/PageNavigator.h"

namespace lumipage {
namespace {

using namespace command;

struct PrintCommands : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 400, 560, 1);
    std::unique_ptr<CMainFrame> frame;
    std::string pdf;
    bool dialogSeen = false;

    PrintCommands() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        table.append(writeMH("five.MH", {&small, &small, &small, &small, &small}, 0));
        doc.goToPage(1);
        frame->showCurrentPage();
        pdf = dir + "/out.pdf";
        frame->printer().setOutputFormat(QPrinter::PdfFormat);
        frame->printer().setOutputFileName(QString::fromStdString(pdf));
        QApplication::processEvents();
    }

    // Runs the command; the dialog it opens is handed to `answer` once it is up.
    template <typename Dialog>
    void runWith(int id, std::function<void(Dialog&)> answer) {
        QTimer::singleShot(0, [this, answer] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialogSeen = true;
            answer(*dialog);
        });
        frame->runCommand(id);
    }
    static void choosePages(QPrintDialog& dialog, int from, int to, int copies = 1) {
        dialog.findChild<QRadioButton*>("printRange")->setChecked(true);
        dialog.findChild<QSpinBox*>("from")->setValue(from);
        dialog.findChild<QSpinBox*>("to")->setValue(to);
        dialog.findChild<QSpinBox*>("copies")->setValue(copies);
    }
    int pdfPages() const {
        for (int pages = 0; pages <= 12; ++pages)
            if (test::runCommand("pdfinfo '" + pdf + "' 2>/dev/null | grep -q '^Pages: *" + std::to_string(pages) +
                                 "$'") == 0)
                return pages;
        return -1;
    }
};

TEST_F(PrintCommands, PrintingPages2To3WritesTwoSheets) {
    runWith<QPrintDialog>(kPrintAll, [](QPrintDialog& dialog) {
        EXPECT_EQ(dialog.minPage(), 1);
        EXPECT_EQ(dialog.maxPage(), 5);
        choosePages(dialog, 2, 3);
        dialog.accept();
    });
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(pdfPages(), 2);
    // Only the sheets printed are marked printed.
    EXPECT_FALSE(table.word(1).has(PageWord::kPrinted));
    EXPECT_TRUE(table.word(2).has(PageWord::kPrinted));
    EXPECT_TRUE(table.word(3).has(PageWord::kPrinted));
    EXPECT_FALSE(table.word(4).has(PageWord::kPrinted));
    EXPECT_EQ(frame->navigator().currentPage(), 1) << "the page shown before comes back";
}

TEST_F(PrintCommands, PrintingTwoCopiesOfPage4WritesTwoSheets) {
    runWith<QPrintDialog>(kPrintAllDialog, [](QPrintDialog& dialog) {
        choosePages(dialog, 4, 4, 2);
        dialog.accept();
    });
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(pdfPages(), 2);
}

TEST_F(PrintCommands, PrintingEveryPageWritesFiveSheetsAndCancelWritesNone) {
    runWith<QPrintDialog>(kPrintAll, [](QPrintDialog& dialog) { dialog.reject(); });
    ASSERT_TRUE(dialogSeen);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    runWith<QPrintDialog>(kPrintAll, [](QPrintDialog& dialog) { dialog.accept(); });
    EXPECT_EQ(pdfPages(), 5);
}

TEST_F(PrintCommands, PrintingTheScreenOfPage4OffersPage4AndWritesOneSheet) {
    frame->navigator().goToPage(4);
    frame->showCurrentPage();
    runWith<QPrintDialog>(kPrintScreen, [](QPrintDialog& dialog) {
        EXPECT_EQ(dialog.minPage(), 4);
        EXPECT_EQ(dialog.maxPage(), 4);
        choosePages(dialog, 4, 4);
        EXPECT_EQ(dialog.findChild<QSpinBox*>("from")->value(), 4);
        dialog.accept();
    });
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(pdfPages(), 1);
    EXPECT_TRUE(table.word(4).has(PageWord::kPrinted));
}

TEST_F(PrintCommands, PreviewOpensOnTwoSheetsForAllPagesAndOneForTheScreen) {
    QPrintPreviewWidget::ViewMode mode = QPrintPreviewWidget::AllPagesView;
    const auto look = [&mode](QPrintPreviewDialog& dialog) {
        if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) mode = view->viewMode();
        dialog.reject();
    };
    runWith<QPrintPreviewDialog>(kPreviewAll, look);
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(mode, QPrintPreviewWidget::FacingPagesView);
    runWith<QPrintPreviewDialog>(kPreviewScreen, look);
    EXPECT_EQ(mode, QPrintPreviewWidget::SinglePageView);
    EXPECT_FALSE(table.word(1).has(PageWord::kPrinted)) << "the preview never marks";
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintCommands, PrinterSetupChoosesThePrinterWithoutPrinting) {
    runWith<QPrintDialog>(kPrinterSetup, [](QPrintDialog& dialog) {
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
        dialog.accept();
    });
    ASSERT_TRUE(dialogSeen);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(table.word(1).has(PageWord::kPrinted));
}

TEST_F(PrintCommands, PrintDialogTakesThePointerToTheWindowWithAutoMousePos) {
    settings.autoMousePos = 1;
    QCursor::setPos(0, 0);
    QPoint at;
    runWith<QPrintDialog>(kPrintAll, [&at](QPrintDialog& dialog) {
        at = QCursor::pos();
        dialog.reject();
    });
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(at, frame->mapToGlobal(frame->rect().center()));
}

}  // namespace
}  // namespace lumipage
