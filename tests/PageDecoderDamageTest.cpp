// Damaged coded data: decoding never crashes, keeps every row that lies
// before the damage and writes nothing after the row where it stopped.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "image/BitTables.h"
#include "image/PageDecoder.h"
#include "support/FaxStreamBuilder.h"
#include "support/LibtiffCoder.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::FaxStreamBuilder;
using test::makePage;
using test::Pattern;

// The program's tagged row format written by the test: blank and repeated
// rows by their tags, other rows in turn as MH codes, MH codes of the
// difference to the row above, RunCoder bits and raw bytes.
void runCoderRow(FaxStreamBuilder& s, const uint8_t* row, uint32_t count) {
    bool literal = false;
    for (uint32_t i = 0; i < count; ++i) {
        if (!literal && row[i] == 0) {
            s.bit(false);
            continue;
        }
        if (!literal) s.bit(true);
        s.byte(row[i]);
        literal = row[i] != 0;
    }
    s.fillToByte();
}

std::vector<uint8_t> taggedStream(const PageRaster& page) {
    FaxStreamBuilder s;
    PageRaster difference;
    difference.create(page.width, 1, 200);
    for (int y = 0; y < page.height; ++y) {
        const uint8_t* row = page.row(y);
        const uint8_t* above = row - page.bytesPerRow;  // used from row 1 on
        bool blank = true, same = y > 0;
        for (uint32_t i = 0; i < page.bytesPerRow; ++i) {
            blank = blank && row[i] == 0;
            same = same && row[i] == above[i];
        }
        if (blank) {
            s.byte(0x00);
        } else if (same) {
            s.byte(0x01);
        } else if (y % 4 == 0 || (y % 4 == 1 && y == 0)) {
            s.byte(0x23).rowRuns(page, y).fillToByte().byte(0x00).byte(0x01);
        } else if (y % 4 == 1) {
            for (uint32_t i = 0; i < page.bytesPerRow; ++i) difference.row(0)[i] = row[i] ^ above[i];
            s.byte(0x24).rowRuns(difference, 0).fillToByte().byte(0x00).byte(0x01);
        } else if (y % 4 == 2) {
            s.byte(0xF0);
            runCoderRow(s, row, page.bytesPerRow);
        } else {
            s.byte(0xFF);
            for (uint32_t i = 0; i < page.bytesPerRow; ++i) s.byte(row[i]);
        }
    }
    return s.data();
}

struct Stream {
    PageCoding coding;
    std::vector<uint8_t> data;
};

std::vector<Stream> streamsOf(const PageRaster& page) {
    return {
        {PageCoding::TiffMH, test::libtiffEncode(page, test::kTiffModifiedHuffman)},
        {PageCoding::TiffG3, test::libtiffEncode(page, test::kTiffGroup3)},
        {PageCoding::FaxG3, test::libtiffEncode(page, test::kTiffGroup3, false, 2)},
        {PageCoding::TiffG3MR, test::libtiffEncode(page, test::kTiffGroup3, true)},
        {PageCoding::TiffG4, test::libtiffEncode(page, test::kTiffGroup4)},
        {PageCoding::TaggedMH, taggedStream(page)},
    };
}

struct Decoded {
    PageRaster page;
    int rows = 0;
};

Decoded decode(std::span<const uint8_t> data, PageCoding coding, int width, int height) {
    Decoded d;
    d.page.coding = int32_t(coding);
    d.page.create(width, height, 200);
    PageDecoder decoder;
    d.rows = decoder.decodePage(data, d.page);
    return d;
}

bool rowIsWhite(const PageRaster& page, int y) {
    for (uint32_t i = 0; i < page.bytesPerRow; ++i)
        if (page.row(y)[i] != 0) return false;
    return true;
}

// The rows before `rows` equal the source; the rows after the row where
// decoding stopped are untouched (white). Cut short, a raw row of a tagged
// page keeps the bytes there are and counts as decoded, so there the last
// row counted from a cut stream may differ.
void expectKeptRows(const Decoded& d, const PageRaster& source, int rows) {
    if (PageCoding(d.page.coding) == PageCoding::TaggedMH) rows = std::max(rows - 1, 0);
    for (int y = 0; y < rows; ++y)
        ASSERT_EQ(std::memcmp(d.page.row(y), source.row(y), source.bytesPerRow), 0) << "row " << y;
    for (int y = d.rows + 1; y < source.height; ++y) ASSERT_TRUE(rowIsWhite(d.page, y)) << "row " << y;
}

TEST(PageDecoderDamage, TaggedPagesDecodeToTheirSource) {
    for (Pattern pattern : {Pattern::Text, Pattern::Noise, Pattern::ThinLines}) {
        const PageRaster source = makePage(pattern, 1729, 300, 11);
        const Decoded d = decode(taggedStream(source), PageCoding::TaggedMH, 1729, 300);
        EXPECT_EQ(d.rows, 300);
        EXPECT_EQ(test::firstDifferentRow(d.page, source), -1);
    }
}

TEST(PageDecoderDamage, TruncatedDataKeepsTheCompleteRows) {
    const PageRaster source = makePage(Pattern::Text, 1728, 500, 21);
    for (const Stream& s : streamsOf(source)) {
        SCOPED_TRACE(int(s.coding));
        ASSERT_FALSE(s.data.empty());
        int previous = 0;
        for (size_t cut = 0; cut <= s.data.size(); cut += s.data.size() / 37 + 1) {
            const Decoded d = decode(std::span(s.data).first(cut), s.coding, source.width, source.height);
            EXPECT_GE(d.rows, previous) << "more data never decodes fewer rows";
            previous = d.rows;
            expectKeptRows(d, source, d.rows);
        }
        EXPECT_EQ(decode(s.data, s.coding, source.width, source.height).rows, source.height);
    }
}

TEST(PageDecoderDamage, FlippedBitsKeepTheRowsBeforeThem) {
    const PageRaster source = makePage(Pattern::Text, 1728, 500, 22);
    std::mt19937 rng(5);
    for (const Stream& s : streamsOf(source)) {
        SCOPED_TRACE(int(s.coding));
        for (int trial = 0; trial < 60; ++trial) {
            std::vector<uint8_t> damaged = s.data;
            const size_t bit = rng() % (damaged.size() * 8);
            damaged[bit / 8] ^= uint8_t(0x80 >> (bit % 8));
            if (trial % 3 == 0) damaged[rng() % damaged.size()] = uint8_t(rng());  // and a byte of noise
            // The rows complete before the damaged byte.
            const size_t firstDamaged = std::min(bit / 8, damaged.size());
            const int before =
                decode(std::span(s.data).first(firstDamaged), s.coding, source.width, source.height).rows;
            const Decoded d = decode(damaged, s.coding, source.width, source.height);
            if (trial % 3 == 0) continue;  // the noise byte may lie anywhere: only no crash is checked
            expectKeptRows(d, source, before);
        }
    }
}

TEST(PageDecoderDamage, RandomDataNeverWritesOutsideThePage) {
    std::mt19937 rng(9);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<uint8_t> data(size_t(rng() % 2000));
        for (uint8_t& b : data) b = uint8_t(rng() % 4 == 0 ? 0 : rng());
        const PageCoding codings[] = {PageCoding::Bit,    PageCoding::TaggedMH, PageCoding::FaxG3,
                                      PageCoding::FaxG3MR, PageCoding::FaxG4,   PageCoding::TiffMH,
                                      PageCoding::TiffG3, PageCoding::TiffG3MR, PageCoding::TiffG4};
        const PageCoding coding = codings[rng() % 9];
        const int width = 1 + int(rng() % 100);
        const int height = 1 + int(rng() % 50);
        // An exactly sized buffer, so that the sanitizer build sees any write past the rows.
        PageRaster page;
        page.coding = int32_t(coding);
        page.lineDoubling = rng() % 2;
        page.setSize(width, height);
        page.allocate(size_t(height) * page.bytesPerRow);
        PageDecoder decoder;
        const int rows = decoder.decodePage(data, page, int(rng() % uint32_t(height)), int(rng() % 4));
        EXPECT_LE(rows, height);
        for (int y = 0; y < height; ++y) ASSERT_EQ(page.row(y)[page.bytesPerRow - 1] & ~bits::lastByteMask(width), 0);
    }
}

}  // namespace
}  // namespace lumipage
