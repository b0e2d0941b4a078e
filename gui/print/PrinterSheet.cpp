#include "gui/print/PrinterSheet.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <QPainter>
#include <QPrinter>

#include "image/CDIB.h"

namespace lumipage {

namespace {

// The bitmap as a QImage with its colour table, rows from the top.
QImage imageOf(const CDIB& bitmap) {
    const int bpp = bitmap.bitsPerPixel();
    const QImage::Format format = bpp == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
    QImage image;
    if (bpp == 1 || bpp == 8) {
        image = QImage(bitmap.width(), bitmap.height(), format);
        for (int y = 0; y < bitmap.height(); ++y)
            std::memcpy(image.scanLine(y), bitmap.rowAddress(y), std::min<size_t>(bitmap.stride(), image.bytesPerLine()));
    } else {
        // 4 bits a pixel: each byte holds two palette indexes.
        image = QImage(bitmap.width(), bitmap.height(), QImage::Format_Indexed8);
        for (int y = 0; y < bitmap.height(); ++y) {
            const uint8_t* in = bitmap.rowAddress(y);
            uchar* out = image.scanLine(y);
            for (int x = 0; x < bitmap.width(); ++x) out[x] = x % 2 ? in[x / 2] & 15 : in[x / 2] >> 4;
        }
    }
    const int colours = bpp == 1 ? 2 : bpp == 4 ? 16 : 256;
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i) {
        const auto& c = bitmap.palette()[size_t(i)];
        table.push_back(qRgb(c.red, c.green, c.blue));
    }
    image.setColorTable(table);
    return image;
}

}  // namespace

PrinterSheet::PrinterSheet(QPainter& painter, QPrinter* printer, const QRect& printable)
    : painter_(painter), printer_(printer), printable_(printable) {}

void PrinterSheet::nextSheet() {
    if (drawn_ > 0 && printer_) printer_->newPage();
    ++drawn_;
}

ViewSize PrinterSheet::drawingSize() const { return {printable_.width(), printable_.height()}; }

void PrinterSheet::drawBitmap(const CDIB& bitmap, const ViewRect& d) {
    nextSheet();
    painter_.drawImage(QRect(d.left, d.top, d.width(), d.height()), imageOf(bitmap));
}

void PrinterSheet::drawColourPage(const CDIB& page) {
    nextSheet();
    const ViewRect d = print::placement(drawingSize(), {page.width(), page.height()});
    painter_.drawImage(QRect(d.left, d.top, d.width(), d.height()), imageOf(page));
}

int printOnPrinter(PrintJob& job, QPrinter& printer, const SheetChoice& choice) {
    const int sheets = job.prepare();
    if (sheets <= 0) return 0;
    const int first = std::max(choice.first, 1);
    const int last = choice.last > 0 ? std::min(choice.last, sheets) : sheets;
    if (first > last) return 0;
    // A printer that makes its copies itself gets the sheets once.
    const int runs = printer.supportsMultipleCopies() ? 1 : std::max(choice.copies, 1);
    if (printer.supportsMultipleCopies()) printer.setCopyCount(std::max(choice.copies, 1));
    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    const QRect printable(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    PrinterSheet sheet(painter, &printer, printable);
    job.begin();
    for (int run = 0; run < runs; ++run)
        for (int n = first; n <= last; ++n) job.printSheet(n, sheet);
    job.end();
    painter.end();
    return sheet.sheetsDrawn();
}

}  // namespace lumipage
