#include "image/PageOrientation.h"

#include <utility>

namespace lumipage {

void PageOrientation::newPage(const PageRaster* raster) {
    raster_ = raster;
    uprightCopied_ = false;  // its buffer is kept for the next page
    rotation_ = 0;
    copyRotation_ = 0;  // its buffer is kept for the next page's turn
    inverted_ = mirroredLeftRight_ = mirroredUpDown_ = false;
    word_ = 0;
}

void PageOrientation::showPage(const PageRaster* raster, uint16_t word) {
    newPage(raster);
    word_ = word;
    SetInverted(word & kInverted);
    SetMirrorLeftRight(word & kMirroredLeftRight);
    SetMirrorUpDown(word & kMirroredUpDown);
    if (!SetRotation(word & kRotationBits)) SetRotation(0);
}

bool PageOrientation::SetRotation(int angle) {
    if (angle < 0 || angle > 3) return false;
    if (angle == 0) {
        rotation_ = 0;
        setWordBits(kRotationBits, 0);
        lastCopyUse_ = CopyUse::RasterShown;
        return true;
    }
    if (angle == copyRotation_ && copy_.hasBits()) {
        lastCopyUse_ = CopyUse::Reused;
    } else if (!turnIntoCopy(angle)) {
        return false;
    }
    rotation_ = copyRotation_ = angle;
    // Also when the copy is reused: the word must say what is shown.
    setWordBits(kRotationBits, uint16_t(angle));
    return true;
}

// Between the two quarter turns the copy is half-turned where it stands;
// otherwise the upright page is turned into a new copy.
bool PageOrientation::turnIntoCopy(int angle) {
    if ((angle == 1 && copyRotation_ == 3) || (angle == 3 && copyRotation_ == 1)) {
        if (!copy_.halfTurnInPlace()) return false;
        lastCopyUse_ = CopyUse::HalfTurnedInPlace;
        return true;
    }
    if (!hasPage()) return false;
    const PageRaster& page = *upright();
    const bool made = angle == 1   ? PageRaster::quarterTurnCounterClockwise(page, spare_)
                      : angle == 2 ? PageRaster::halfTurn(page, spare_)
                                   : PageRaster::quarterTurnClockwise(page, spare_);
    if (!made) return false;
    std::swap(copy_, spare_);
    lastCopyUse_ = CopyUse::Rebuilt;
    return true;
}

bool PageOrientation::makeUprightCopy() {
    if (uprightCopied_) return true;
    if (!PageRaster::copy(*raster_, upright_)) return false;
    uprightCopied_ = true;
    return true;
}

// Without mirroring and inversion the page as read is shown again; the
// copy's buffer is kept for the next change.
void PageOrientation::dropUprightCopyWhenPlain() {
    if (!inverted_ && !mirroredLeftRight_ && !mirroredUpDown_) uprightCopied_ = false;
}

bool PageOrientation::SetInverted(bool on) {
    if (on == inverted_) return true;
    if (!hasPage() || !makeUprightCopy()) return false;
    upright_.invert();
    if (copyRotation_ != 0) copy_.invert();
    inverted_ = on;
    setWordBits(kInverted, on ? kInverted : 0);
    dropUprightCopyWhenPlain();
    return true;
}

// Mirroring is in the page's own axes: a quarter-turned copy is flipped the
// other way, a half-turned one the same way.
bool PageOrientation::SetMirrorLeftRight(bool on) {
    if (on == mirroredLeftRight_) return true;
    if (!hasPage() || (copyRotation_ != 0 && !copy_.hasBits()) || !makeUprightCopy()) return false;
    upright_.mirrorLeftRight();
    if (copyRotation_ == 1 || copyRotation_ == 3) copy_.flipTopBottom();
    if (copyRotation_ == 2) copy_.mirrorLeftRight();
    mirroredLeftRight_ = on;
    setWordBits(kMirroredLeftRight, on ? kMirroredLeftRight : 0);
    dropUprightCopyWhenPlain();
    return true;
}

bool PageOrientation::SetMirrorUpDown(bool on) {
    if (on == mirroredUpDown_) return true;
    if (!hasPage() || (copyRotation_ != 0 && !copy_.hasBits()) || !makeUprightCopy()) return false;
    upright_.flipTopBottom();
    if (copyRotation_ == 1 || copyRotation_ == 3) copy_.mirrorLeftRight();
    if (copyRotation_ == 2) copy_.flipTopBottom();
    mirroredUpDown_ = on;
    setWordBits(kMirroredUpDown, on ? kMirroredUpDown : 0);
    dropUprightCopyWhenPlain();
    return true;
}

void PageOrientation::setRotationOfAll(std::span<uint16_t> words, int rotation) {
    for (uint16_t& w : words) w = uint16_t((w & ~kRotationBits) | (rotation & kRotationBits));
}

void PageOrientation::setFlagOfAll(std::span<uint16_t> words, uint16_t flag, bool on) {
    for (uint16_t& w : words) w = on ? uint16_t(w | flag) : uint16_t(w & ~flag);
}

}  // namespace lumipage
