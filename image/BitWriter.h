#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumipage {

// Writes codes most significant bit first into a byte buffer of fixed
// capacity. Codes collect in a 64-bit accumulator and leave it 32 bits at a
// time, so a code costs a shift and an OR. When the capacity is used up the
// writer stops storing and remembers the failure; the caller checks failed()
// once per row rather than after every code.
class BitWriter {
public:
    explicit BitWriter(std::span<uint8_t> out) : begin_(out.data()), next_(out.data()), end_(out.data() + out.size()) {}

    // Writes the low `length` bits of `code` (1 to 32 bits).
    void put(uint32_t code, unsigned length) {
        accumulator_ |= uint64_t(code) << (64 - held_ - length);
        held_ += length;
        if (held_ >= 32) spill();
    }

    // Zero bits up to the next byte boundary.
    void fillToByte() { held_ = (held_ + 7) & ~7u; if (held_ >= 32) spill(); }

    bool atByteBoundary() const { return (held_ & 7) == 0; }

    // Fills to the byte boundary and stores every pending byte. Returns false
    // when the capacity was used up at any point.
    bool flush() {
        fillToByte();
        while (held_ > 0) {
            storeByte(uint8_t(accumulator_ >> 56));
            accumulator_ <<= 8;
            held_ -= 8;
        }
        return !failed_;
    }

    bool failed() const { return failed_; }
    // Bytes produced, counting a started byte as whole.
    size_t size() const { return size_t(next_ - begin_) + (held_ + 7) / 8; }
    uint8_t* begin() const { return begin_; }

private:
    void spill() {
        const uint32_t word = uint32_t(accumulator_ >> 32);
        if (end_ - next_ >= 4) {
            next_[0] = uint8_t(word >> 24);
            next_[1] = uint8_t(word >> 16);
            next_[2] = uint8_t(word >> 8);
            next_[3] = uint8_t(word);
            next_ += 4;
        } else {
            for (int shift = 24; shift >= 0; shift -= 8) storeByte(uint8_t(word >> shift));
        }
        accumulator_ <<= 32;
        held_ -= 32;
    }

    void storeByte(uint8_t byte) {
        if (next_ < end_)
            *next_++ = byte;
        else
            failed_ = true;
    }

    uint8_t* begin_;
    uint8_t* next_;
    uint8_t* end_;
    uint64_t accumulator_ = 0;  // pending bits, the oldest at the top
    unsigned held_ = 0;         // pending bit count, below 32 between calls
    bool failed_ = false;
};

}  // namespace lumipage
