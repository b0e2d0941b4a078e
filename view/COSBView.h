#pragma once
#include <optional>
#include <vector>

#include "image/CDIB.h"
#include "view/ViewHost.h"
#include "view/ViewTypes.h"

namespace lumipage {

// The scrolling view that shows an off-screen bitmap. The page is reduced
// into the bitmap once; painting and scrolling only copy the visible part
// of it to the window. The bitmap is a CDIB whose colour table runs from
// the paper colour to the ink colour; its rows are stored top-down so the
// window can paint its pixels as they stand.
class COSBView {
public:
    // The part of the bitmap to paint and where it goes in the client area.
    struct Blit {
        ViewRect source;  // in bitmap pixels
        ViewPoint target;  // client position of the source's top-left pixel
    };
    enum class FillKind { Workspace, Shadow };
    struct Fill {
        ViewRect rect;  // client coordinates
        FillKind kind;
    };
    static constexpr Colour kShadowColour = rgb(32, 32, 32);
    static constexpr int kShadowWidth = 3;

    explicit COSBView(ViewHost& host) : host_(host) {}
    virtual ~COSBView() = default;
    COSBView(const COSBView&) = delete;
    COSBView& operator=(const COSBView&) = delete;

    // Replaces the bitmap by a white one with the paper-to-ink ramp as its
    // colour table; colours 0 means all the depth allows. False (and no
    // bitmap) when it cannot be made.
    bool CreateOffscreenBitmap(int width, int height, int bitsPerPixel, int colours, Colour paper, Colour ink,
                               int contrastPercent, bool setScrollSizes);
    // Replaces the bitmap by one of the format and colour table of `source`.
    bool CopyOffscreenBitmap(const CDIB& source);
    // What to paint for a client rectangle (all of the client area when none).
    std::optional<Blit> DrawOffscreen(std::optional<ViewRect> clip = std::nullopt) const;
    void OnInitialUpdate();

    bool hasBitmap() const { return hasBitmap_; }
    const CDIB& bitmap() const { return bitmap_; }
    CDIB& bitmap() { return bitmap_; }
    ViewSize bitmapSize() const;

    // Scrolling, as a scroll view does it: the position stays within
    // 0 .. bitmap size - client size (0 when the bitmap is smaller).
    ViewPoint scrollPosition() const { return scroll_; }
    ViewSize totalSize() const { return total_; }
    ViewSize pageSize() const { return page_; }
    ViewSize lineSize() const { return line_; }
    ViewPoint maxScroll() const;
    ViewPoint clampScroll(ViewPoint p) const;
    void scrollTo(ViewPoint p);
    // Zero page or line sizes take a tenth of the next larger size.
    void setScrollSizes(ViewSize total, ViewSize page, ViewSize line);

    // A bitmap smaller than the window is centred in it.
    bool centring() const { return centring_; }
    void setCentring(bool on) { centring_ = on; }
    // Where the bitmap's top-left pixel lies in the client area.
    ViewPoint imageOrigin() const;
    // The visible part of the bitmap, in bitmap coordinates.
    ViewRect visibleBitmapRect() const;

    // The areas around the page that the window fills before painting it,
    // with the drop shadow when asked.
    std::vector<Fill> background(bool shadow) const;

    // 4-bit rows painted through an 8-bit image: one byte per pixel.
    static void expandFourBitRow(const uint8_t* row, int pixels, uint8_t* out);

protected:
    ViewHost& host_;
    bool gamma_ = false;  // the AdjustGamma setting, taken before every bitmap creation

private:
    bool makeBitmap(const CDIB::InfoHeader& header, std::span<const CDIB::RgbQuad> palette);
    void dropBitmap();

    std::vector<uint8_t> pixels_;  // the bitmap's rows
    CDIB bitmap_;
    bool hasBitmap_ = false;
    ViewSize total_{1, 1};
    ViewSize page_{}, line_{};
    ViewPoint scroll_{};
    bool centring_ = true;
};

}  // namespace lumipage
