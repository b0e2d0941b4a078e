#include "gui/FramePrinting.h"

#include <QPrintDialog>
#include <QCursor>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>

#include "base/Messages.h"
#include "base/Settings.h"
#include "gui/print/PrinterSheet.h"
#include "view/PrintDialogRange.h"

namespace lumipage {

QPrinter& FramePrinting::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void FramePrinting::setUp(PrintJob& job, PrintRange range, bool preview, const ViewRect& client) {
    // With driver scaling the page keeps its own pixels and the printer stretches them.
    job.setUp(range, preview, settings_.useStretchBlt != 0, client);
}

void FramePrinting::print(PrintRange range, PrinterDialog printerDialog, const ViewRect& client) {
    const bool withDialog = printerDialog == PrinterDialog::Show;
    PrintJob job(pages_);
    setUp(job, range, false, client);
    const int sheets = job.prepare();
    if (sheets <= 0) return;
    QPrinter& p = printer();
    // Without the dialog there is no chance to print to a file instead.
    if (!withDialog && QPrinterInfo::defaultPrinter().isNull() && p.outputFileName().isEmpty()) {
        messages_.message(kNoPrinter);
        return;
    }
    const PrintDialogRange numbers(range, sheets, pages_.currentPage());
    p.setPrintRange(QPrinter::AllPages);
    p.setFromTo(numbers.firstNumber(), numbers.lastNumber());
    SheetChoice choice{1, sheets, 1};
    if (withDialog) {
        moveMouseToCentre();
        QPrintDialog dialog(&p, window_);
        dialog.setObjectName("printDialog");
        dialog.setMinMax(numbers.firstNumber(), numbers.lastNumber());
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (dialog.exec() != QDialog::Accepted) return;
        const bool someSheets = p.printRange() == QPrinter::PageRange;
        const PrintDialogRange::Sheets chosen =
            numbers.sheetsFor(someSheets ? p.fromPage() : 0, someSheets ? p.toPage() : 0);
        choice = {chosen.first, chosen.last, std::max(p.copyCount(), 1)};
        if (chosen.count() == 0) return;
    }
    printOnPrinter(job, p, choice);
}

void FramePrinting::preview(PrintRange range, const ViewRect& client) {
    PrintJob job(pages_);
    setUp(job, range, true, client);
    const int sheets = job.prepare();
    if (sheets <= 0) return;
    const PrintDialogRange numbers(range, sheets, pages_.currentPage());
    QPrintPreviewDialog dialog(&printer(), window_);
    dialog.setObjectName("printPreview");
    if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) {
        view->setViewMode(numbers.previewTwoSheets() ? QPrintPreviewWidget::FacingPagesView
                                                     : QPrintPreviewWidget::SinglePageView);
        view->setZoomMode(QPrintPreviewWidget::FitInView);
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) {
        printOnPrinter(job, *p);
    });
    dialog.exec();
}

// The printer is chosen in the print dialog; nothing is printed.
void FramePrinting::printerSetup() {
    QPrintDialog dialog(&printer(), window_);
    dialog.setObjectName("printerSetup");
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.exec();
}

void FramePrinting::moveMouseToCentre() {
    if (!settings_.autoMousePos || !window_) return;
    QCursor::setPos(window_->mapToGlobal(window_->rect().center()));
}

bool FramePrinting::printAllDirect() {
    if (QPrinterInfo::defaultPrinter().isNull() && printer().outputFileName().isEmpty()) {
        messages_.message(kNoPrinter);
        return false;
    }
    PrintJob job(pages_);
    setUp(job, PrintRange::AllPages, false, {});
    return printOnPrinter(job, printer()) >= 0;
}

}  // namespace lumipage
