#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/PageRaster.h"

namespace lumipage::test {

// Pages drawn by the tests themselves, for round trips and comparisons.
enum class Pattern {
    White,       // all paper
    Black,       // all ink
    Text,        // lines of letter-like strokes, as on a typed page
    Noise,       // random pixels, about half ink
    ThinLines,   // single-pixel horizontal and vertical lines, single dots
};

// A page raster of the given size and pattern (allocated as readers do).
PageRaster makePage(Pattern pattern, int width, int height, uint32_t seed = 1);

// The image rows only (height x bytesPerRow bytes), for comparisons.
std::vector<uint8_t> imageBytes(const PageRaster& page);

// Writes/reads binary PBM (P4); reading fails (returns false) on anything else.
bool writePbm(const std::string& path, const PageRaster& page);
bool readPbm(const std::string& path, PageRaster& page);

// A fresh, empty folder under the system's temporary folder, removed at exit.
std::string tempFolder();

// Runs a shell command; returns its exit status (-1 when it could not run).
int runCommand(const std::string& command);

// The first differing row, or -1 when the images are equal.
int firstDifferentRow(const PageRaster& a, const PageRaster& b);

}  // namespace lumipage::test
