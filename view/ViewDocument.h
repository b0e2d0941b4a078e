#pragma once
#include <cstdint>

namespace lumipage {

class CDIB;
class PageRaster;

// The document as the view sees it: the current page's raster (which the
// view turns, mirrors and inverts in memory), the current page's word and
// the words of all pages. Page words carry the display transform in their
// low byte (see PageOrientation).
class ViewDocument {
public:
    virtual ~ViewDocument() = default;
    // The current page's raster, or null when no page is shown.
    virtual PageRaster* pageRaster() = 0;
    // A page kept as a colour bitmap with no 1-bit raster, else null.
    virtual const CDIB* colourPage() const { return nullptr; }
    virtual uint16_t pageWord() const = 0;
    virtual void setPageWord(uint16_t word) = 0;
    // Gives every page the transform bits under `mask` from `value`, as the
    // all-pages turn, mirror and invert commands do.
    virtual void setTransformOfAll(uint16_t value, uint16_t mask) = 0;
    // Changes whenever the page pageRaster() gives changes.
    virtual uint64_t pageVersion() const { return 0; }
};

}  // namespace lumipage
