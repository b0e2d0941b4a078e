#pragma once
#include <cstdint>

namespace lumipage {

// The 16 bits kept for every global page. The low byte says how the page is
// shown, the high byte what has happened to it. Books store the word as it is.
struct PageWord {
    // Low byte: the display transform.
    static constexpr uint16_t kRotation = 0x0003;          // quarter turns: 0, +90, 180, -90 degrees
    static constexpr uint16_t kMirrorLeftRight = 0x0004;
    static constexpr uint16_t kMirrorTopBottom = 0x0008;
    static constexpr uint16_t kInverted = 0x0080;          // black and white exchanged
    static constexpr uint16_t kTransform = kRotation | kMirrorLeftRight | kMirrorTopBottom | kInverted;

    // High byte: the marks, as bits of that byte.
    static constexpr uint8_t kSelected = 0x01;
    static constexpr uint8_t kSent = 0x04;
    static constexpr uint8_t kSendError = 0x08;
    static constexpr uint8_t kPrinted = 0x10;
    static constexpr uint8_t kPrintError = 0x20;
    static constexpr uint8_t kOpaque = 0xC0;                // kept as a book supplied them
    static constexpr uint8_t kSendMarks = kSent | kSendError;      // a send result writes both
    static constexpr uint8_t kPrintMarks = kPrinted | kPrintError; // a print result writes both
    static constexpr uint8_t kAllMarks = 0xFF;

    uint16_t bits = 0;

    constexpr uint8_t marks() const { return uint8_t(bits >> 8); }
    constexpr bool has(uint8_t mark) const { return (marks() & mark) != 0; }
    // Replaces the marks under `mask` by those of `value`.
    constexpr void setMarks(uint8_t value, uint8_t mask) {
        bits = uint16_t((bits & ~(uint16_t(mask) << 8)) | (uint16_t(value & mask) << 8));
    }

    constexpr int rotation() const { return bits & kRotation; }
    constexpr void setRotation(int quarterTurns) { bits = uint16_t((bits & ~kRotation) | (quarterTurns & kRotation)); }
    constexpr uint8_t transform() const { return uint8_t(bits & kTransform); }
    // Replaces the transform bits under `mask` (a subset of kTransform).
    constexpr void setTransform(uint8_t value, uint8_t mask) {
        const uint16_t m = mask & kTransform;
        bits = uint16_t((bits & ~m) | (value & m));
    }

    // The word as a book stores it: the transform and the selection only.
    constexpr PageWord forBook() const { return PageWord{uint16_t(transform() | (uint16_t(marks() & kSelected) << 8))}; }

    friend constexpr bool operator==(PageWord, PageWord) = default;
};

static_assert(PageWord{0x3C8F}.forBook().bits == 0x008F);
static_assert(PageWord{0x0100}.forBook().bits == 0x0100);

}  // namespace lumipage
