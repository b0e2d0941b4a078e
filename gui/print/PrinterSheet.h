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

// The sheets of a job that go to the printer, and how many times. Sheet
// numbers are 1-based; a last of 0 means up to the job's last sheet.
struct SheetChoice {
    int first = 1;
    int last = 0;
    int copies = 1;
};

// Runs the job on the printer, one sheet a page; pages the job skips take
// no sheet. Copies the printer cannot make itself are printed one after the
// other, each a whole run of the chosen sheets. Returns the number of
// sheets printed, or -1 when the printer could not be started.
int printOnPrinter(PrintJob& job, QPrinter& printer, const SheetChoice& choice = {});

}  // namespace lumipage
