#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "image/BmpFile.h"
#include "image/CDIB.h"
#include "image/PageRaster.h"
#include "platform/File.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::Pattern;
constexpr const char* kLoadFailed = "Failed to load DIB file";

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> out;
    File::readAll(path, out);
    return out;
}

void saveBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A PGM of the page: ink and paper as the given grey levels.
void writePgm(const std::string& path, const PageRaster& page, int ink, int paper) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << page.width << ' ' << page.height << "\n255\n";
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) out.put(char((page.row(y)[x / 8] & (0x80 >> (x % 8))) ? ink : paper));
}

void writeGreyRamp(const std::string& path, int levels) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << levels << " 1\n255\n";
    for (int i = 0; i < levels; ++i) out.put(char(i * 255 / (levels - 1)));
}

struct Loaded {
    test::RecordingMessages messages;
    CDIB bitmap;
    PageRaster raster;
    bool load(const std::string& path) { return BmpFile::loadPage(path, bitmap, raster, messages); }
};

TEST(CDIB, GeometryPaletteAndRowsCountedFromTheTop) {
    CDIB d;
    EXPECT_EQ(d.width(), 16);
    EXPECT_EQ(d.height(), 16);
    EXPECT_EQ(d.bitsPerPixel(), 8);
    EXPECT_EQ(d.paletteSize(), 256u);
    EXPECT_EQ(d.palette()[0xFF], (CDIB::RgbQuad{0xC0, 0xE0, 0xE0, 0}));
    EXPECT_EQ(d.palette()[0x25], (CDIB::RgbQuad{0x40, 0x20, 0x20, 0}));
    EXPECT_EQ(CDIB::strideFor(33, 1), 8u);
    EXPECT_EQ(CDIB::strideFor(9, 4), 8u);
    EXPECT_EQ(CDIB::strideFor(5, 8), 8u);
    ASSERT_TRUE(d.create(33, 3, 1, 3937));
    EXPECT_EQ(d.stride(), 8u);
    EXPECT_EQ(d.paletteSize(), 2u);
    EXPECT_EQ(d.palette()[0], (CDIB::RgbQuad{255, 255, 255, 0}));
    EXPECT_EQ(d.palette()[1], (CDIB::RgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(d.rowOrder(), 1);
    EXPECT_EQ(d.pixelsPerMetreY(), 3937);
    // Bottom-up: the top row is stored last.
    std::vector<uint8_t> bits(24);
    bits[16] = 0xAB;
    EXPECT_FALSE(d.copyBitsIn(std::span(bits).first(23)));
    ASSERT_TRUE(d.copyBitsIn(bits));
    EXPECT_EQ(*d.rowAddress(0), 0xAB);
    EXPECT_EQ(d.pixelAddress(32, 2) - d.rowAddress(2), 4);
    EXPECT_EQ(d.pixelAddress(33, 0), nullptr);
    EXPECT_EQ(d.rowAddress(3), nullptr);
    EXPECT_EQ(d.copyBitsOut(), bits);
    const auto b = d.bounds();
    EXPECT_EQ(b.right, 33);
    EXPECT_EQ(b.bottom, 3);
}

TEST(CDIB, CopyBlockClipsAndLeavesTheKeyOut) {
    CDIB from, to;
    ASSERT_TRUE(from.create(8, 4, 8, 0));
    ASSERT_TRUE(to.create(8, 4, 8, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) *from.pixelAddress(x, y) = uint8_t(y * 8 + x);
    *from.pixelAddress(1, 1) = 200;
    to.fill(99);
    from.copyBlock(to, 6, 2, 5, 5, 0, 0, 200);  // clipped to 2 x 2
    EXPECT_EQ(*to.pixelAddress(6, 2), 0);
    EXPECT_EQ(*to.pixelAddress(7, 2), 1);
    EXPECT_EQ(*to.pixelAddress(6, 3), 8);
    EXPECT_EQ(*to.pixelAddress(7, 3), 99);  // the key byte is not copied
    EXPECT_EQ(*to.pixelAddress(5, 2), 99);
    from.copyBlock(to, 0, 0, 3, 2, 0, 1, 200);
    EXPECT_EQ(*to.pixelAddress(1, 0), 99);  // the key byte is not copied
    EXPECT_EQ(*to.pixelAddress(2, 0), 10);
    from.copyBlock(to, -3, -3, 100, 100, 0, 0, -1);
    EXPECT_EQ(*to.pixelAddress(0, 0), 27);
    from.copyBlock(to, 0, 0, 8, 4, 50, 50, -1);  // nothing to copy
}

TEST(CDIB, MapToPaletteTakesTheNearestColours) {
    CDIB d;
    std::array<CDIB::RgbQuad, 256> grey{};
    for (int i = 0; i < 256; ++i) grey[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) *d.pixelAddress(x, y) = 0xE3;
    const CDIB::RgbQuad old = d.palette()[0xE3];
    ASSERT_EQ(old, (CDIB::RgbQuad{0xC0, 0x00, 0xE0, 0}));
    ASSERT_TRUE(d.mapToPalette(grey));
    const int expected = (0xE0 + 0x00 + 0xC0 + 1) / 3;
    EXPECT_NEAR(*d.pixelAddress(5, 5), expected, 1);
    EXPECT_EQ(d.palette()[77], grey[77]);
    EXPECT_EQ(d.header().clrUsed, 256u);
}

TEST(BmpFile, FaxPageSavedAndReadBackByUsAndByBmptopnm) {
    const std::string folder = test::tempFolder();
    PageRaster page = test::makePage(Pattern::Text, 1728, 2290, 4);
    test::RecordingMessages m;
    ASSERT_TRUE(BmpFile::savePage(folder + "/fax.bmp", page, nullptr, m));
    const auto bytes = fileBytes(folder + "/fax.bmp");
    ASSERT_EQ(bytes.size(), 495718u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[10], 0x36);  // bits at 1078
    EXPECT_EQ(bytes[11], 0x04);
    EXPECT_EQ(bytes[38] | bytes[39] << 8, 7874);  // pixels per metre

    ASSERT_EQ(test::runCommand("bmptopnm " + folder + "/fax.bmp > " + folder + "/fax.pbm 2>/dev/null"), 0);
    PageRaster theirs;
    ASSERT_TRUE(test::readPbm(folder + "/fax.pbm", theirs));
    EXPECT_EQ(test::firstDifferentRow(theirs, page), -1);

    Loaded l;
    ASSERT_TRUE(l.load(folder + "/fax.bmp"));
    EXPECT_EQ(l.raster.dpi, 200);
    EXPECT_EQ(l.raster.coding, 0);
    EXPECT_EQ(test::firstDifferentRow(l.raster, page), -1);
    EXPECT_EQ(BmpFile::countPages(folder + "/fax.bmp"), 1);

    // A page that came from a bitmap is saved as that bitmap.
    ASSERT_TRUE(BmpFile::savePage(folder + "/again.bmp", l.raster, &l.bitmap, m));
    EXPECT_EQ(fileBytes(folder + "/again.bmp"), bytes);
    EXPECT_TRUE(m.said.empty());
    EXPECT_FALSE(BmpFile::savePage(folder + "/no/such/folder.bmp", page, nullptr, m));
    EXPECT_EQ(m.said, std::vector<std::string>{"Failed to save DIB file"});
}

// Pages of odd widths in every depth netpbm writes, Windows and OS/2 forms.
TEST(BmpFile, NetpbmBitmapsOfEveryDepth) {
    const std::string folder = test::tempFolder();
    const PageRaster page = test::makePage(Pattern::ThinLines, 203, 61, 3);
    ASSERT_TRUE(test::writePbm(folder + "/p.pbm", page));
    writePgm(folder + "/p.pgm", page, 34, 238);
    writeGreyRamp(folder + "/ramp16.pgm", 16);
    writeGreyRamp(folder + "/ramp256.pgm", 256);
    const std::string commands[] = {
        "ppmtobmp -bpp 1 p.pbm",
        "ppmtobmp -os2 -bpp 1 p.pbm",
        "ppmtobmp -bpp 4 -mapfile ramp16.pgm p.pgm",
        "ppmtobmp -os2 -bpp 4 -mapfile ramp16.pgm p.pgm",
        "ppmtobmp -bpp 8 -mapfile ramp256.pgm p.pgm",
        "ppmtobmp -os2 -bpp 8 -mapfile ramp256.pgm p.pgm",
    };
    for (const std::string& c : commands) {
        SCOPED_TRACE(c);
        ASSERT_EQ(test::runCommand("cd " + folder + " && " + c + " > out.bmp 2>/dev/null"), 0);
        Loaded l;
        ASSERT_TRUE(l.load(folder + "/out.bmp"));
        EXPECT_EQ(test::firstDifferentRow(l.raster, page), -1);
        EXPECT_EQ(BmpFile::countPages(folder + "/out.bmp"), 1);
    }
}

TEST(BmpFile, ImageMagickBitmaps) {
    const std::string folder = test::tempFolder();
    const PageRaster page = test::makePage(Pattern::Text, 500, 300, 6);
    ASSERT_TRUE(test::writePbm(folder + "/p.pbm", page));
    auto convert = [&](const std::string& args, const std::string& format, const std::string& out) {
        return test::runCommand("convert " + folder + "/p.pbm " + args + " " + format + ":" + folder + "/" + out +
                                " 2>/dev/null");
    };
    ASSERT_EQ(convert("-type Bilevel", "BMP3", "bilevel.bmp"), 0);
    Loaded l;
    ASSERT_TRUE(l.load(folder + "/bilevel.bmp"));
    EXPECT_EQ(test::firstDifferentRow(l.raster, page), -1);

    // 24-bit colour and the later (version 4 and 5) headers are not read.
    ASSERT_EQ(convert("", "BMP3", "colour.bmp"), 0);
    ASSERT_EQ(convert("-type Bilevel", "BMP", "v4.bmp"), 0);
    for (const char* name : {"colour.bmp", "v4.bmp"}) {
        Loaded refused;
        refused.raster.create(10, 10, 100);
        EXPECT_FALSE(refused.load(folder + "/" + name)) << name;
        EXPECT_EQ(refused.messages.said, std::vector<std::string>{kLoadFailed});
        EXPECT_EQ(refused.raster.width, 10);
        EXPECT_EQ(BmpFile::countPages(folder + "/" + name), 0);
    }
}

TEST(BmpFile, PaletteDecidesWhichOneBitValueIsInk) {
    const std::string folder = test::tempFolder();
    const PageRaster page = test::makePage(Pattern::Noise, 37, 9, 8);
    for (bool blackFirst : {false, true}) {
        CDIB d;
        ASSERT_TRUE(d.create(37, 9, 1, 0));
        if (blackFirst) {
            d.setPaletteEntry(0, {0, 0, 0, 0});
            d.setPaletteEntry(1, {255, 255, 255, 0});
        }
        for (int y = 0; y < 9; ++y) {
            std::memcpy(d.rowAddress(y), page.row(y), page.bytesPerRow);
            if (blackFirst) PageRaster::invertBytes(d.rowAddress(y), page.bytesPerRow);
        }
        PageRaster raster;
        ASSERT_TRUE(BmpFile::pageFromBitmap(d, raster));
        EXPECT_EQ(test::firstDifferentRow(raster, page), -1) << blackFirst;
    }
    // 8-bit: indices below 128 are ink, whatever their colours.
    CDIB grey;
    ASSERT_TRUE(grey.create(11, 1, 8, 0));
    for (int x = 0; x < 11; ++x) *grey.pixelAddress(x, 0) = uint8_t(x * 25);
    PageRaster raster;
    ASSERT_TRUE(BmpFile::pageFromBitmap(grey, raster));
    EXPECT_EQ(raster.row(0)[0], 0xFC);  // 0, 25, ..., 125 ink; 150 and 175 paper
    EXPECT_EQ(raster.row(0)[1], 0x00);
}

TEST(BmpFile, ShortTopDownAndDamagedFiles) {
    const std::string folder = test::tempFolder();
    const PageRaster page = test::makePage(Pattern::Noise, 40, 20, 2);
    CDIB d;
    ASSERT_TRUE(d.create(40, 20, 1, 0));  // palette white, black: bits are the page's
    for (int y = 0; y < 20; ++y) std::memcpy(d.rowAddress(y), page.row(y), 5);
    test::RecordingMessages m;
    ASSERT_TRUE(d.saveAs(folder + "/whole.bmp", m));
    const auto whole = fileBytes(folder + "/whole.bmp");

    // Cut after 12 stored rows: the bottom 12 rows are there, the top ones white.
    saveBytes(folder + "/short.bmp", std::vector<uint8_t>(whole.begin(), whole.begin() + 1078 + 12 * 8));
    Loaded s;
    ASSERT_TRUE(s.load(folder + "/short.bmp"));
    for (int y = 0; y < 20; ++y) {
        const bool present = y >= 8;
        for (int b = 0; b < 5; ++b) ASSERT_EQ(s.raster.row(y)[b], present ? page.row(y)[b] : 0) << y;
    }

    // Negative height: rows stored from the top.
    std::vector<uint8_t> topDown = whole;
    const int32_t negative = -20;
    std::memcpy(&topDown[22], &negative, 4);
    for (int y = 0; y < 20; ++y) std::memcpy(&topDown[1078 + size_t(y) * 8], page.row(y), 5);
    saveBytes(folder + "/topdown.bmp", topDown);
    Loaded t;
    ASSERT_TRUE(t.load(folder + "/topdown.bmp"));
    EXPECT_EQ(test::firstDifferentRow(t.raster, page), -1);

    auto refused = [&](std::vector<uint8_t> bytes, const char* why) {
        saveBytes(folder + "/bad.bmp", bytes);
        Loaded l;
        EXPECT_FALSE(l.load(folder + "/bad.bmp")) << why;
        EXPECT_EQ(l.messages.said, std::vector<std::string>{kLoadFailed}) << why;
    };
    auto edited = [&](size_t at, uint32_t value, int width) {
        std::vector<uint8_t> b = whole;
        std::memcpy(&b[at], &value, size_t(width));
        return b;
    };
    refused(edited(0, 'X', 1), "magic");
    refused(edited(10, 100000, 4), "bits past the end");
    refused(edited(14, 64, 4), "header size");
    refused(edited(28, 24, 2), "24 bits");
    refused(edited(28, 2, 2), "2 bits");
    refused(edited(30, 1, 4), "run-length coded");
    refused(edited(18, 0, 4), "no width");
    refused(std::vector<uint8_t>(whole.begin(), whole.begin() + 60), "palette cut off");

    // Larger than a page may be: refused by size before the pixels are read.
    Loaded big;
    big.raster.create(10, 10, 100);
    saveBytes(folder + "/big.bmp", edited(18, 16001, 4));
    EXPECT_FALSE(big.load(folder + "/big.bmp"));
    EXPECT_EQ(big.messages.said, std::vector<std::string>{folder + "/big.bmp\nデータサイズが制限値を超えています"});
    EXPECT_EQ(big.raster.width, 10);
    EXPECT_EQ(big.bitmap.width(), 16);

    // Every prefix of a small file: read or refused, never outside the data.
    for (size_t n = 0; n < 1200; n += 7) {
        CDIB any;
        if (any.read(std::span(whole).first(n))) {
            EXPECT_EQ(any.width(), 40);
        }
    }
}

}  // namespace
}  // namespace lumipage
