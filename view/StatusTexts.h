#pragma once
#include <string>

namespace lumipage {

// The four status bar texts that describe the page on screen: paper size,
// pixel size, resolution and zoom.
struct StatusTexts {
    std::string paper;
    std::string pixels;
    std::string dpi;
    std::string zoom;

    // With no page every text is its bare label.
    static StatusTexts forNoPage();
    static StatusTexts forPage(int width, int height, int dpi, int divisor);

    // The name of the smallest paper size the page fits (sides compared
    // short to short and long to long, 1% tolerance); "B0" when larger than
    // all; " " when the resolution is unknown.
    static std::string paperName(int width, int height, int dpi);
    // "Zoom: 1/" and the scale, with one decimal when not a whole number.
    static std::string zoomText(int divisor);
};

}  // namespace lumipage
