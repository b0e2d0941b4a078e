#pragma once
#include <string_view>

#include "image/PageRaster.h"

namespace lumipage::samples {

// Draws on a page raster for the sample documents: letters of the built-in
// 5 x 7 font at any whole-number scale, lines, boxes and circles.
class SampleCanvas {
public:
    explicit SampleCanvas(PageRaster& page) : page_(page) {}

    void fillRect(int x, int y, int w, int h);
    void frame(int x, int y, int w, int h, int thickness);
    void line(int x0, int y0, int x1, int y1, int thickness);
    void circle(int cx, int cy, int r, int thickness);
    void disc(int cx, int cy, int r);
    // Returns the x just after the text.
    int text(int x, int y, int scale, std::string_view s);
    static int textWidth(int scale, std::string_view s) { return int(s.size()) * 6 * scale; }
    // Lays words out in the box [x, x + width), returning the y below the last line.
    int paragraph(int x, int y, int width, int scale, std::string_view words);

private:
    void dot(int x, int y);
    PageRaster& page_;
};

}  // namespace lumipage::samples
