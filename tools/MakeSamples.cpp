// Makes the sample documents that `./dev run` opens: pages drawn here and
// written with the program's own writers.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/FaxPageFileWriter.h"
#include "image/LpPageFileWriter.h"
#include "image/TiffWriter.h"
#include "image/PageRaster.h"
#include "platform/File.h"
#include "tools/SampleCanvas.h"

using namespace lumipage;
using samples::SampleCanvas;

namespace {

constexpr int kWidth = 1728;  // a fine fax page, 200 dpi
constexpr int kHeight = 2290;
constexpr int kMargin = 140;

PageRaster blankPage(int width = kWidth, int height = kHeight) {
    PageRaster p;
    p.create(width, height, 200);
    return p;
}

void footer(SampleCanvas& c, int page, int width = kWidth, int height = kHeight) {
    const std::string text = "- " + std::to_string(page) + " -";
    c.text((width - SampleCanvas::textWidth(3, text)) / 2, height - 110, 3, text);
    c.fillRect(kMargin, height - 140, width - 2 * kMargin, 2);
}

PageRaster coverPage() {
    PageRaster p = blankPage();
    SampleCanvas c(p);
    c.frame(80, 80, kWidth - 160, kHeight - 160, 6);
    c.frame(96, 96, kWidth - 192, kHeight - 192, 2);
    c.text((kWidth - SampleCanvas::textWidth(20, "Lumipage")) / 2, 420, 20, "Lumipage");
    c.text((kWidth - SampleCanvas::textWidth(5, "SAMPLE DOCUMENT")) / 2, 640, 5, "SAMPLE DOCUMENT");
    // A fax machine with a page coming out.
    c.frame(564, 900, 600, 360, 8);
    c.fillRect(564, 1000, 600, 8);
    c.frame(660, 760, 408, 150, 5);
    for (int y = 790; y < 900; y += 24) c.fillRect(700, y, 300, 4);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) c.frame(620 + i * 60, 1060 + j * 60, 44, 44, 4);
    c.disc(1040, 1130, 60);
    c.circle(1040, 1130, 90, 6);
    const char* lines[] = {"Faxes, scans and books of page images,", "shown, turned, printed and sent.",
                           "", "Use PageDown / PageUp to browse,", "+ and - to zoom."};
    int y = 1480;
    for (const char* l : lines) {
        c.text((kWidth - SampleCanvas::textWidth(4, l)) / 2, y, 4, l);
        y += 60;
    }
    footer(c, 1);
    return p;
}

PageRaster letterPage() {
    PageRaster p = blankPage();
    SampleCanvas c(p);
    c.text(kMargin, 160, 6, "QUOR TRADING CO.");
    c.text(kMargin, 230, 3, "2-14-3 Minato, Tokyo 105-0000   Tel 03-0000-0000   Fax 03-0000-0001");
    c.fillRect(kMargin, 280, kWidth - 2 * kMargin, 6);
    c.text(kMargin, 340, 3, "To: Purchasing department");
    c.text(kMargin, 380, 3, "Re: Order 2026-118, delivery schedule");
    c.text(kWidth - kMargin - SampleCanvas::textWidth(3, "8 December 2026"), 340, 3, "8 December 2026");
    const char* body[] = {
        ("Thank you for your order of 1 December. We are glad to confirm that all items are in stock "
        "and will leave our warehouse on 10 December. The goods will travel by road and should reach "
        "your site two working days later."),
        ("Please find the packing list on the following page. The quantities match your order except "
        "for item 4, of which we can ship 180 units now and the remaining 20 units in January. If a "
        "part delivery does not suit you, let us know by reply fax and we will hold the whole order."),
        ("The invoice will follow by post. Payment terms are as agreed: thirty days from the date of "
        "delivery. Should anything arrive damaged, please keep the packaging and call us at once."),
        "We look forward to working with you again.",
    };
    int y = 480;
    for (const char* para : body) y = c.paragraph(kMargin, y, kWidth - 2 * kMargin, 3, para) + 30;
    y += 60;
    c.text(kMargin, y, 3, "Yours faithfully,");
    c.line(kMargin, y + 130, kMargin + 320, y + 90, 3);
    c.line(kMargin + 60, y + 140, kMargin + 200, y + 70, 3);
    c.text(kMargin, y + 170, 3, "H. Sato, Sales");
    footer(c, 3);
    return p;
}

PageRaster tablePage() {
    PageRaster p = blankPage();
    SampleCanvas c(p);
    c.text(kMargin, 160, 5, "PACKING LIST");
    const int cols[] = {kMargin, kMargin + 120, kMargin + 820, kMargin + 1050, kWidth - kMargin};
    const char* head[] = {"No.", "Item", "Qty", "Weight kg"};
    const int top = 300, rowHeight = 70, rows = 14;
    for (int r = 0; r <= rows; ++r) c.fillRect(cols[0], top + r * rowHeight, cols[4] - cols[0], r == 0 ? 4 : 2);
    for (int col : cols) c.fillRect(col, top, 3, rows * rowHeight);
    // White letters on a black head row: draw them, then invert the band.
    for (int i = 0; i < 4; ++i) c.text(cols[i] + 20, top + 22, 3, head[i]);
    for (int y = top + 4; y < top + rowHeight; ++y)
        for (int x = cols[0] / 8 + 1; x < cols[4] / 8; ++x) p.row(y)[x] = uint8_t(~p.row(y)[x]);
    const char* items[] = {"Steel bracket, 40 mm", "Hinge, brass",        "Wood screw 4 x 30 (box of 200)",
                           "Cable tie, black",     "Shelf board, oak",    "Wall plug 6 mm (box of 100)",
                           "Corner guard",         "Drawer runner, pair", "Handle, matt black",
                           "Glue, 500 g",          "Sanding paper P120",  "Varnish, clear 1 l",
                           "Brush set"};
    for (int i = 0; i < 13; ++i) {
        const int y = top + (i + 1) * rowHeight + 24;
        c.text(cols[0] + 20, y, 3, std::to_string(i + 1));
        c.text(cols[1] + 20, y, 3, items[i]);
        c.text(cols[2] + 20, y, 3, std::to_string((i * 37) % 190 + 10));
        c.text(cols[3] + 20, y, 3, std::to_string((i * 13) % 40 + 1) + "." + std::to_string(i % 10));
    }
    c.text(kMargin, top + rows * rowHeight + 60, 3, "Checked by: ____________    Date: ____________");
    footer(c, 2);
    return p;
}

PageRaster diagramPage() {
    PageRaster p = blankPage();
    SampleCanvas c(p);
    c.text(kMargin, 160, 5, "HOW A PAGE REACHES THE SCREEN");
    const char* boxes[] = {"Open file", "Count pages", "Decode page", "Turn / mirror", "Scale to view"};
    for (int i = 0; i < 5; ++i) {
        const int y = 320 + i * 190;
        c.frame(520, y, 680, 120, 5);
        c.text(520 + (680 - SampleCanvas::textWidth(4, boxes[i])) / 2, y + 45, 4, boxes[i]);
        if (i < 4) {
            c.line(860, y + 120, 860, y + 185, 5);
            c.line(860, y + 185, 835, y + 150, 5);
            c.line(860, y + 185, 885, y + 150, 5);
        }
    }
    // A bar chart of pages handled per month.
    const int base = 2000, left = kMargin + 80;
    c.fillRect(left, 1360, 4, base - 1360);
    c.fillRect(left, base, kWidth - 2 * kMargin - 80, 4);
    const int values[] = {120, 260, 310, 180, 420, 380, 500, 450, 300, 350, 410, 560};
    for (int m = 0; m < 12; ++m) {
        const int x = left + 40 + m * 110;
        const int h = values[m];
        if (m % 2) {
            c.fillRect(x, base - h, 70, h);
        } else {
            c.frame(x, base - h, 70, h, 4);
            for (int k = 8; k < h; k += 16) c.line(x, base - h + k, x + 69, base - h + k - 40 < base - h ? base - h : base - h + k - 40, 2);
        }
        c.text(x + 10, base + 20, 3, std::to_string(m + 1));
    }
    c.text(left, 1310, 3, "Pages per month");
    footer(c, 4);
    return p;
}

PageRaster chartPage() {
    PageRaster p = blankPage();
    SampleCanvas c(p);
    c.text(kMargin, 160, 5, "TEST CHART");
    // Converging lines show how each zoom level keeps thin strokes.
    for (int i = 0; i <= 40; ++i) c.line(kMargin, 600, kMargin + 700, 300 + i * 15, 1);
    // Patches of 1-, 2- and 4-pixel checks and stripes.
    const int sizes[] = {1, 2, 4, 8};
    for (int s = 0; s < 4; ++s) {
        const int x0 = 1000 + (s % 2) * 300, y0 = 300 + (s / 2) * 300;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 240; ++x)
                if (((x / sizes[s]) + (y / sizes[s])) % 2) c.fillRect(x0 + x, y0 + y, 1, 1);
        c.text(x0, y0 + 250, 3, std::to_string(sizes[s]) + " px");
    }
    // Grey ramp by ordered dither.
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < kWidth - 2 * kMargin; ++x)
            if (bayer[y % 4][x % 4] < (x * 17) / (kWidth - 2 * kMargin)) c.fillRect(kMargin + x, 1000 + y, 1, 1);
    // Letters at every scale from 1 to 6.
    int y = 1300;
    for (int s = 1; s <= 6; ++s) {
        const std::string sample = s <= 3 ? "The quick brown fox jumps over the lazy dog 0123456789"
                                          : s == 4 ? "The quick brown fox jumps over the lazy dog" : "Quick brown fox";
        c.text(kMargin, y, s, "Scale " + std::to_string(s) + ": " + sample);
        y += 14 * s + 20;
    }
    c.circle(kWidth / 2, 1950, 120, 1);
    c.circle(kWidth / 2, 1950, 80, 2);
    c.circle(kWidth / 2, 1950, 40, 4);
    footer(c, 5);
    return p;
}

PageRaster landscapePage() {
    PageRaster p = blankPage(kHeight, kWidth);
    SampleCanvas c(p);
    c.frame(60, 60, kHeight - 120, kWidth - 120, 4);
    c.text(120, 120, 6, "LANDSCAPE PAGE: TIMETABLE");
    const char* days[] = {"Mon", "Tue", "Wed", "Thu", "Fri"};
    for (int d = 0; d < 5; ++d) {
        const int x = 400 + d * 360;
        c.text(x + 100, 300, 4, days[d]);
        for (int h = 0; h < 8; ++h) {
            c.frame(x, 380 + h * 150, 330, 130, 2);
            if ((d + h) % 3 == 0) c.fillRect(x + 10, 390 + h * 150, 310, 110);
        }
    }
    for (int h = 0; h < 8; ++h) c.text(160, 420 + h * 150, 4, std::to_string(9 + h) + ":00");
    return p;
}

bool writePageFile(const std::string& path, const std::vector<PageRaster>& pages, const char* title) {
    File file;
    LpPageFileWriter writer;
    if (!file.open(path, File::Mode::Create) || !writer.begin(file, int(pages.size()), pages[0], title)) return false;
    for (const PageRaster& page : pages)
        if (!writer.append(file, page)) return false;
    return bool(writer.finish(file));
}

bool writeFax(const std::string& path, const PageRaster& page) {
    File file;
    return file.open(path, File::Mode::Create) && FaxPageFileWriter().write(file, page);
}

bool writeTiff(const std::string& path, const std::vector<PageRaster>& pages, int codingSetting) {
    File file;
    TiffWriter writer;
    if (!file.open(path, File::Mode::Create) || !writer.beginMultiPage(file, int(pages.size()))) return false;
    for (const PageRaster& page : pages)
        if (!writer.appendPage(file, page, codingSetting)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    std::filesystem::create_directories(out);
    // Opened in this order by `./dev run`: cover and packing list as a page
    // file, the letter as a fax, the charts as a G4 TIFF, a landscape page.
    std::vector<PageRaster> pageFile;
    pageFile.push_back(coverPage());
    pageFile.push_back(tablePage());
    for (PageRaster& p : pageFile) p.coding = int32_t(PageCoding::TaggedMH);
    std::vector<PageRaster> charts;
    charts.push_back(diagramPage());
    charts.push_back(chartPage());
    std::vector<PageRaster> landscape;
    landscape.push_back(landscapePage());
    const bool ok = writePageFile(out + "/Sample.MH", pageFile, "Sample") &&
                    writeFax(out + "/Sample-letter.FAX", letterPage()) &&
                    writeTiff(out + "/Sample-charts.TIF", charts, 14) &&
                    writePageFile(out + "/Sample-timetable.BW", landscape, "Timetable");
    if (!ok) {
        std::fprintf(stderr, "could not write the samples into %s\n", out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
