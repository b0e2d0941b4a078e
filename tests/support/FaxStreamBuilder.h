#pragma once
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "image/FaxCodes.h"
#include "image/PageRaster.h"

namespace lumipage::test {

// Writes coded test streams bit by bit, most significant bit first, from the
// T.4 code tables: runs, EOLs, mode codes and plain bits (test-only).
class FaxStreamBuilder {
public:
    // '0' and '1' are written; anything else (spaces) is ignored.
    FaxStreamBuilder& bits(std::string_view text) {
        for (char c : text)
            if (c == '0' || c == '1') bit(c == '1');
        return *this;
    }
    FaxStreamBuilder& bit(bool one) {
        if (count_ % 8 == 0) bytes_.push_back(0);
        if (one) bytes_.back() |= uint8_t(0x80 >> (count_ % 8));
        ++count_;
        return *this;
    }
    FaxStreamBuilder& byte(uint8_t value) {
        for (int i = 7; i >= 0; --i) bit((value >> i) & 1);
        return *this;
    }
    // A run as T.4 codes it: make-up codes (2560 repeated for long runs), then
    // the terminating code.
    FaxStreamBuilder& run(bool black, int length) {
        while (length >= 64) {
            const int makeUp = std::min(length / 64 * 64, 2560);
            bits(makeUpCode(black, makeUp));
            length -= makeUp;
        }
        return bits(black ? t4::kBlackTerminating[size_t(length)].bits : t4::kWhiteTerminating[size_t(length)].bits);
    }
    FaxStreamBuilder& white(int length) { return run(false, length); }
    FaxStreamBuilder& black(int length) { return run(true, length); }
    FaxStreamBuilder& eol() { return bits(t4::kEol); }
    FaxStreamBuilder& fillToByte() {
        while (count_ % 8 != 0) bit(false);
        return *this;
    }
    // The runs of a raster row over `width` pixels, starting with white.
    FaxStreamBuilder& rowRuns(const PageRaster& page, int y) {
        const uint8_t* row = page.row(y);
        bool black = false;
        int x = 0;
        while (x < page.width) {
            int end = x;
            while (end < page.width && (((row[end / 8] >> (7 - end % 8)) & 1) != 0) == black) ++end;
            run(black, end - x);
            x = end;
            black = !black;
        }
        return *this;
    }

    size_t bitCount() const { return count_; }
    const std::vector<uint8_t>& data() const { return bytes_; }

private:
    static std::string_view makeUpCode(bool black, int length) {
        for (const t4::CodeWord& w : t4::kExtendedMakeUp)
            if (w.run == length) return w.bits;
        for (const t4::CodeWord& w : black ? t4::kBlackMakeUp : t4::kWhiteMakeUp)
            if (w.run == length) return w.bits;
        return {};
    }

    std::vector<uint8_t> bytes_;
    size_t count_ = 0;
};

}  // namespace lumipage::test
