#include "view/COSBView.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "view/ColourRamp.h"
#include "view/ReductionTables.h"

namespace lumipage {

namespace {

int defaultColours(int bitsPerPixel) { return bitsPerPixel == 1 ? 2 : bitsPerPixel == 4 ? 16 : 256; }

}  // namespace

bool COSBView::CreateOffscreenBitmap(int width, int height, int bitsPerPixel, int colours, Colour paper, Colour ink,
                                     int contrastPercent, bool setScrollSizes) {
    if (bitsPerPixel != 1 && bitsPerPixel != 4) bitsPerPixel = 8;
    if (colours <= 0) colours = defaultColours(bitsPerPixel);
    colours = std::min(colours, defaultColours(bitsPerPixel));
    CDIB::InfoHeader h;
    h.width = width;
    h.height = -height;  // top-down rows
    h.bitCount = uint16_t(bitsPerPixel);
    h.clrUsed = uint32_t(colours);
    const ColourRamp ramp{paper, ink, contrastPercent, gamma_};
    if (!makeBitmap(h, ramp.table(colours))) return false;
    if (setScrollSizes)
        this->setScrollSizes({width, height}, {std::min(width / 20, 80), std::min(height / 20, 80)},
                             {std::min(width / 50, 32), std::min(height / 50, 32)});
    return true;
}

bool COSBView::CopyOffscreenBitmap(const CDIB& source) {
    CDIB::InfoHeader h = source.header();
    h.clrUsed = 0;
    h.height = -source.height();
    h.compression = 0;
    if (!makeBitmap(h, source.palette())) return false;
    const int w = source.width(), ht = source.height();
    setScrollSizes({w, ht}, {w / 10, ht / 10}, {w / 50, ht / 50});
    return true;
}

bool COSBView::makeBitmap(const CDIB::InfoHeader& header, std::span<const CDIB::RgbQuad> palette) {
    dropBitmap();
    const int32_t rows = header.height < 0 ? -header.height : header.height;
    if (header.width <= 0 || rows <= 0 || header.width > CDIB::kMaxSide || rows > CDIB::kMaxSide) return false;
    try {
        pixels_.assign(size_t(CDIB::strideFor(header.width, header.bitCount)) * size_t(rows), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    bitmap_.attach(header, palette, pixels_.data(), false);
    hasBitmap_ = true;
    return true;
}

void COSBView::dropBitmap() {
    hasBitmap_ = false;
    bitmap_.attach(CDIB::InfoHeader{}, {}, nullptr, false);
    pixels_.clear();  // the memory is kept: the next page's bitmap is usually as large
}

void COSBView::OnInitialUpdate() {
    if (!hasBitmap_) CreateOffscreenBitmap(1, 1, 8, 0, rgb(255, 255, 255), rgb(0, 0, 0), 100, false);
    const ViewSize size = bitmapSize();
    setScrollSizes(size, {}, {});
}

ViewSize COSBView::bitmapSize() const {
    return hasBitmap_ ? ViewSize{bitmap_.width(), bitmap_.height()} : ViewSize{};
}

ViewPoint COSBView::maxScroll() const {
    const ViewSize client = host_.clientSize();
    return {std::max(0, total_.cx - client.cx), std::max(0, total_.cy - client.cy)};
}

ViewPoint COSBView::clampScroll(ViewPoint p) const {
    const ViewPoint m = maxScroll();
    return {std::clamp(p.x, 0, m.x), std::clamp(p.y, 0, m.y)};
}

void COSBView::scrollTo(ViewPoint p) {
    p = clampScroll(p);
    if (p == scroll_) return;
    scroll_ = p;
    host_.scrollStateChanged();
}

void COSBView::setScrollSizes(ViewSize total, ViewSize page, ViewSize line) {
    total_ = {std::max(total.cx, 0), std::max(total.cy, 0)};
    page_ = {page.cx > 0 ? page.cx : total_.cx / 10, page.cy > 0 ? page.cy : total_.cy / 10};
    line_ = {line.cx > 0 ? line.cx : page_.cx / 10, line.cy > 0 ? line.cy : page_.cy / 10};
    scroll_ = clampScroll(scroll_);
    host_.scrollStateChanged();
}

ViewPoint COSBView::imageOrigin() const {
    const ViewSize client = host_.clientSize();
    const bool centreX = centring_ && total_.cx < client.cx, centreY = centring_ && total_.cy < client.cy;
    return {centreX ? (client.cx - total_.cx) / 2 : -scroll_.x, centreY ? (client.cy - total_.cy) / 2 : -scroll_.y};
}

ViewRect COSBView::visibleBitmapRect() const {
    const ViewSize client = host_.clientSize();
    const ViewPoint o = imageOrigin();
    return ViewRect::at({-o.x, -o.y}, client).intersect(ViewRect::at({}, bitmapSize()));
}

std::optional<COSBView::Blit> COSBView::DrawOffscreen(std::optional<ViewRect> clip) const {
    if (!hasBitmap_) return std::nullopt;
    const ViewPoint o = imageOrigin();
    ViewRect target = ViewRect::at({}, host_.clientSize());
    if (clip) target = target.intersect(*clip);
    const ViewRect source = target.offset(-o.x, -o.y).intersect(ViewRect::at({}, bitmapSize()));
    if (source.empty()) return std::nullopt;
    return Blit{source, {source.left + o.x, source.top + o.y}};
}

std::vector<COSBView::Fill> COSBView::background(bool shadow) const {
    const ViewSize client = host_.clientSize();
    const ViewRect all = ViewRect::at({}, client);
    std::vector<Fill> fills;
    auto add = [&](ViewRect r, FillKind kind) {
        r = r.intersect(all);
        if (!r.empty()) fills.push_back({r, kind});
    };
    if (!hasBitmap_ || (total_.cx <= 1 && total_.cy <= 1)) {
        add(all, FillKind::Workspace);
        return fills;
    }
    const ViewRect image = ViewRect::at(imageOrigin(), total_);
    if (!centring_) {
        add({image.right, 0, client.cx, client.cy}, FillKind::Workspace);
        add({0, image.bottom, image.right, client.cy}, FillKind::Workspace);
        return fills;
    }
    add({0, 0, client.cx, image.top}, FillKind::Workspace);
    add({0, image.bottom, client.cx, client.cy}, FillKind::Workspace);
    add({0, image.top, image.left, image.bottom}, FillKind::Workspace);
    add({image.right, image.top, client.cx, image.bottom}, FillKind::Workspace);
    if (shadow) {
        const int s = kShadowWidth;
        add({image.left + s, image.bottom, image.right + s, image.bottom + s}, FillKind::Shadow);
        add({image.right, image.top + s, image.right + s, image.bottom + s}, FillKind::Shadow);
    }
    return fills;
}

void COSBView::expandFourBitRow(const uint8_t* row, int pixels, uint8_t* out) {
    const int whole = pixels / 2;
    for (int i = 0; i < whole; ++i) std::memcpy(out + 2 * i, &reduction::kNibblesToBytes[row[i]], 2);
    if (pixels % 2) out[pixels - 1] = uint8_t(row[whole] >> 4);
}

}  // namespace lumipage
