#pragma once
#include <QRect>

#include "view/PrintJob.h"

class QPainter;
class QPrinter;

namespace lumipage {

// A sheet of a Qt printer (a real printer, a PDF file or the print preview)
// as the print job draws on it: the drawing rectangle is the printer's
// printable area, in printer pixels.
class PrinterSheet : public PrintSheet {
public:
    // With a printer, every page after the first starts a new sheet.
    PrinterSheet(QPainter& painter, QPrinter* printer, const QRect& printable);
    ViewSize drawingSize() const override;
    void drawBitmap(const CDIB& bitmap, const ViewRect& destination) override;
    void drawColourPage(const CDIB& page) override;
    int sheetsDrawn() const { return drawn_; }

private:
    void nextSheet();

    QPainter& painter_;
    QPrinter* printer_;
    QRect printable_;
    int drawn_ = 0;
};

// Runs the job on the printer, one sheet a page; pages the job skips take
// no sheet. Returns the number of sheets printed, or -1 when the printer
// could not be started.
int printOnPrinter(PrintJob& job, QPrinter& printer);

}  // namespace lumipage
