#include "tools/SampleCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tools/SampleFont.h"

namespace lumipage::samples {

void SampleCanvas::dot(int x, int y) {
    if (x < 0 || y < 0 || x >= page_.width || y >= page_.height) return;
    page_.row(y)[x / 8] |= uint8_t(0x80 >> (x % 8));
}

void SampleCanvas::fillRect(int x, int y, int w, int h) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, page_.height); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, page_.width); ++xx) dot(xx, yy);
}

void SampleCanvas::frame(int x, int y, int w, int h, int t) {
    fillRect(x, y, w, t);
    fillRect(x, y + h - t, w, t);
    fillRect(x, y, t, h);
    fillRect(x + w - t, y, t, h);
}

void SampleCanvas::line(int x0, int y0, int x1, int y1, int t) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        fillRect(x0 - t / 2, y0 - t / 2, t, t);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void SampleCanvas::circle(int cx, int cy, int r, int t) {
    for (int y = -r; y <= r; ++y)
        for (int x = -r; x <= r; ++x) {
            const int d = x * x + y * y;
            if (d <= r * r && d >= (r - t) * (r - t)) dot(cx + x, cy + y);
        }
}

void SampleCanvas::disc(int cx, int cy, int r) { circle(cx, cy, r, r); }

int SampleCanvas::text(int x, int y, int scale, std::string_view s) {
    for (char c : s) {
        const int index = (c >= 0x20 && c <= 0x7E) ? c - 0x20 : '?' - 0x20;
        const auto& glyph = kFont5x7[size_t(index)];
        for (int col = 0; col < 5; ++col)
            for (int row = 0; row < 7; ++row)
                if (glyph[size_t(col)] & (1 << row)) fillRect(x + col * scale, y + row * scale, scale, scale);
        x += 6 * scale;
    }
    return x;
}

int SampleCanvas::paragraph(int x, int y, int width, int scale, std::string_view words) {
    int cx = x;
    const int lineHeight = 11 * scale;
    while (!words.empty()) {
        const size_t space = words.find(' ');
        const std::string_view word = words.substr(0, space);
        words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
        if (cx > x && cx + textWidth(scale, word) > x + width) {
            cx = x;
            y += lineHeight;
        }
        cx = text(cx, y, scale, word) + 6 * scale;
    }
    return y + lineHeight;
}

}  // namespace lumipage::samples
