// The encoder's output on realistic pages (a typed fax page, a 300 dpi scan,
// a noise page) stays byte for byte what it has been: other programs and
// earlier saved files expect exactly these bytes, and a faster coder must
// not change them. The pages are drawn from fixed seeds; each coding's
// output is compared through a 64-bit FNV-1a hash recorded from the encoder
// as it was before it was tuned for speed. The same data decodes back to
// the page it was made from.
#include <gtest/gtest.h>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "image/PageDecoder.h"
#include "image/PageEncoder.h"
#include "support/TestImages.h"
#include "tools/RealisticPages.h"

namespace lumipage {
namespace {

uint64_t fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t h = 0xcbf29ce484222325u;
    for (const uint8_t b : bytes) h = (h ^ b) * 0x100000001b3u;
    return h;
}

std::vector<uint8_t> encode(PageEncoder& encoder, const PageRaster& page, int32_t coding, uint32_t lineDoubling) {
    const PageToEncode view = PageToEncode::of(page).withCoding(coding, lineDoubling);
    std::vector<uint8_t> out(PageEncoder::bufferSize(view));
    out.resize(encoder.encodePage(out, view));
    return out;
}

struct Recorded {
    int32_t coding;
    uint32_t lineDoubling;
    uint64_t fax, scan, noise;  // hash of the coded bytes of each page
};

// coding: 1 TaggedMH, 2 .FAX G3, 3 .FAX G3 2-D, 4 .FAX G4, 11 TIFF MH,
// 12 TIFF G3, 13 TIFF G3 2-D, 14 TIFF G4; lineDoubling 1 codes row pairs.
constexpr Recorded kRecorded[] = {
    {1, 0, 0x6182ff1bedff42d0u, 0x4abf6bf4735edcbfu, 0x86f3e9c72612fdfau},
    {2, 0, 0x243668b42edf6cbfu, 0x56e14ee78563ab0du, 0xbf27cab67ab24648u},
    {3, 0, 0xe7a45679faaf87ddu, 0x4625840dc4346258u, 0x358f10ff637cd8d4u},
    {4, 0, 0x6e4b0ef4f74f4b43u, 0xd458853b9f059447u, 0xf08a6fbe0587b899u},
    {11, 0, 0x419a6e5acdc7ad59u, 0x9aa15775c5688339u, 0x695cf3ca815e4f13u},
    {12, 0, 0x0e4e163ac4a75f06u, 0x61a1240aa7d106f1u, 0x02ab9d5870e1fe0bu},
    {13, 0, 0xa060ac52132b856bu, 0x5f5b39cc16de2077u, 0x368c3c8a2bdacdabu},
    {14, 0, 0x661ee8ef7f84ee5bu, 0xe2b448b8ab4d27f0u, 0xb65f0b88534ef2d3u},
    {12, 1, 0x6a145e1b3dd808b1u, 0x05e04cec2ceca49eu, 0xfbcba9658b240cbbu},
    {14, 1, 0x798a46f697b30ee8u, 0x4bccfca3d40b9977u, 0x8686b0de8daf6145u},
};

std::string hex(uint64_t v) {
    char s[24];
    std::snprintf(s, sizeof s, "0x%016llxu", static_cast<unsigned long long>(v));
    return s;
}

TEST(CodedBytes, RealisticPagesCodeToTheRecordedBytesAndDecodeBack) {
    const PageRaster pages[] = {samples::typedFaxPage(), samples::scannedPage(), samples::noisePage()};
    PageEncoder encoder;  // one encoder for every page, as a batch conversion uses it
    PageDecoder decoder;
    for (const Recorded& r : kRecorded) {
        const uint64_t expected[] = {r.fax, r.scan, r.noise};
        for (size_t p = 0; p < 3; ++p) {
            SCOPED_TRACE("page " + std::to_string(p) + ", coding " + std::to_string(r.coding) + ", lineDoubling " +
                         std::to_string(r.lineDoubling));
            const std::vector<uint8_t> coded = encode(encoder, pages[p], r.coding, r.lineDoubling);
            ASSERT_FALSE(coded.empty());
            EXPECT_EQ(hex(fnv1a(coded)), hex(expected[p]));
            if (r.lineDoubling != 0) continue;  // row pairs do not decode to the page itself
            PageRaster back;
            back.create(pages[p].width, pages[p].height, pages[p].dpi);
            back.coding = r.coding;
            ASSERT_EQ(decoder.decodePage(coded, back), back.height);
            EXPECT_EQ(test::firstDifferentRow(back, pages[p]), -1);
        }
    }
}

// The first pixel of row r where the pages differ; the width when none does.
int firstDifference(const PageRaster& a, const PageRaster& b, int r) {
    for (int i = 0; i < a.width; ++i)
        if (((a.row(r)[i / 8] ^ b.row(r)[i / 8]) & (0x80 >> (i % 8))) != 0) return i;
    return a.width;
}

bool whiteFrom(const PageRaster& page, int r, int x) {
    for (int i = x; i < page.width; ++i)
        if (page.row(r)[i / 8] & (0x80 >> (i % 8))) return false;
    return true;
}

// Data cut short anywhere: every row decoded before the cut is the page's
// own, the row the data ends in is the page's up to some point and white
// after it, and every row below stays white.
TEST(CodedBytes, DataCutShortKeepsTheRowsBeforeTheCutAndWhiteAfterIt) {
    const PageRaster pages[] = {samples::typedFaxPage(), samples::scannedPage(), samples::noisePage()};
    PageEncoder encoder;
    PageDecoder decoder;
    for (const int32_t coding : {2, 11, 12, 13, 14}) {
        for (const PageRaster& page : pages) {
            const std::vector<uint8_t> coded = encode(encoder, page, coding, 0);
            for (const size_t cut : {coded.size() / 7, coded.size() / 3, coded.size() / 2 + 5, coded.size() * 9 / 10}) {
                SCOPED_TRACE("coding " + std::to_string(coding) + ", width " + std::to_string(page.width) +
                             ", cut at " + std::to_string(cut));
                PageRaster back;
                back.create(page.width, page.height, page.dpi);
                back.coding = coding;
                const int rows = decoder.decodePage(std::span(coded.data(), cut), back);
                ASSERT_GT(rows, 0);
                ASSERT_LT(rows, page.height);
                for (int r = 0; r < rows; ++r) ASSERT_EQ(firstDifference(back, page, r), page.width) << "row " << r;
                const int agree = firstDifference(back, page, rows);
                EXPECT_TRUE(whiteFrom(back, rows, agree)) << "row " << rows << " after pixel " << agree;
                for (int r = rows + 1; r < page.height; ++r) ASSERT_TRUE(whiteFrom(back, r, 0)) << "row " << r;
            }
        }
    }
}

}  // namespace
}  // namespace lumipage
