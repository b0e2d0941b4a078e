#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "image/BitTables.h"

namespace lumipage {

// Reads coded data most significant bit first through a 64-bit buffer that
// is refilled several bytes at a time. Data stored least significant bit
// first (the fax-file codings) is reversed while it is fetched. Past the end
// of the data the reader supplies zero bits and counts them, so a lookup may
// peek beyond the end but a code that itself reaches beyond the end is
// recognised as running out of data (overrun()).
class FaxBitReader {
public:
    void reset(std::span<const uint8_t> data, bool reversed) {
        begin_ = data.data();
        end_ = data.data() + data.size();
        reversed_ = reversed;
        seek(0);
    }

    // Makes at least 32 bits (data or padding) available to peek().
    void fill() {
        if (avail_ < 32) refill();
    }
    // As fill(), while eight or more bytes of data remain unread: then no
    // padding is ever taken in and no code can overrun. False, with nothing
    // read, once fewer remain and fill() must take over.
    bool fillFromData() {
        if (avail_ >= 32) return true;
        if (end_ - next_ < 8) return false;
        refillWord();
        return true;
    }
    // True once padding has been taken in: codes must be checked for overrun().
    bool padded() const { return padding_ != 0; }
    // The next n bits (1 to 32) as a number; fill() first.
    uint32_t peek(int n) const { return uint32_t(buffer_ >> (64 - n)); }
    void skip(int n) {
        buffer_ <<= n;
        avail_ -= n;
    }
    // True when the bits taken so far reach past the end of the data.
    bool overrun() const { return avail_ < padding_; }
    // Data bits available to peek() now (0 when only padding is left).
    int dataBits() const { return avail_ > padding_ ? avail_ - padding_ : 0; }

    size_t bitPosition() const { return size_t(next_ - begin_) * 8 + size_t(padding_) - size_t(avail_); }
    size_t bitCount() const { return size_t(end_ - begin_) * 8; }
    bool hasData() const { return bitPosition() < bitCount(); }

    void seek(size_t bit) {
        const size_t byte = bit / 8 < size_t(end_ - begin_) ? bit / 8 : size_t(end_ - begin_);
        next_ = begin_ + byte;
        buffer_ = 0;
        avail_ = 0;
        padding_ = 0;
        const int rest = int(bit - byte * 8 < 8 ? bit - byte * 8 : 0);
        fill();
        skip(rest);
    }
    void seekToEnd() { seek(bitCount()); }
    // Moves to the first byte boundary at or after the current position.
    void alignToByte() { seek((bitPosition() + 7) / 8 * 8); }

    // Consumes the zero bits ahead and stops on the next one bit (not
    // consumed); `count` receives the number of zeros. False when the data
    // ends before a one bit.
    bool skipZeros(size_t& count) {
        count = 0;
        for (;;) {
            fill();
            const int data = dataBits();
            const int zeros = buffer_ == 0 ? 64 : std::countl_zero(buffer_);
            if (zeros < data) {
                count += size_t(zeros);
                skip(zeros);
                return true;
            }
            if (data == 0) return false;
            count += size_t(data);
            skip(data);
        }
    }

    // The position's byte and the bytes after it, for rows stored as bytes.
    std::span<const uint8_t> bytesFrom(size_t byte) const {
        const size_t size = size_t(end_ - begin_);
        return {begin_ + (byte < size ? byte : size), begin_ + size};
    }

private:
    static uint64_t reverseBitsInBytes(uint64_t w) {
        w = ((w >> 1) & 0x5555555555555555u) | ((w & 0x5555555555555555u) << 1);
        w = ((w >> 2) & 0x3333333333333333u) | ((w & 0x3333333333333333u) << 2);
        return ((w >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((w & 0x0F0F0F0F0F0F0F0Fu) << 4);
    }

    // Eight bytes at once (eight or more remain); only the whole bytes that fit are counted.
    void refillWord() {
        uint64_t word;
        std::memcpy(&word, next_, 8);
        if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
        if (reversed_) word = reverseBitsInBytes(word);
        buffer_ |= word >> avail_;
        next_ += (63 - avail_) >> 3;
        avail_ |= 56;
    }

    void refill() {
        if (end_ - next_ >= 8) {
            refillWord();
            return;
        }
        while (avail_ <= 55) {
            uint8_t byte = 0;
            if (next_ < end_) {
                byte = reversed_ ? bits::kReversed[*next_] : *next_;
                ++next_;
            } else {
                padding_ += 8;
            }
            buffer_ |= uint64_t(byte) << (56 - avail_);
            avail_ += 8;
        }
    }

    const uint8_t* begin_ = nullptr;
    const uint8_t* end_ = nullptr;
    const uint8_t* next_ = nullptr;
    uint64_t buffer_ = 0;  // the next bits, most significant first
    int avail_ = 0;        // bits of buffer_ in use, at most 63
    int padding_ = 0;      // zero bits appended past the end of the data, among the last loaded
    bool reversed_ = false;
};

}  // namespace lumipage
