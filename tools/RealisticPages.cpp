#include "tools/RealisticPages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tools/SampleCanvas.h"

namespace lumipage::samples {

namespace {

constexpr std::string_view kWords =
    "The quarterly figures for the northern district arrived this morning and show a steady rise "
    "in orders since the spring. Please find the summary below together with the delivery dates "
    "agreed with the carriers. Two shipments were held at the border for inspection and will be "
    "released next week. We ask that the revised price list be sent to every branch before the "
    "end of the month, so that invoices issued from the first of the coming month carry the new "
    "rates. Any questions about individual accounts should go to the office that handles them.";

PageRaster blank(int width, int height, int dpi) {
    PageRaster p;
    p.create(width, height, dpi);
    return p;
}

bool ink(const PageRaster& p, int x, int y) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return false;
    return (p.row(y)[x / 8] & (0x80 >> (x % 8))) != 0;
}

void setInk(PageRaster& p, int x, int y) { p.row(y)[x / 8] |= uint8_t(0x80 >> (x % 8)); }

// The typed original of the scanned page: text at 300 dpi, a heading and a rule.
PageRaster scanOriginal(int width, int height) {
    PageRaster p = blank(width, height, 300);
    SampleCanvas c(p);
    constexpr int kMargin = 230;
    c.text(kMargin, 200, 9, "MEMORANDUM");
    c.fillRect(kMargin, 330, width - 2 * kMargin, 6);
    int y = 400;
    int paragraph = 0;
    while (y < height - 300) {
        // The photograph takes the middle of the page; the text flows around it.
        if (y > 1500 && y < 2500) y = 2500;
        y = c.paragraph(kMargin, y, width - 2 * kMargin, 4, kWords) + 30;
        if (++paragraph % 3 == 0) {
            c.text(kMargin, y, 5, "SECTION " + std::to_string(paragraph / 3));
            y += 80;
        }
    }
    return p;
}

// The grey of the photograph at (x, y) in 0 (white) .. 1 (black): soft
// shapes on a shaded ground.
// Only exact arithmetic, so the page is the same on every machine.
double triangle(double t) { return std::abs(t - std::floor(t) - 0.5) * 4.0 - 1.0; }

double photoGrey(double u, double v) {
    const double ground = 0.25 + 0.5 * u;
    const double r2 = (u - 0.35) * (u - 0.35) + (v - 0.45) * (v - 0.45);
    const double face = 1.0 / (1.0 + 40.0 * r2);
    const double ripple = 0.15 * triangle(u * 3.7) * triangle(v * 2.7);
    return std::clamp(ground - 0.45 * face + ripple + (v > 0.8 ? v - 0.8 : 0.0), 0.0, 1.0);
}

// The 8 x 8 ordered-dither thresholds, built from the 2 x 2 matrix.
std::array<std::array<int, 8>, 8> bayer8() {
    std::array<std::array<int, 8>, 8> m{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            int v = 0;
            for (int bit = 0; bit < 3; ++bit) {
                const int xb = (x >> bit) & 1, yb = (y >> bit) & 1;
                v |= ((xb ^ yb) << (2 * (2 - bit) + 1)) | (yb << (2 * (2 - bit)));
            }
            m[size_t(y)][size_t(x)] = v;
        }
    return m;
}

}  // namespace

PageRaster typedFaxPage() {
    constexpr int kWidth = 1728, kHeight = 2290, kMargin = 150;
    PageRaster p = blank(kWidth, kHeight, 200);
    SampleCanvas c(p);
    c.text(kMargin, 110, 6, "NORTHERN SUPPLY CO.");
    c.text(kMargin, 180, 3, "12 Harbour Road   Tel 0123 456 789   Fax 0123 456 790");
    c.fillRect(kMargin, 220, kWidth - 2 * kMargin, 4);
    c.text(kMargin, 270, 3, "TO: Accounts department      FROM: Sales office      PAGES: 1 of 1");
    int y = 350;
    for (int i = 0; i < 4; ++i) y = c.paragraph(kMargin, y, kWidth - 2 * kMargin, 3, kWords) + 20;
    // A ruled table of figures.
    const int rows = 8, columns = 4, rowHeight = 48, columnWidth = (kWidth - 2 * kMargin) / columns;
    for (int r = 0; r <= rows; ++r) c.fillRect(kMargin, y + r * rowHeight, columns * columnWidth, 2);
    for (int col = 0; col <= columns; ++col) c.fillRect(kMargin + col * columnWidth, y, 2, rows * rowHeight);
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < columns; ++col)
            c.text(kMargin + col * columnWidth + 12, y + r * rowHeight + 14, 3,
                   col == 0 ? "Item " + std::to_string(r + 1) : std::to_string((r + 3) * (col + 7) * 131));
    y += rows * rowHeight + 40;
    while (y < kHeight - 200) y = c.paragraph(kMargin, y, kWidth - 2 * kMargin, 3, kWords) + 20;
    return p;
}

PageRaster scannedPage(uint32_t seed) {
    constexpr int kWidth = 2480, kHeight = 3508;
    const PageRaster original = scanOriginal(kWidth, kHeight);
    PageRaster p = blank(kWidth, kHeight, 300);
    std::mt19937 rng(seed);
    // Sensor noise of -0.3 .. 0.3, from the generator's exactly specified numbers.
    const auto noise = [&rng] { return double(rng() % 6001) / 10000.0 - 0.3; };
    // The page lies turned by 0.35 degrees on the glass; each pixel sees the
    // original blurred over a 3 x 3 area, and sensor noise decides the edges.
    constexpr double cs = 0.9999813422, sn = 0.0061086018;  // cosine and sine of 0.35 degrees
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = p.row(y);
        for (int x = 0; x < kWidth; ++x) {
            const double dx = x - kWidth / 2.0, dy = y - kHeight / 2.0;
            const int sx = int(std::lround(cs * dx + sn * dy + kWidth / 2.0));
            const int sy = int(std::lround(-sn * dx + cs * dy + kHeight / 2.0));
            int count = 0;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i) count += ink(original, sx + i, sy + j) ? 1 : 0;
            if (count == 0) continue;  // clean paper stays clean; dust comes later
            if (count / 9.0 + noise() > 0.5) row[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
    // The photograph, 1800 x 900 pixels, dithered with the 8 x 8 matrix.
    const auto matrix = bayer8();
    constexpr int kPhotoX = 340, kPhotoY = 1560, kPhotoW = 1800, kPhotoH = 900;
    for (int y = 0; y < kPhotoH; ++y)
        for (int x = 0; x < kPhotoW; ++x) {
            const double grey = photoGrey(double(x) / kPhotoW, double(y) / kPhotoH);
            if (grey * 64.0 > matrix[size_t(y % 8)][size_t(x % 8)] + 0.5) setInk(p, kPhotoX + x, kPhotoY + y);
        }
    // Dust: specks of one to three pixels across.
    for (int i = 0; i < 4000; ++i) {
        const int x = int(rng() % (kWidth - 4)), y = int(rng() % (kHeight - 4));
        const int w = 1 + int(rng() % 3), h = 1 + int(rng() % 3);
        for (int j = 0; j < h; ++j)
            for (int k = 0; k < w; ++k) setInk(p, x + k, y + j);
    }
    p.clearPadding();
    return p;
}

PageRaster noisePage(uint32_t seed) {
    PageRaster p = blank(2480, 3508, 300);
    std::mt19937 rng(seed);
    for (int y = 0; y < p.height; ++y)
        for (uint32_t b = 0; b < p.bytesPerRow; ++b) p.row(y)[b] = uint8_t(rng());
    p.clearPadding();
    return p;
}

}  // namespace lumipage::samples
