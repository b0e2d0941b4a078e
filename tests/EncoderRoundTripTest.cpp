// Pages coded by our encoder and decoded by our decoder come back unchanged.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/PageDecoder.h"
#include "image/PageEncoder.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

std::vector<uint8_t> encode(const PageRaster& page, int32_t coding, uint32_t lineDoubling) {
    const PageToEncode view = PageToEncode::of(page).withCoding(coding, lineDoubling);
    std::vector<uint8_t> out(PageEncoder::bufferSize(view));
    PageEncoder encoder;
    out.resize(encoder.encodePage(out, view));
    return out;
}

// Decodes into a fresh raster of the page's size, as the file readers do.
PageRaster decode(const std::vector<uint8_t>& coded, const PageRaster& like, int32_t coding, uint32_t lineDoubling,
                  int* rows = nullptr) {
    PageRaster page;
    page.create(like.width, like.height, like.dpi);
    page.coding = coding;
    page.lineDoubling = lineDoubling;
    PageDecoder decoder;
    const int decoded = decoder.decodePage(coded, page);
    if (rows) *rows = decoded;
    return page;
}

const Pattern kPatterns[] = {Pattern::Text, Pattern::Noise, Pattern::Black, Pattern::White, Pattern::ThinLines};
const int kCodings[] = {1, 2, 3, 4, 11, 12, 13, 14};

TEST(EncoderRoundTrip, EveryCodingDecodesToTheSamePage) {
    for (const int width : {1728, 1729, 2480, 13})
        for (const Pattern pattern : kPatterns)
            for (const int coding : kCodings) {
                const PageRaster page = makePage(pattern, width, 301, uint32_t(coding));
                const std::vector<uint8_t> coded = encode(page, coding, 0);
                ASSERT_FALSE(coded.empty());
                int rows = 0;
                const PageRaster back = decode(coded, page, coding, 0, &rows);
                EXPECT_EQ(rows, page.height) << width << " " << int(pattern) << " " << coding;
                EXPECT_EQ(test::firstDifferentRow(page, back), -1) << width << " " << int(pattern) << " " << coding;
            }
}

TEST(EncoderRoundTrip, TaggedRowsOfEveryKindDecode) {
    // Blank, repeated, coded, difference, bit-run and raw rows in one page.
    PageRaster page = makePage(Pattern::Text, 256, 12);
    page.clear();
    page.row(1)[0] = 0xFF;                                                  // coded
    std::memcpy(page.row(2), page.row(1), page.bytesPerRow);                // same as above
    std::memcpy(page.row(3), page.row(1), page.bytesPerRow);
    page.row(3)[20] = 0x10;                                                 // difference
    for (uint32_t b = 0; b < page.bytesPerRow; b += 4) page.row(5)[b] = 0x55;  // bit runs
    const PageRaster noise = makePage(Pattern::Noise, 256, 1, 3);
    std::memcpy(page.row(7), noise.row(0), page.bytesPerRow);               // raw
    const std::vector<uint8_t> coded = encode(page, 1, 0);
    const std::vector<uint8_t> tags{coded[0], coded[1]};
    EXPECT_EQ(tags, (std::vector<uint8_t>{0x00, 0x23}));
    EXPECT_EQ(test::firstDifferentRow(page, decode(coded, page, 1, 0)), -1);
}

TEST(EncoderRoundTrip, RowPairsDecodeAsRepeatedRows) {
    for (const int height : {200, 201}) {
        const PageRaster page = makePage(Pattern::Text, 1728, height, 9);
        PageRaster paired = makePage(Pattern::White, 1728, height);
        for (int r = 0; r + 1 < height; r += 2)
            for (uint32_t i = 0; i < page.bytesPerRow; ++i)
                paired.row(r)[i] = paired.row(r + 1)[i] = page.row(r)[i] | page.row(r + 1)[i];
        if (height % 2) std::memcpy(paired.row(height - 1), page.row(height - 1), page.bytesPerRow);
        for (const int coding : {2, 12, 13, 14}) {
            const PageRaster back = decode(encode(page, coding, 1), page, coding, 1);
            EXPECT_EQ(test::firstDifferentRow(paired, back), -1) << coding << " " << height;
        }
    }
}

}  // namespace
}  // namespace lumipage
