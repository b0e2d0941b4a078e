#pragma once
#include <cstdint>
#include <span>

#include "image/PageRaster.h"

namespace lumipage {

// How a page is shown: turned by quarter turns, mirrored in its own axes and
// inverted. The choice lives in the low byte of the page's word; the page as
// it was read is never changed, so the page shown is always derived from it
// and the word, however often it is shown again. Mirroring and inversion are
// made on an upright copy kept here, a turn into a rotated copy, so turning
// back to 0 costs nothing and the copy is reused while it still holds the
// wanted turn.
class PageOrientation {
public:
    // Page word bits of the display transform.
    static constexpr uint16_t kRotationBits = 0x03;  // quarter turns to the left
    static constexpr uint16_t kMirroredLeftRight = 0x04;
    static constexpr uint16_t kMirroredUpDown = 0x08;
    static constexpr uint16_t kInverted = 0x80;

    // What the last successful SetRotation did with the rotated copy.
    enum class CopyUse { RasterShown, Reused, HalfTurnedInPlace, Rebuilt };

    // A freshly loaded page (or none): untransformed, its word 0, the copies dropped.
    void newPage(const PageRaster* raster);
    // newPage, then the word's inversion, mirrorings and turn, in this order;
    // a turn that cannot be made leaves the page unturned.
    void showPage(const PageRaster* raster, uint16_t word);

    // 0: 0 degrees, 1: a quarter turn left, 2: a half turn, 3: a quarter turn right.
    bool SetRotation(int angle);
    bool SetInverted(bool on);
    bool SetMirrorLeftRight(bool on);
    bool SetMirrorUpDown(bool on);

    // The raster shown: the page as read, its mirrored or inverted copy, or the rotated copy.
    const PageRaster* displayed() const { return rotation_ == 0 ? upright() : &copy_; }
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
    // The page with its mirroring and inversion, before any turn.
    const PageRaster* upright() const { return uprightCopied_ ? &upright_ : raster_; }
    bool makeUprightCopy();
    void dropUprightCopyWhenPlain();
    bool turnIntoCopy(int angle);
    void setWordBits(uint16_t mask, uint16_t value) { word_ = uint16_t((word_ & ~mask) | (value & mask)); }

    const PageRaster* raster_ = nullptr;  // the page as read; never changed here
    PageRaster upright_;                  // the page mirrored and inverted, while uprightCopied_
    bool uprightCopied_ = false;
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
