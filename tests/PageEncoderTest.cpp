#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/BitTables.h"
#include "image/PageEncoder.h"
#include "image/OneDimensionalCoder.h"
#include "image/RunCoder.h"
#include "support/BitStrings.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::packBits;
using test::Pattern;
using test::repeatBits;

constexpr std::string_view kEol = "000000000001";

std::vector<uint8_t> encode(const PageRaster& page, int32_t coding, uint32_t lineDoubling = 0,
                            PageEncoder::StopIfLarger stop = PageEncoder::StopIfLarger::No) {
    const PageToEncode view = PageToEncode::of(page).withCoding(coding, lineDoubling);
    std::vector<uint8_t> out(PageEncoder::bufferSize(view));
    PageEncoder encoder;
    out.resize(encoder.encodePage(out, view, stop));
    return out;
}

TEST(PageEncoder, WhiteRowsOfAFaxPageAreExactT4Codes) {
    PageRaster page = makePage(Pattern::White, 1728, 2);
    // EOL, white make-up 1728, white terminating 0, fill; RTC after the last row.
    const std::string row = std::string(kEol) + "010011011" + "00110101" + "000";
    EXPECT_EQ(encode(page, 12), packBits(row + row + repeatBits(kEol, 6)));

    // The .FAX coding is the same stream with every byte's bit order reversed.
    std::vector<uint8_t> reversed = packBits(row + row + repeatBits(kEol, 6));
    for (uint8_t& b : reversed) b = bits::kReversed[b];
    EXPECT_EQ(encode(page, 2), reversed);
}

TEST(PageEncoder, OneDimensionalRunsFollowT4) {
    uint8_t out[64];
    // A row starting black codes a white run of 0 first.
    const uint8_t startsBlack[] = {0xFF, 0x00};
    size_t n = encodeOneDimensionalRow(startsBlack, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + n), packBits("00110101 000101 10011"));

    // 3000 black pixels: extended make-up 2560, black make-up 384, black 56;
    // then white 200 (make-up 192, white 8).
    PageRaster wide;
    wide.create(3200, 1, 200);
    for (int x = 0; x < 3000; ++x) wide.row(0)[x / 8] |= uint8_t(0x80 >> (x % 8));
    std::vector<uint8_t> buffer(2000);
    n = encodeOneDimensionalRow({wide.row(0), wide.bytesPerRow}, buffer, {.eolAfter = true});
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + n),
              packBits("00110101 000000011111 000000110100 000000101000 010111 10011 0 0000000000000001"));

    // Coding exactly `width` pixels leaves the padding out.
    const uint8_t oddRow[] = {0x00, 0x80};
    n = encodeOneDimensionalRow(oddRow, out, {.pixels = 9});
    EXPECT_EQ(std::vector<uint8_t>(out, out + n), packBits("10011 010"));

    // Too little room fails instead of cutting the row.
    EXPECT_EQ(encodeOneDimensionalRow(startsBlack, std::span<uint8_t>(out, 2)), 0u);
}

TEST(PageEncoder, RunCoderBitFormat) {
    const uint8_t row[] = {0x00, 0x80, 0x00, 0x00, 0x3C, 0x01};
    uint8_t out[16];
    const size_t n = RunCoder::encodeRow(row, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + n), packBits("0 1 10000000 00000000 0 1 00111100 00000001"));
    EXPECT_EQ(RunCoder::encodeRow(row, std::span<uint8_t>(out, 3)), 0u);
}

TEST(PageEncoder, TaggedRowsChooseTheShortestForm) {
    PageRaster same = makePage(Pattern::ThinLines, 1728, 200);  // row 10: dots every 29 pixels
    for (int r = 0; r < same.height; ++r) std::memcpy(same.row(r), same.row(10), same.bytesPerRow);
    const std::vector<uint8_t> tagged = encode(same, 1);
    ASSERT_FALSE(tagged.empty());
    EXPECT_EQ(tagged[0], 0x23);
    const size_t firstRow = tagged.size() - size_t(same.height - 1);
    EXPECT_EQ(tagged[firstRow - 2], 0x00);  // the coded row ends with a byte-aligned EOL
    EXPECT_EQ(tagged[firstRow - 1], 0x01);
    for (size_t i = firstRow; i < tagged.size(); ++i) ASSERT_EQ(tagged[i], 0x01) << i;

    // Blank rows are one byte; a row differing from the coded row above in
    // one pixel is coded as the difference; row 0 is never a difference row.
    PageRaster mixed = makePage(Pattern::White, 128, 3);
    mixed.row(1)[0] = 0xFF;
    mixed.row(2)[0] = 0xFF;
    mixed.row(2)[12] = 0x08;  // pixel 100
    const std::vector<uint8_t> out = encode(mixed, 1);
    ASSERT_EQ(out.size(), 1u + 7u + 6u);
    EXPECT_EQ(out[0], 0x00);
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 1, out.begin() + 8),
              packBits("00100011 00110101 000101 11011 01011001 00000 0000000000000001"));  // tag, white 0, black 8, white 120
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 8, out.end()),
              packBits("00100100 11011 00010101 010 0100100 0 0000000000000001"));  // tag, white 100, black 1, white 27
}

TEST(PageEncoder, TaggedNoiseFallsBackToBitRunsOrRawBytes) {
    PageRaster noise = makePage(Pattern::Noise, 1728, 4, 7);
    const std::vector<uint8_t> out = encode(noise, 1);
    ASSERT_EQ(out.size(), 4u * (1 + noise.bytesPerRow));
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(out[r * (1 + noise.bytesPerRow)], 0xFF);
        EXPECT_EQ(std::memcmp(&out[r * (1 + noise.bytesPerRow) + 1], noise.row(r), noise.bytesPerRow), 0);
    }

    // Sparse dots: run-length codes cost more than the raw bytes, bit runs less.
    PageRaster dots = makePage(Pattern::White, 256, 1);
    for (uint32_t b = 0; b < dots.bytesPerRow; b += 4) dots.row(0)[b] = 0x55;
    const std::vector<uint8_t> sparse = encode(dots, 1);
    ASSERT_FALSE(sparse.empty());
    EXPECT_EQ(sparse[0], 0xF0);
    EXPECT_EQ(std::vector<uint8_t>(sparse.begin() + 1, sparse.end()),
              packBits(repeatBits("1 01010101 00000000 0 0", 8)));
}

TEST(PageEncoder, T6PagesEndWithEofb) {
    // White rows are V0 against the white reference.
    PageRaster white = makePage(Pattern::White, 1728, 3);
    EXPECT_EQ(encode(white, 14), packBits("1 1 1" + std::string(kEol) + std::string(kEol)));
    std::vector<uint8_t> reversed = packBits("111" + std::string(kEol) + std::string(kEol));
    for (uint8_t& b : reversed) b = bits::kReversed[b];
    EXPECT_EQ(encode(white, 4), reversed);

    // One black pixel at 10 under white: horizontal (white 10, black 1), then
    // the same pixel under itself is V0 V0, the third row white needs a pass.
    PageRaster dot = makePage(Pattern::White, 32, 3);
    dot.row(0)[1] = 0x20;
    dot.row(1)[1] = 0x20;
    EXPECT_EQ(encode(dot, 14), packBits("001 00111 010 1" "1 1 1" "0001 1" + std::string(kEol) + std::string(kEol)));
}

TEST(PageEncoder, StopIfLargerEndsNoisePagesEarly) {
    const PageRaster noise = makePage(Pattern::Noise, 1728, 300, 3);
    const size_t raw = size_t(noise.bytesPerRow) * noise.height;
    const size_t whole = encode(noise, 14).size();
    const size_t stopped = encode(noise, 14, 0, PageEncoder::StopIfLarger::Yes).size();
    EXPECT_GT(whole, raw);
    EXPECT_GT(stopped, raw);
    EXPECT_LT(stopped, whole);
    const size_t stoppedRows = encode(noise, 12, 0, PageEncoder::StopIfLarger::Yes).size();
    EXPECT_GT(stoppedRows, raw);
    EXPECT_LT(stoppedRows, encode(noise, 12).size());
    // Text is smaller than raw and is coded whole either way.
    const PageRaster text = makePage(Pattern::Text, 1728, 300);
    EXPECT_EQ(encode(text, 14, 0, PageEncoder::StopIfLarger::Yes), encode(text, 14));
}

TEST(PageEncoder, RowPairsAreCodedAsOneRow) {
    const PageRaster page = makePage(Pattern::Text, 1728, 301, 5);
    PageRaster halved;
    halved.create(1728, 151, 200);
    for (int r = 0; r < 150; ++r)
        for (uint32_t i = 0; i < page.bytesPerRow; ++i) halved.row(r)[i] = page.row(2 * r)[i] | page.row(2 * r + 1)[i];
    std::memcpy(halved.row(150), page.row(300), page.bytesPerRow);  // an odd last row stands alone
    for (int coding : {2, 12, 13, 14}) {
        EXPECT_EQ(encode(page, coding, 1), encode(halved, coding)) << coding;
    }
    // TaggedMH and raw codings have no pairs.
    EXPECT_EQ(encode(page, 1, 1), encode(page, 1));
    EXPECT_EQ(encode(page, 10, 1).size(), size_t(page.bytesPerRow) * page.height);
}

TEST(PageEncoder, RefusesPagesWithoutPixelsOrRoom) {
    PageEncoder encoder;
    std::vector<uint8_t> out(1000);
    PageRaster none;
    none.setSize(100, 10);
    EXPECT_EQ(encoder.encodePage(out, none), 0u);
    PageRaster page = makePage(Pattern::Noise, 100, 10);
    PageToEncode view = PageToEncode::of(page).withCoding(14);
    EXPECT_GT(encoder.encodePage(out, view), 0u);
    for (auto broken : {&PageToEncode::width, &PageToEncode::height}) {
        PageToEncode bad = view;
        bad.*broken = 0;
        EXPECT_EQ(encoder.encodePage(out, bad), 0u);
        EXPECT_EQ(PageEncoder::bufferSize(bad), 0u);
    }
    PageToEncode inconsistent = view;
    inconsistent.bytesPerRow = 3;
    EXPECT_EQ(encoder.encodePage(out, inconsistent), 0u);
    // An output too small for the page fails rather than returning a cut page.
    for (int coding : {1, 10, 11, 12, 13, 14})
        EXPECT_EQ(encoder.encodePage(std::span<uint8_t>(out.data(), 20), view.withCoding(coding)), 0u) << coding;
    // A raster whose buffer does not hold its rows is not read.
    PageRaster shortBuffer;
    shortBuffer.setSize(100, 10);
    shortBuffer.allocate(50);
    EXPECT_EQ(encoder.encodePage(out, shortBuffer), 0u);
}

TEST(PageEncoder, WorstCaseRowsFitTheBufferSize) {
    // Alternating pixels, and alternating rows against white, are the costliest
    // patterns for run-length and two-dimensional codes; tiny widths have the
    // largest share of EOL and RTC.
    for (int width : {1, 2, 7, 9, 64, 1729}) {
        PageRaster page = makePage(Pattern::White, width, 6);
        for (int r = 0; r < page.height; r += 2)
            for (uint32_t i = 0; i < page.bytesPerRow; ++i) page.row(r)[i] = r % 4 ? 0x55 : 0xAA;
        page.clearPadding();
        for (int coding : {1, 2, 11, 12, 13, 14}) EXPECT_GT(encode(page, coding).size(), 0u) << width << " " << coding;
    }
}

}  // namespace
}  // namespace lumipage
