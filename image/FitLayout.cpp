#include "image/FitLayout.h"

#include <algorithm>

#include "image/PageRaster.h"

namespace lumipage {

namespace {

constexpr int32_t roundDown8(int32_t v) { return v & ~7; }
constexpr int32_t roundUp8(int32_t v) { return (v + 7) & ~7; }

int32_t scaled(int32_t pixels, const ScaleRatio& r) {
    return int32_t(int64_t(pixels) * r.outputPixels / r.sourcePixels);
}

int32_t unscaled(int32_t pixels, const ScaleRatio& r) {
    return int32_t(int64_t(pixels) * r.sourcePixels / r.outputPixels);
}

// Where the page itself lies along one axis of the (possibly turned)
// coordinates: the narrowed source is centred on it.
struct Extent {
    int32_t start;
    int32_t length;
};

Extent horizontalExtent(const PageRaster& page, bool turn) { return {0, turn ? page.height : page.width}; }

Extent verticalExtent(const PageRaster& page, bool turn) {
    // Turned rows start with those that came from the padding bits.
    return turn ? Extent{int32_t(page.bytesPerRow) * 8 - page.width, page.width} : Extent{0, page.height};
}

// Centres `length` on the extent, within [low, high - length].
int32_t centred(const Extent& extent, int32_t length, int32_t low, int32_t high, bool wholeBytes) {
    int32_t start = (extent.length - length) / 2;
    if (wholeBytes) start = roundDown8(std::max(start, 0));
    return std::clamp(extent.start + start, low, std::max(low, high - length));
}

void placeHorizontally(FitLayout& f, const PageRaster& page, bool clipped, const std::optional<PagePoint>& offset) {
    const ScaleRatio& r = *f.ratio;
    f.destinationLeft = offset ? roundDown8(std::max(offset->x, 0)) : 0;
    const int32_t available = std::max(roundUp8(f.destinationWidth) - f.destinationLeft, 0);
    if (f.outputColumns > available) {
        // Whole bytes, so that the narrowed rows still start and end on a byte.
        const int32_t narrowed = roundDown8(unscaled(available, r));
        if (!clipped)
            f.source.left = centred(horizontalExtent(page, f.turned), narrowed, f.source.left, f.source.right, true);
        f.source.right = f.source.left + narrowed;
        f.outputColumns = roundUp8(scaled(narrowed, r));
    } else if (!offset) {
        f.destinationLeft = roundDown8(std::max((f.destinationWidth - f.outputColumns) / 2, 0));
    }
}

void placeVertically(FitLayout& f, const PageRaster& page, bool clipped, const std::optional<PagePoint>& offset) {
    const ScaleRatio& r = *f.ratio;
    f.destinationTop = offset ? std::max(offset->y, 0) : 0;
    const int32_t available = std::max(f.destinationHeight - f.destinationTop, 0);
    if (f.outputRows > available) {
        const int32_t narrowed = unscaled(available, r);
        if (!clipped)
            f.source.top = centred(verticalExtent(page, f.turned), narrowed, f.source.top, f.source.bottom, false);
        f.source.bottom = f.source.top + narrowed;
        f.outputRows = scaled(narrowed, r);
    } else if (!offset) {
        f.destinationTop = std::max((f.destinationHeight - f.outputRows) / 2, 0);
    }
}

}  // namespace

std::optional<PageRect> clippedBounds(const PageRaster& page, const std::optional<PageRect>& clip) {
    PageRect r{0, 0, page.width, page.height};
    if (clip) {
        r.left = std::max(r.left, clip->left);
        r.top = std::max(r.top, clip->top);
        r.right = std::min(r.right, clip->right);
        r.bottom = std::min(r.bottom, clip->bottom);
    }
    if (r.width() <= 0 || r.height() <= 0) return std::nullopt;
    return r;
}

std::optional<PageRect> fitRectangle(const PageRaster& page, const std::optional<PageRect>& clip, bool turn) {
    const std::optional<PageRect> bounds = clippedBounds(page, clip);
    if (!bounds) return std::nullopt;
    PageRect r = *bounds;
    r.left = roundDown8(r.left);
    r.right = roundUp8(r.right);
    if (!turn) return r;
    // Page column x is turned row bytesPerRow x 8 - 1 - x; page rows become
    // turned columns, taken in whole bytes of 8 rows.
    const int32_t turnedHeight = int32_t(page.bytesPerRow) * 8;
    return PageRect{roundDown8(r.top), turnedHeight - r.right, roundUp8(r.bottom), turnedHeight - r.left};
}

const ScaleRatio* chooseFitRatio(int32_t width, int32_t height, int32_t targetWidth, int32_t targetHeight) {
    for (const ScaleRatio& r : kFitRatioList)
        if (scaled(width, r) <= targetWidth && scaled(height, r) <= targetHeight) return &r;
    return nullptr;
}

std::optional<FitLayout> planFit(const PageRaster& page, const PageRect& rectangle, bool clipped, bool turn,
                                 int32_t destinationWidth, int32_t destinationHeight,
                                 const std::optional<PagePoint>& offset) {
    const ScaleRatio* ratio = chooseFitRatio(rectangle.width(), rectangle.height(), destinationWidth, destinationHeight);
    if (!ratio) return std::nullopt;
    FitLayout f;
    f.turned = turn;
    f.ratio = ratio;
    f.source = rectangle;
    f.destinationWidth = destinationWidth;
    f.destinationHeight = destinationHeight;
    f.outputColumns = roundUp8(scaled(rectangle.width(), *ratio));
    f.outputRows = scaled(rectangle.height(), *ratio);
    placeHorizontally(f, page, clipped, offset);
    placeVertically(f, page, clipped, offset);
    return f;
}

}  // namespace lumipage
