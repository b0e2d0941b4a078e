#include "view/PrintLayout.h"

#include <cstdint>

namespace lumipage::print {

namespace {

int floor8(int v) { return v & ~7; }
int ceil8(int v) { return (v + 7) & ~7; }
bool landscape(int width, int height) { return height < width; }

}  // namespace

ViewRect currentScreenRegion(const ViewRect& client, ViewPoint scroll, ViewSize screenBitmap, int divisor,
                             ViewSize page) {
    const ViewRect whole{0, 0, page.cx, page.cy};
    if (screenBitmap.cx < client.width() && screenBitmap.cy < client.height()) return whole;
    const ViewRect shown =
        client.offset(scroll.x, scroll.y).intersect(ViewRect{0, 0, screenBitmap.cx, screenBitmap.cy});
    const auto scale = [divisor](int v) { return int(int64_t(v) * divisor / 10); };
    ViewRect region =
        ViewRect{scale(shown.left), scale(shown.top), scale(shown.right), scale(shown.bottom)}.intersect(whole);
    if (region.empty()) return whole;
    region.left = floor8(region.left);
    region.right = ceil8(region.right);
    return region;
}

BitmapShape bitmapShape(const ViewRect& region, ViewSize target, bool ownResolution) {
    BitmapShape shape;
    shape.region = region;
    if (!ownResolution) {
        shape.size = target;
        return shape;
    }
    if (landscape(region.width(), region.height()) == landscape(target.cx, target.cy)) {
        shape.size = {region.width(), region.height()};
        shape.copied = true;
        return shape;
    }
    // The region's rows are taken in bands of 8 for the turn.
    if (region.height() % 8 != 0) shape.region.top = floor8(region.top);
    shape.size = {shape.region.height(), ceil8(shape.region.width())};
    shape.turned = true;
    return shape;
}

ViewRect placement(ViewSize target, ViewSize bitmap) {
    if (bitmap.cx <= 0 || bitmap.cy <= 0) return {};
    const int64_t sx = int64_t(target.cx) * 10000 / bitmap.cx;
    const int64_t sy = int64_t(target.cy) * 10000 / bitmap.cy;
    const auto nearlyOwnSize = [](int64_t s) { return s >= 10001 && s <= 10499; };
    const auto centred = [&](int w, int h) {
        return ViewRect::at({(target.cx - w) / 2, (target.cy - h) / 2}, {w, h});
    };
    if (sx < sy) {
        if (nearlyOwnSize(sx)) return centred(bitmap.cx, bitmap.cy);
        return centred(target.cx, int(int64_t(bitmap.cy) * sx / 10000));
    }
    if (sy < sx) {
        if (nearlyOwnSize(sy)) return centred(bitmap.cx, bitmap.cy);
        return centred(int(int64_t(bitmap.cx) * sy / 10000), target.cy);
    }
    return ViewRect{0, 0, target.cx, target.cy};
}

}  // namespace lumipage::print
