// Row-level behaviour of the page decoder on hand-built streams.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/FaxCodes.h"
#include "image/PageDecoder.h"
#include "support/FaxStreamBuilder.h"
#include "support/LibtiffCoder.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::FaxStreamBuilder;

struct Decoded {
    PageRaster page;
    int rows = 0;
};

Decoded decode(std::span<const uint8_t> data, PageCoding coding, int width, int height, uint32_t lineDoubling = 0,
               int firstRow = 0, int budget = 0) {
    Decoded d;
    d.page.coding = int32_t(coding);
    d.page.lineDoubling = lineDoubling;
    d.page.create(width, height, 200);
    PageDecoder decoder;
    d.rows = decoder.decodePage(data, d.page, firstRow, budget);
    return d;
}

Decoded decode(const FaxStreamBuilder& s, PageCoding coding, int width, int height, uint32_t lineDoubling = 0) {
    return decode(s.data(), coding, width, height, lineDoubling);
}

// A row as text, '#' for ink and '.' for paper, over the row's whole bytes so
// that ink in the padding would show.
std::string rowText(const PageRaster& page, int y) {
    std::string text;
    for (uint32_t x = 0; x < page.bytesPerRow * 8; ++x) text += (page.row(y)[x / 8] >> (7 - x % 8)) & 1 ? '#' : '.';
    return text;
}

std::string ink(int white, int black, int rowPixels) {
    return std::string(size_t(white), '.') + std::string(size_t(black), '#') +
           std::string(size_t(rowPixels - white - black), '.');
}

FaxStreamBuilder& rtc(FaxStreamBuilder& s) {
    for (int i = 0; i < 6; ++i) s.eol();
    return s;
}

TEST(PageDecoderOneDimensional, MakeUpCodesAddToTheirRun) {
    FaxStreamBuilder s;
    s.eol().white(1728).eol();                   // make-up 1728, terminating 0
    s.white(0).black(1728).eol();                // black make-up 1728, terminating 0
    s.white(100).black(2000).eol();              // extended make-up 1920 and 64, terminating 16 (clipped)
    s.white(1664 + 63).black(1).eol();           // white make-up 1664, terminating 63
    rtc(s);
    const Decoded d = decode(s, PageCoding::TiffG3, 1728, 4);
    EXPECT_EQ(d.rows, 4);
    EXPECT_EQ(rowText(d.page, 0), ink(0, 0, 1728));
    EXPECT_EQ(rowText(d.page, 1), ink(0, 1728, 1728));
    EXPECT_EQ(rowText(d.page, 2), ink(100, 1628, 1728));
    EXPECT_EQ(rowText(d.page, 3), ink(1727, 1, 1728));
}

TEST(PageDecoderOneDimensional, LeadingEolsAndFillAreSkippedAndRtcEndsThePage) {
    FaxStreamBuilder s;
    s.bits("0000000").eol().bits("000").eol().eol().fillToByte().eol();  // fill and EOLs before row 0
    s.white(3).black(5).white(8).eol();
    s.white(0).black(2).white(14).eol();
    rtc(s);
    s.white(0).black(16).eol();  // data after RTC is not read
    const Decoded d = decode(s, PageCoding::TiffG3, 16, 5);
    EXPECT_EQ(d.rows, 2);
    EXPECT_EQ(rowText(d.page, 0), ink(3, 5, 16));
    EXPECT_EQ(rowText(d.page, 1), ink(0, 2, 16));
    for (int y = 2; y < 5; ++y) EXPECT_EQ(rowText(d.page, y), ink(0, 0, 16));

    // At a later starting row (a strip) one leading EOL is still skipped.
    const Decoded strip = decode(s.data(), PageCoding::TiffG3, 16, 5, 0, 3);
    EXPECT_EQ(strip.rows, 0) << "several EOLs before a later row are RTC";
    FaxStreamBuilder one;
    one.eol().white(1).black(1).white(14).eol();
    const Decoded later = decode(one.data(), PageCoding::TiffG3, 16, 5, 0, 3);
    EXPECT_EQ(later.rows, 1);
    EXPECT_EQ(rowText(later.page, 3), ink(1, 1, 16));
}

TEST(PageDecoderOneDimensional, BlackRunPastTheRightEdgeStopsAtTheRowEnd) {
    FaxStreamBuilder s;
    s.eol().white(10).black(30).eol();
    s.white(2).black(3).white(15).eol();
    rtc(s);
    const Decoded d = decode(s, PageCoding::TiffG3, 20, 3);
    EXPECT_EQ(d.rows, 2);
    EXPECT_EQ(rowText(d.page, 0), ink(10, 10, 24)) << "the padding bits stay white";
    EXPECT_EQ(rowText(d.page, 1), ink(2, 3, 24));
    EXPECT_EQ(rowText(d.page, 2), ink(0, 0, 24));
}

TEST(PageDecoderOneDimensional, RecoveryPathsKeepTheOutputPosition) {
    // Exactly eight zeros, a one and 1111: the colour toggles and decoding
    // resumes at the last of the eight zeros, here reading white 2 (0111)
    // and black 2 (11).
    FaxStreamBuilder toggled;
    toggled.eol().white(10).bits("00000000 1111").bits("1").white(50).eol();
    rtc(toggled);
    Decoded d = decode(toggled, PageCoding::TiffG3, 64, 2);
    EXPECT_EQ(d.rows, 1);
    EXPECT_EQ(rowText(d.page, 0), ink(12, 2, 64));

    // Eight zeros and a one not followed by 111: twelve bits are skipped and
    // the row goes on in white at the same position.
    FaxStreamBuilder skipped;
    skipped.eol().white(10).bits("00000000 1010").white(4).black(6).white(44).eol();
    rtc(skipped);
    d = decode(skipped, PageCoding::TiffG3, 64, 2);
    EXPECT_EQ(d.rows, 1);
    EXPECT_EQ(rowText(d.page, 0), ink(14, 6, 64));

    // An EOL before the row has left its first byte counts as an EOL before
    // data: the row goes on in white from where it was.
    FaxStreamBuilder early;
    early.eol().white(2).black(2).white(60).eol();
    early.white(5).eol().white(3).black(4).white(52).eol();
    rtc(early);
    d = decode(early, PageCoding::TiffG3, 64, 3);
    EXPECT_EQ(d.rows, 2);
    EXPECT_EQ(rowText(d.page, 1), ink(8, 4, 64));
}

TEST(PageDecoderWithoutEol, RowsStartOnTheNextByteBoundary) {
    FaxStreamBuilder s;
    s.white(3).black(4).white(3).bits("11111");  // 11 bits of codes; the rest of the byte is ignored
    s.white(0).black(10).fillToByte();
    s.white(9).black(1).bits("1");
    const Decoded d = decode(s, PageCoding::TiffMH, 10, 4);
    EXPECT_EQ(d.rows, 3);
    EXPECT_EQ(rowText(d.page, 0), ink(3, 4, 16));
    EXPECT_EQ(rowText(d.page, 1), ink(0, 10, 16));
    EXPECT_EQ(rowText(d.page, 2), ink(9, 1, 16));

    // These rows have no EOLs: one is damage and ends the page.
    FaxStreamBuilder withEol;
    withEol.white(10).fillToByte().eol().white(0).black(10);
    EXPECT_EQ(decode(withEol, PageCoding::TiffMH, 10, 4).rows, 1);
}

TEST(PageDecoderTwoDimensional, ModesAgainstTheReferenceRow) {
    FaxStreamBuilder s;
    // Row 0 against the white row: horizontal (white 2, black 3), horizontal
    // (white 6, black 2), V0 onto the row end.
    s.bits(t4::kHorizontal).white(2).black(3).bits(t4::kHorizontal).white(6).black(2).bits(t4::kVertical0);
    // Row 1: an extension code is skipped; pass to b2 = 5; VL1 below 11 gives
    // 10; VR1 beside 13 gives 14; V0 onto the row end.
    s.bits(t4::kExtension).bits("111").bits(t4::kPass).bits(t4::kVerticalL1).bits(t4::kVerticalR1);
    s.bits(t4::kVertical0);
    s.eol().eol();  // EOFB
    const Decoded d = decode(s, PageCoding::TiffG4, 16, 3);
    EXPECT_EQ(d.rows, 2);
    EXPECT_EQ(rowText(d.page, 0), "..###......##...");
    EXPECT_EQ(rowText(d.page, 1), "..........####..");

    // A position past the row end fails the row.
    FaxStreamBuilder past;
    past.bits(t4::kVerticalR1);
    EXPECT_EQ(decode(past, PageCoding::TiffG4, 16, 1).rows, 0);

    // T.4 two-dimensional: anything before the first EOL is skipped, rows
    // are tagged, two-dimensional rows end at the next EOL.
    FaxStreamBuilder g3;
    g3.bits("1011 0").eol().bits("1").white(4).black(4).white(8);
    g3.eol().bits("0").bits(t4::kVertical0).bits(t4::kVertical0).bits(t4::kVertical0).bits("0110");
    g3.eol().bits("1").eol().bits("1").eol().bits("1");
    const Decoded mr = decode(g3, PageCoding::TiffG3MR, 16, 3);
    EXPECT_EQ(mr.rows, 2);
    EXPECT_EQ(rowText(mr.page, 0), "....####........");
    EXPECT_EQ(rowText(mr.page, 1), "....####........");
}

// Runs are painted into the row's 64-pixel words: runs crossing from one
// word to the next, a black pass over a word boundary and runs into the
// row's last, partial word (150 pixels: 19 bytes) paint exactly their pixels.
TEST(PageDecoderTwoDimensional, RunsPaintAcrossWordsAndIntoTheLastBytes) {
    FaxStreamBuilder s;
    // Row 0: horizontal (white 60, black 10), (white 50, black 6), (white 2, black 22).
    s.bits(t4::kHorizontal).white(60).black(10).bits(t4::kHorizontal).white(50).black(6);
    s.bits(t4::kHorizontal).white(2).black(22);
    // Row 1: V0 onto 60; VR2 beside 70 gives 72; pass to b2 = 126; VL1 below
    // 128 gives 127; V0 onto the row end.
    s.bits(t4::kVertical0).bits(t4::kVerticalR2).bits(t4::kPass).bits(t4::kVerticalL1).bits(t4::kVertical0);
    // Row 2: V0 onto 60, a black pass to b2 = 127, V0 onto the row end.
    s.bits(t4::kVertical0).bits(t4::kPass).bits(t4::kVertical0);
    s.eol().eol();
    const Decoded d = decode(s, PageCoding::TiffG4, 150, 3);
    EXPECT_EQ(d.rows, 3);
    EXPECT_EQ(rowText(d.page, 0), ink(60, 10, 120) + ink(0, 6, 8) + ink(0, 22, 24));
    EXPECT_EQ(rowText(d.page, 1), ink(60, 12, 127) + ink(0, 23, 25));
    EXPECT_EQ(rowText(d.page, 2), ink(60, 90, 152));
}

// Two short codes are looked up together; each is still taken on its own
// terms: the first may complete a row without EOL, and the data may end
// inside the second (a zero past the end would complete black 1 there).
TEST(PageDecoderOneDimensional, ShortCodePairsAtTheRowAndDataEnd) {
    FaxStreamBuilder s;
    // White 1 completes the 1-pixel row; "01" is the rest of its byte. The
    // next row, white 0 and black 1, begins in the next byte.
    s.white(1).bits("01").white(0).black(1);
    const Decoded mh = decode(s, PageCoding::TiffMH, 1, 2);
    EXPECT_EQ(mh.rows, 2);
    EXPECT_EQ(rowText(mh.page, 0), ink(0, 0, 8));
    EXPECT_EQ(rowText(mh.page, 1), ink(0, 1, 8));

    FaxStreamBuilder cut;
    cut.white(1).bits("01");  // black 1 (010) cut after two bits, at the byte's end
    const Decoded g3 = decode(cut.data(), PageCoding::TiffG3, 4, 1);
    EXPECT_EQ(g3.rows, 0);
    EXPECT_EQ(rowText(g3.page, 0), ink(0, 0, 8));
}

TEST(PageDecoderTagged, EveryTagDecodes) {
    FaxStreamBuilder s;
    s.byte(0x23).white(4).black(8).white(18).fillToByte().byte(0x00).byte(0x01);
    s.byte(0x01);
    s.byte(0x24).white(0).black(4).white(26).fillToByte().byte(0x00).byte(0x01);
    s.byte(0x00);
    s.byte(0xF0).bits("0 1 01111110 00000000 0").fillToByte();  // 00 7E 00 00
    s.byte(0xFF).byte(0x12).byte(0x34).byte(0x56).byte(0xFF);
    s.byte(0x41).white(0).black(30).fillToByte().byte(0x00).byte(0x01);  // any other tag: MH codes
    s.byte(0x24).white(8).black(8).white(14).fillToByte().byte(0x00).byte(0x01);
    const Decoded d = decode(s, PageCoding::TaggedMH, 30, 10);
    EXPECT_EQ(d.rows, 8);
    const std::string expected[] = {
        "....########....................",  //
        "....########....................",  //
        "############....................",  //
        "................................",  //
        ".........######.................",  // 0x7E
        "...#..#...##.#...#.#.##.######..",  // 12 34 56 FF, padding cleared
        "##############################..",  //
        "########........##############..",  // XOR with the row above
    };
    for (int y = 0; y < 8; ++y) EXPECT_EQ(rowText(d.page, y), expected[y]) << "row " << y;
    for (int y = 8; y < 10; ++y) EXPECT_EQ(rowText(d.page, y), std::string(32, '.'));
}

TEST(PageDecoderTagged, RowAboveTheFirstRowIsWhite) {
    FaxStreamBuilder same;
    same.byte(0x01).byte(0x23).white(1).black(2).white(5).fillToByte().byte(0x00).byte(0x01);
    Decoded d = decode(same, PageCoding::TaggedMH, 8, 2);
    EXPECT_EQ(d.rows, 2);
    EXPECT_EQ(rowText(d.page, 0), "........");
    EXPECT_EQ(rowText(d.page, 1), ".##.....");

    FaxStreamBuilder difference;
    difference.byte(0x24).white(1).black(2).white(5).fillToByte().byte(0x00).byte(0x01);
    d = decode(difference, PageCoding::TaggedMH, 8, 1);
    EXPECT_EQ(d.rows, 1);
    EXPECT_EQ(rowText(d.page, 0), ".##.....");
}

TEST(PageDecoderRaw, RowsAreCopiedAsFarAsTheDataGoes) {
    const std::vector<uint8_t> data = {0xAB, 0xCD, 0xEF, 0x01, 0x23};
    const Decoded d = decode(data, PageCoding::Bit, 12, 4);
    EXPECT_EQ(d.rows, 3);
    EXPECT_EQ(rowText(d.page, 0), "#.#.#.####......");
    EXPECT_EQ(rowText(d.page, 1), "###.####........");
    EXPECT_EQ(rowText(d.page, 2), "..#...##........");

    const Decoded strip = decode(data, PageCoding::Bit, 12, 4, 0, 2, 1);
    EXPECT_EQ(strip.rows, 1);
    EXPECT_EQ(rowText(strip.page, 1), std::string(16, '.'));
    EXPECT_EQ(rowText(strip.page, 2), "#.#.#.####......");
    EXPECT_EQ(rowText(strip.page, 3), std::string(16, '.'));
}

// The rows of a standard-resolution fax page that the data leaves out are
// copies of the row above, also after the last coded row.
TEST(PageDecoderPage, DoubledRowsCopyTheRowAboveUpToThePageEnd) {
    FaxStreamBuilder s;
    s.eol().white(1).black(3).white(12).eol().white(5).black(1).white(10).fillToByte().bits("0000").eol();
    const Decoded d = decode(s, PageCoding::TiffG3, 16, 4, 1);
    EXPECT_EQ(d.rows, 4);
    EXPECT_EQ(rowText(d.page, 0), ink(1, 3, 16));
    EXPECT_EQ(rowText(d.page, 1), ink(1, 3, 16));
    EXPECT_EQ(rowText(d.page, 2), ink(5, 1, 16));
    EXPECT_EQ(rowText(d.page, 3), ink(5, 1, 16));
}

TEST(PageDecoderPage, FirstRowAndBudgetSelectTheRows) {
    const PageRaster source = test::makePage(test::Pattern::Noise, 1728, 400, 5);
    const std::vector<uint8_t> whole = test::libtiffEncode(source, test::kTiffGroup4);
    Decoded d = decode(whole, PageCoding::TiffG4, 1728, 400, 0, 0, 250);
    EXPECT_EQ(d.rows, 250);
    EXPECT_EQ(test::firstDifferentRow(d.page, source), 250);
    for (int y = 250; y < 400; ++y) ASSERT_EQ(rowText(d.page, y), std::string(1728, '.'));

    // The page's data decoded from row 300 on fills rows 300 to 399 only.
    d = decode(whole, PageCoding::TiffG4, 1728, 400, 0, 300, 0);
    EXPECT_EQ(d.rows, 100);
    for (int y = 0; y < 300; ++y) ASSERT_EQ(rowText(d.page, y), std::string(1728, '.'));
    for (int y = 300; y < 400; ++y) ASSERT_EQ(std::memcmp(d.page.row(y), source.row(y - 300), 216), 0);
}

TEST(PageDecoderPage, RefusesWhatItCannotDecodeSafely) {
    const std::vector<uint8_t> data(64, 0xFF);
    PageRaster page;
    page.coding = int32_t(PageCoding::Bit);
    PageDecoder decoder;
    EXPECT_EQ(decoder.decodePage(data, page), 0) << "no buffer";
    page.create(16, 4, 200);
    EXPECT_EQ(decoder.decodePage(data, page, 4), 0) << "first row past the page";
    EXPECT_EQ(decoder.decodePage(data, page, -1), 0);
    page.coding = 7;
    EXPECT_EQ(decoder.decodePage(data, page), 0) << "unknown coding";
    page.coding = int32_t(PageCoding::Bit);
    page.height = 1000;  // more rows than the buffer holds
    EXPECT_EQ(decoder.decodePage(data, page), 0);
    page.height = 4;
    EXPECT_EQ(decoder.decodePage(data, page), 4);
}

}  // namespace
}  // namespace lumipage
