#pragma once
#include <array>
#include <string>
#include <vector>

#include "image/PageRaster.h"
#include "view/ViewDocument.h"
#include "view/ViewHost.h"

namespace lumipage::test {

// A window of a chosen client size that records what the view asks of it.
class FakeViewHost : public ViewHost {
public:
    ViewSize client{800, 600};
    std::array<std::string, 5> status;  // panes 1..4
    int invalidations = 0;
    std::vector<ViewRect> invalidatedRects;
    int updates = 0;
    Cursor cursor = Cursor::Arrow;

    ViewSize clientSize() const override { return client; }
    void invalidate() override { ++invalidations; }
    void invalidateRect(const ViewRect& r) override { invalidatedRects.push_back(r); }
    void updateNow() override { ++updates; }
    void scrollStateChanged() override {}
    void setStatusText(int pane, const std::string& text) override { status.at(size_t(pane)) = text; }
    void setCursor(Cursor c) override { cursor = c; }
    Colour systemColour(SystemColour which) const override {
        return which == SystemColour::WindowText ? rgb(0, 0, 0)
               : which == SystemColour::Window   ? rgb(255, 255, 255)
                                                 : rgb(128, 128, 128);
    }
};

// A document of `words.size()` pages whose current page is `page`.
class FakeViewDocument : public ViewDocument {
public:
    PageRaster page;
    std::vector<uint16_t> words = std::vector<uint16_t>(3, 0);
    size_t current = 0;

    PageRaster* pageRaster() override { return page.hasBits() ? &page : nullptr; }
    uint16_t pageWord() const override { return words[current]; }
    void setPageWord(uint16_t w) override { words[current] = w; }
    void setTransformOfAll(uint16_t value, uint16_t mask) override {
        for (uint16_t& w : words) w = uint16_t((w & ~mask) | (value & mask));
    }
};

}  // namespace lumipage::test
