#pragma once
#include <cstdint>
#include <optional>

#include "image/ScaleRatio.h"

namespace lumipage {

class PageRaster;

// A rectangle of page pixels, right and bottom exclusive.
struct PageRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool isLandscape() const { return height() < width(); }
};

// A position in a destination image, in pixels from its top-left corner.
struct PagePoint {
    int32_t x = 0;
    int32_t y = 0;
};

// How a rectangle of a page is fitted into a destination: which ratio, which
// source pixels are used and where the output lands. With `turned` the
// source coordinates are those of the page given a quarter turn
// counter-clockwise, counted before the rows from the padding bits are
// dropped: source pixel (x, y) is turned pixel (y, bytesPerRow x 8 - 1 - x).
struct FitLayout {
    bool turned = false;
    const ScaleRatio* ratio = nullptr;
    // Used source pixels: left and right are whole bytes (multiples of 8);
    // with a turn they are page rows, top and bottom page columns.
    PageRect source;
    int32_t outputColumns = 0;  // a multiple of 8, written from destinationLeft
    int32_t outputRows = 0;
    int32_t destinationLeft = 0;  // a multiple of 8
    int32_t destinationTop = 0;
    int32_t destinationWidth = 0;
    int32_t destinationHeight = 0;

    // True when nothing of the page lands inside the destination.
    bool isEmpty() const { return outputColumns <= 0 || outputRows <= 0; }
};

// The page's bounds, cut by the clip rectangle when one is given; nothing
// when that leaves no pixel.
std::optional<PageRect> clippedBounds(const PageRaster& page, const std::optional<PageRect>& clip);

// The page's rectangle (its bounds, cut by the clip rectangle when one is
// given) widened to whole bytes, and, when turned, expressed in turned
// coordinates; nothing when it is empty.
std::optional<PageRect> fitRectangle(const PageRaster& page, const std::optional<PageRect>& clip, bool turn);

// The first ratio of the list at which a rectangle of the given size fits;
// null when none does.
const ScaleRatio* chooseFitRatio(int32_t width, int32_t height, int32_t targetWidth, int32_t targetHeight);

// Plans the fit of `rectangle` (from fitRectangle) into a destination of
// the given size: chooses the ratio, then places the output centred, or at
// the offset when one is given, narrowing the source where the output
// would not fit beside the offset. Nothing when no ratio fits.
std::optional<FitLayout> planFit(const PageRaster& page, const PageRect& rectangle, bool clipped, bool turn,
                                 int32_t destinationWidth, int32_t destinationHeight,
                                 const std::optional<PagePoint>& offset);

}  // namespace lumipage
