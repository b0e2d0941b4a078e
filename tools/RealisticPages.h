#pragma once
#include <cstdint>

#include "image/PageRaster.h"

namespace lumipage::samples {

// Pages as they come from real machines, drawn deterministically from a seed,
// for measuring the codecs and the view on more than clean synthetic text.

// A typed fine fax page, 1728 x 2290 at 200 dpi: a letterhead, paragraphs of
// typed text and a ruled table.
PageRaster typedFaxPage();

// An A4 page scanned at 300 dpi (2480 x 3508): typed text whose edges are
// blurred and noisy, the whole page turned by a slight skew, a few thousand
// dust specks and a photograph printed with an 8 x 8 ordered dither.
PageRaster scannedPage(uint32_t seed = 1);

// An A4 page at 300 dpi of random pixels, half of them ink.
PageRaster noisePage(uint32_t seed = 1);

}  // namespace lumipage::samples
