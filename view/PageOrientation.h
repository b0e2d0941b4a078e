#pragma once
#include <cstdint>
#include <span>

#include "image/PageRaster.h"

namespace lumipage {

// How the current page is shown: turned by quarter turns, mirrored in its
// own axes and inverted. The page files are never changed; the choice lives
// in the low byte of the page's word and is applied to the page raster in
// memory. Mirroring and inversion change the document's raster in place; a
// turn is made into the rotated copy kept here, so turning back to 0 costs
// nothing and the copy is reused while it still holds the wanted turn.
class PageOrientation {
public:
    // Page word bits of the display transform.
    static constexpr uint16_t kRotationBits = 0x03;  // quarter turns to the left
    static constexpr uint16_t kMirroredLeftRight = 0x04;
    static constexpr uint16_t kMirroredUpDown = 0x08;
    static constexpr uint16_t kInverted = 0x80;

    // What the last successful SetRotation did with the rotated copy.
    enum class CopyUse { RasterShown, Reused, HalfTurnedInPlace, Rebuilt };

    // A freshly loaded page (or none): untransformed, its word 0, the copy dropped.
    void newPage(PageRaster* raster);
    // newPage, then the word's inversion, mirrorings and turn, in this order;
    // a turn that cannot be made leaves the page unturned.
    void showPage(PageRaster* raster, uint16_t word);

    // 0: 0 degrees, 1: a quarter turn left, 2: a half turn, 3: a quarter turn right.
    bool SetRotation(int angle);
    bool SetInverted(bool on);
    bool SetMirrorLeftRight(bool on);
    bool SetMirrorUpDown(bool on);

    // The raster on screen: the document's, or the rotated copy.
    PageRaster* displayed() { return rotation_ == 0 ? raster_ : &copy_; }
    const PageRaster* displayed() const { return rotation_ == 0 ? raster_ : &copy_; }
    bool hasPage() const { return raster_ && raster_->hasBits(); }
    int rotation() const { return rotation_; }
    int copyRotation() const { return copyRotation_; }
    bool inverted() const { return inverted_; }
    bool mirroredLeftRight() const { return mirroredLeftRight_; }
    bool mirroredUpDown() const { return mirroredUpDown_; }
    // The current page's word as the settings above make it.
    uint16_t word() const { return word_; }
    CopyUse lastCopyUse() const { return lastCopyUse_; }

    // The all-pages commands give every page the state of the current one.
    static void setRotationOfAll(std::span<uint16_t> words, int rotation);
    static void setFlagOfAll(std::span<uint16_t> words, uint16_t flag, bool on);

private:
    bool turnIntoCopy(int angle);
    void setWordBits(uint16_t mask, uint16_t value) { word_ = uint16_t((word_ & ~mask) | (value & mask)); }

    PageRaster* raster_ = nullptr;
    PageRaster copy_;
    PageRaster spare_;  // a rebuilt copy is made here, so a failed turn leaves the copy as it was
    int rotation_ = 0;
    int copyRotation_ = 0;  // 0: the copy is not valid
    bool inverted_ = false;
    bool mirroredLeftRight_ = false;
    bool mirroredUpDown_ = false;
    uint16_t word_ = 0;
    CopyUse lastCopyUse_ = CopyUse::RasterShown;
};

}  // namespace lumipage
