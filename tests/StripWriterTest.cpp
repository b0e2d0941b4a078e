#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "image/PageRaster.h"
#include "scan/StripWriter.h"

namespace lumipage {
namespace {

std::vector<uint8_t> convert(const std::vector<uint8_t>& in, uint32_t pixels, int bits, int threshold = 128) {
    std::vector<uint8_t> out((pixels + 7) / 8, 0x5A);
    StripWriter::convertRow(in.data(), pixels, bits, threshold, out.data());
    return out;
}

TEST(StripWriterRows, ConvertsEachDepthToInkBitsWithWhitePadding) {
    // 1 bit: the source's 0 is black; the partial last byte is padded white.
    EXPECT_EQ(convert({0x0F, 0x00}, 12, 1), (std::vector<uint8_t>{0xF0, 0xF0}));
    // 4 bits: black when the nibble's high bit is clear.
    EXPECT_EQ(convert({0x07, 0x8F, 0xF0, 0x78, 0x11}, 10, 4), (std::vector<uint8_t>{0b11000110, 0b11000000}));
    EXPECT_EQ(convert({0x07, 0x8F, 0xF0}, 5, 4), (std::vector<uint8_t>{0b11000000}));
    // 8 bits: black below the threshold.
    const std::vector<uint8_t> gray{127, 128, 0, 255, 99, 100, 101, 254, 1};
    EXPECT_EQ(convert(gray, 9, 8), (std::vector<uint8_t>{0b10101110, 0b10000000}));
    EXPECT_EQ(convert(gray, 9, 8, 100), (std::vector<uint8_t>{0b00101000, 0b10000000}));
    EXPECT_EQ(convert(gray, 9, 8, 0), (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(convert(gray, 9, 8, 256), (std::vector<uint8_t>{0xff, 0x80}));
}

struct Page {
    Page(int w, int h, int bits, bool xerox = true) {
        page.create(w, h, 300);
        writer = std::make_unique<StripWriter>(page, gray, bits, 128, xerox);
    }
    PageRaster page;
    std::vector<uint8_t> gray;
    std::unique_ptr<StripWriter> writer;
};

TEST(StripWriterStrips, PlacesStripsAtTheirOffsetsAndKeepsTheGrayCopy) {
    Page p(24, 8, 8);
    std::vector<uint8_t> strip(2 * 10, 0);  // two rows of ten black pixels
    EXPECT_TRUE(p.writer->store(strip, {10, 10, 2, 11, 3, 20}));  // columns 11..20, rows 3..4
    EXPECT_EQ(p.page.row(3)[0], 0x00);
    EXPECT_EQ(p.page.row(3)[1], 0x1F);  // columns 11..15
    EXPECT_EQ(p.page.row(3)[2], 0xF8);  // columns 16..20
    EXPECT_EQ(p.page.row(4)[1], 0x1F);
    EXPECT_EQ(p.page.row(5)[1], 0x00);
    ASSERT_EQ(p.gray.size(), 24u * 8u);
    EXPECT_EQ(p.gray[3 * 24 + 11], 0);
    EXPECT_EQ(p.gray[3 * 24 + 10], 255);
    EXPECT_EQ(p.gray[3 * 24 + 21], 255);

    // A strip wider than the page is cut at the right edge.
    EXPECT_TRUE(p.writer->store(std::vector<uint8_t>(40, 0), {40, 40, 1, 20, 6, 40}));
    EXPECT_EQ(p.page.row(6)[2], 0x0F);
}

TEST(StripWriterStrips, RefusesStripsTheBufferCannotHold) {
    Page p(16, 8, 8);
    const std::vector<uint8_t> buffer(30, 0);
    EXPECT_FALSE(p.writer->store(buffer, {16, 16, 2, 0, 0, 32}));          // 32 bytes from a 30-byte buffer
    EXPECT_FALSE(p.writer->store(buffer, {10, 10, 2, 0, 0, 15}));          // more rows than bytes written
    EXPECT_FALSE(p.writer->store(buffer, {4, 16, 2, 0, 0, 8}));            // more columns than a row holds
    EXPECT_FALSE(p.writer->store(buffer, {0xffffffff, 0, 1, 0, 0, 0xffffffff}));
    EXPECT_TRUE(p.writer->store(buffer, {16, 16, 1, 0, 0xfffffff0, 16}));  // far below the page: ignored
    EXPECT_TRUE(p.writer->store(buffer, {16, 16, 1, 99, 0, 16}));          // right of the page: ignored
    for (int r = 0; r < 8; ++r) EXPECT_EQ(p.page.row(r)[0], 0) << r;
}

// A source may announce rows of no bytes with an empty buffer; the sanitized
// build stops on any copy from the missing buffer.
TEST(StripWriterStrips, StripsOfNoBytesLeaveThePageWhite) {
    for (const int bits : {1, 4, 8}) {
        Page p(16, 4, bits);
        EXPECT_TRUE(p.writer->store(std::span<const uint8_t>(), {0, 0, 3, 0, 0, 0})) << bits;
        EXPECT_TRUE(p.writer->store(std::span<const uint8_t>(), {0, 0xffffffff, 2, 0, 0xffffffff, 0xffffffff})) << bits;
        for (int r = 0; r < 4; ++r) EXPECT_EQ(p.page.row(r)[0] | p.page.row(r)[1], 0) << bits << " row " << r;
        if (bits == 8) {
            EXPECT_EQ(std::count(p.gray.begin(), p.gray.end(), 255), 16 * 4);
        }
    }
}

TEST(StripWriterStrips, StripsNumberedFromZeroContinueThePage) {
    const std::vector<uint8_t> rows(3 * 8, 0);
    Page xerox(8, 8, 8, true);
    EXPECT_TRUE(xerox.writer->store(rows, {8, 8, 3, 0, 0, 24}));
    EXPECT_TRUE(xerox.writer->store(rows, {8, 8, 3, 0, 0, 24}));
    EXPECT_EQ(xerox.writer->rowsStored(), 6);
    EXPECT_TRUE(xerox.writer->store(rows, {8, 8, 3, 0, 7, 24}));  // beyond the stored rows: taken as given
    EXPECT_EQ(xerox.page.row(5)[0], 0xff);
    EXPECT_EQ(xerox.page.row(6)[0], 0x00);
    EXPECT_EQ(xerox.page.row(7)[0], 0xff);
    EXPECT_EQ(xerox.writer->rowsStored(), 8);

    Page plain(8, 8, 8, false);
    EXPECT_TRUE(plain.writer->store(rows, {8, 8, 3, 0, 0, 24}));
    EXPECT_TRUE(plain.writer->store(rows, {8, 8, 3, 0, 0, 24}));
    EXPECT_EQ(plain.page.row(3)[0], 0x00);
}

}  // namespace
}  // namespace lumipage
