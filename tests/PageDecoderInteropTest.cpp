// Pages coded by independent coders (libtiff, netpbm's pbmtog3) decode to
// their source bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "image/PageDecoder.h"
#include "support/LibtiffCoder.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

struct Decoded {
    PageRaster page;
    int rows = 0;
};

Decoded decode(std::span<const uint8_t> data, PageCoding coding, int width, int height, uint32_t lineDoubling = 0) {
    Decoded d;
    d.page.coding = int32_t(coding);
    d.page.lineDoubling = lineDoubling;
    d.page.create(width, height, 200);
    PageDecoder decoder;
    d.rows = decoder.decodePage(data, d.page);
    return d;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr Pattern kPatterns[] = {Pattern::Text, Pattern::Noise, Pattern::Black, Pattern::White, Pattern::ThinLines};
constexpr int kWidths[] = {1728, 1729, 2480};
constexpr int kHeight = 400;

const char* name(Pattern p) {
    switch (p) {
        case Pattern::White: return "White";
        case Pattern::Black: return "Black";
        case Pattern::Text: return "Text";
        case Pattern::Noise: return "Noise";
        case Pattern::ThinLines: return "ThinLines";
    }
    return "?";
}

struct LibtiffCoding {
    int compression;
    bool twoDimensional;
    int fillOrder;
    PageCoding coding;
};

TEST(PageDecoderInterop, LibtiffStripsDecodeToTheirSource) {
    constexpr LibtiffCoding kCodings[] = {
        {test::kTiffModifiedHuffman, false, 1, PageCoding::TiffMH},
        {test::kTiffGroup3, false, 1, PageCoding::TiffG3},
        {test::kTiffGroup3, true, 1, PageCoding::TiffG3MR},
        {test::kTiffGroup4, false, 1, PageCoding::TiffG4},
        {test::kTiffGroup3, false, 2, PageCoding::FaxG3},
        {test::kTiffGroup3, true, 2, PageCoding::FaxG3MR},
        {test::kTiffGroup4, false, 2, PageCoding::FaxG4},
    };
    for (Pattern pattern : kPatterns) {
        for (int width : kWidths) {
            const PageRaster source = makePage(pattern, width, kHeight, uint32_t(width));
            for (const LibtiffCoding& c : kCodings) {
                SCOPED_TRACE(testing::Message() << name(pattern) << " width " << width << " coding " << int(c.coding));
                const std::vector<uint8_t> data = test::libtiffEncode(source, c.compression, c.twoDimensional, c.fillOrder);
                ASSERT_FALSE(data.empty());
                const Decoded d = decode(data, c.coding, width, kHeight);
                EXPECT_EQ(d.rows, kHeight);
                EXPECT_EQ(test::firstDifferentRow(d.page, source), -1);
            }
        }
    }
}

// Rows that repeat the row above change by change are decoded a series of
// V0 codes at a time; the series runs across row ends, up to a change at the
// last pixel and on into the next row. Blocks of equal rows with narrow
// stripes (many changes a row), shifted a pixel from block to block, with
// the last pixel black in some and a few pixels flipped in others.
TEST(PageDecoderInterop, RowsLikeTheRowAboveDecodeToTheirSource) {
    constexpr LibtiffCoding kCodings[] = {
        {test::kTiffGroup3, true, 1, PageCoding::TiffG3MR},
        {test::kTiffGroup4, false, 1, PageCoding::TiffG4},
        {test::kTiffGroup4, false, 2, PageCoding::FaxG4},
    };
    for (const int width : {1729, 2480}) {
        PageRaster source;
        source.create(width, 300, 200);
        for (int y = 0; y < source.height; ++y) {
            const int block = y / 37;
            for (int x = block % 3, stripe = 0; x < width; x += 1 + stripe % 4, ++stripe)
                if (stripe % 2 == 0) source.row(y)[x / 8] |= uint8_t(0x80 >> (x % 8));
            if (block % 2 == 1) source.row(y)[(width - 1) / 8] |= uint8_t(0x80 >> ((width - 1) % 8));
            if (block % 4 == 3 && y % 5 == 0) source.row(y)[(y * 7) % (width / 8)] ^= 0x10;
        }
        for (const LibtiffCoding& c : kCodings) {
            SCOPED_TRACE(testing::Message() << "width " << width << " coding " << int(c.coding));
            const std::vector<uint8_t> data = test::libtiffEncode(source, c.compression, c.twoDimensional, c.fillOrder);
            const Decoded d = decode(data, c.coding, width, source.height);
            EXPECT_EQ(d.rows, source.height);
            EXPECT_EQ(test::firstDifferentRow(d.page, source), -1);
        }
    }
}

// libtiff's strip ends: compression 3 strips before the last one end without
// EOL or RTC, compression 4 strips with EOFB. Each strip is decoded on its
// own, starting at its first row with a budget of its rows.
TEST(PageDecoderInterop, MultiStripPagesDecodeStripByStrip) {
    const PageRaster source = makePage(Pattern::Text, 1728, 700, 7);
    constexpr int kRowsPerStrip = 64;
    constexpr LibtiffCoding kCodings[] = {
        {test::kTiffModifiedHuffman, false, 1, PageCoding::TiffMH},
        {test::kTiffGroup3, false, 1, PageCoding::TiffG3},
        {test::kTiffGroup3, true, 1, PageCoding::TiffG3MR},
        {test::kTiffGroup4, false, 1, PageCoding::TiffG4},
    };
    for (const LibtiffCoding& c : kCodings) {
        SCOPED_TRACE(int(c.coding));
        const std::string path = test::tempFolder() + "/strips.tif";
        ASSERT_TRUE(test::libtiffWriteFile(path, source, {c.compression, c.twoDimensional, 1, kRowsPerStrip}));
        // The strips as stored, read back with libtiff's raw strip access.
        const PageRaster viaLibtiff = test::libtiffReadFile(path);
        ASSERT_EQ(test::firstDifferentRow(viaLibtiff, source), -1);
        PageRaster page;
        page.coding = int32_t(c.coding);
        page.create(source.width, source.height, 200);
        PageDecoder decoder;
        int next = 0;
        for (const std::vector<uint8_t>& strip : test::libtiffRawStrips(path)) {
            const int rows = decoder.decodePage(strip, page, next, kRowsPerStrip);
            EXPECT_EQ(rows, std::min(kRowsPerStrip, source.height - next));
            next += kRowsPerStrip;
        }
        EXPECT_EQ(test::firstDifferentRow(page, source), -1);
    }
}

TEST(PageDecoderInterop, Pbmtog3PagesDecodeToTheirSource) {
    const std::string folder = test::tempFolder();
    for (Pattern pattern : kPatterns) {
        for (int width : kWidths) {
            const PageRaster source = makePage(pattern, width, kHeight, uint32_t(width) + 1);
            ASSERT_TRUE(test::writePbm(folder + "/page.pbm", source));
            struct Variant {
                const char* options;
                PageCoding coding;
            };
            for (const Variant v : {Variant{"", PageCoding::TiffG3}, Variant{"-align8", PageCoding::TiffG3},
                                    Variant{"-align16", PageCoding::TiffG3}, Variant{"-reversebits", PageCoding::FaxG3}}) {
                SCOPED_TRACE(testing::Message() << name(pattern) << " width " << width << " " << v.options);
                ASSERT_EQ(test::runCommand("pbmtog3 -quiet -nofixedwidth " + std::string(v.options) + " " + folder +
                                           "/page.pbm > " + folder + "/page.g3"),
                          0);
                const Decoded d = decode(readFile(folder + "/page.g3"), v.coding, width, kHeight);
                EXPECT_EQ(d.rows, kHeight);
                EXPECT_EQ(test::firstDifferentRow(d.page, source), -1);
            }
        }
    }
}

// A standard-resolution fax page: 1145 coded rows, each shown twice.
TEST(PageDecoderInterop, StandardResolutionFaxPageDoublesEveryRow) {
    const std::string folder = test::tempFolder();
    const PageRaster coded = makePage(Pattern::Text, 1728, 1145, 3);
    ASSERT_TRUE(test::writePbm(folder + "/half.pbm", coded));
    ASSERT_EQ(test::runCommand("pbmtog3 -quiet -reversebits " + folder + "/half.pbm > " + folder + "/page.fax"), 0);
    const Decoded d = decode(readFile(folder + "/page.fax"), PageCoding::FaxG3, 1728, 2290, 1);
    EXPECT_EQ(d.rows, 2290);
    for (int y = 0; y < 2290; ++y)
        ASSERT_EQ(std::memcmp(d.page.row(y), coded.row(y / 2), coded.bytesPerRow), 0) << "row " << y;
}

}  // namespace
}  // namespace lumipage
