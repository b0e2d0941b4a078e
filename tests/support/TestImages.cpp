#include "support/TestImages.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace lumipage::test {

namespace {

void setPixel(PageRaster& p, int x, int y) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    p.row(y)[x / 8] |= uint8_t(0x80 >> (x % 8));
}

void fillRect(PageRaster& p, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) setPixel(p, x, y);
}

void drawText(PageRaster& p, std::mt19937& rng) {
    // Letter-like glyphs: each a few strokes in a cell, words separated by gaps.
    const int cell = std::max(6, p.width / 80);
    const int lineHeight = cell * 2;
    const int margin = std::max(1, p.width / 12);
    const int stroke = std::max(1, cell / 6);
    for (int top = margin; top + cell < p.height - margin; top += lineHeight) {
        int x = margin;
        while (x + cell < p.width - margin) {
            const int letters = 2 + int(rng() % 7);
            for (int l = 0; l < letters && x + cell < p.width - margin; ++l, x += cell) {
                const unsigned shape = rng();
                if (shape & 1) fillRect(p, x, top, stroke, cell);                        // left stem
                if (shape & 2) fillRect(p, x + cell - 2 * stroke, top, stroke, cell);    // right stem
                if (shape & 4) fillRect(p, x, top, cell - stroke, stroke);                // top bar
                if (shape & 8) fillRect(p, x, top + cell / 2, cell - stroke, stroke);     // middle bar
                if (shape & 16) fillRect(p, x, top + cell - stroke, cell - stroke, stroke);  // bottom bar
                if (shape & 32) setPixel(p, x + cell / 2, top - 2);                       // a dot
            }
            x += cell;  // space between words
        }
    }
}

}  // namespace

PageRaster makePage(Pattern pattern, int width, int height, uint32_t seed) {
    PageRaster p;
    p.create(width, height, 200);
    std::mt19937 rng(seed);
    switch (pattern) {
        case Pattern::White: break;
        case Pattern::Black: fillRect(p, 0, 0, width, height); break;
        case Pattern::Text: drawText(p, rng); break;
        case Pattern::Noise:
            for (int y = 0; y < height; ++y)
                for (uint32_t b = 0; b < p.bytesPerRow; ++b) p.row(y)[b] = uint8_t(rng());
            break;
        case Pattern::ThinLines:
            for (int y = 3; y < height; y += 37) fillRect(p, 0, y, width, 1);
            for (int x = 1; x < width; x += 29) fillRect(p, x, 0, 1, height);
            for (int i = 0; i < 50; ++i) setPixel(p, int(rng() % uint32_t(width)), int(rng() % uint32_t(height)));
            setPixel(p, width - 1, height - 1);
            setPixel(p, 0, 0);
            break;
    }
    p.clearPadding();
    return p;
}

std::vector<uint8_t> imageBytes(const PageRaster& page) {
    const size_t n = size_t(page.height) * page.bytesPerRow;
    return std::vector<uint8_t>(page.bits(), page.bits() + n);
}

bool writePbm(const std::string& path, const PageRaster& page) {
    std::ofstream out(path, std::ios::binary);
    out << "P4\n" << page.width << ' ' << page.height << '\n';
    out.write(reinterpret_cast<const char*>(page.bits()), std::streamsize(size_t(page.height) * page.bytesPerRow));
    return bool(out);
}

bool readPbm(const std::string& path, PageRaster& page) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w = 0, h = 0;
    in >> magic;
    // Skip comments between header fields.
    auto number = [&in](int& v) {
        in >> std::ws;
        while (in.peek() == '#') {
            std::string line;
            std::getline(in, line);
            in >> std::ws;
        }
        in >> v;
    };
    number(w);
    number(h);
    if (magic != "P4" || !in || w <= 0 || h <= 0) return false;
    in.get();  // the single white-space character before the raster
    page.create(w, h, 200);
    in.read(reinterpret_cast<char*>(page.bits()), std::streamsize(size_t(h) * page.bytesPerRow));
    return bool(in);
}

std::string tempFolder() {
    static int counter = 0;
    const char* base = std::getenv("TMPDIR");
    std::filesystem::path dir = std::filesystem::path(base && *base ? base : "/tmp") /
                                ("lumipage-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    struct Cleanup {
        std::vector<std::filesystem::path> dirs;
        ~Cleanup() {
            std::error_code ec;
            for (auto& d : dirs) std::filesystem::remove_all(d, ec);
        }
    };
    static Cleanup cleanup;
    cleanup.dirs.push_back(dir);
    return dir.string();
}

int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status == -1) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int firstDifferentRow(const PageRaster& a, const PageRaster& b) {
    const int rows = std::min(a.height, b.height);
    const size_t n = std::min(a.bytesPerRow, b.bytesPerRow);
    for (int y = 0; y < rows; ++y)
        if (std::memcmp(a.row(y), b.row(y), n) != 0) return y;
    if (a.height != b.height || a.bytesPerRow != b.bytesPerRow) return rows;
    return -1;
}

}  // namespace lumipage::test
