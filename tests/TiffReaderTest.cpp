#include <gtest/gtest.h>

#include <fstream>

#include "image/PageRaster.h"
#include "image/TiffReader.h"
#include "image/TiffSource.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"
#include "support/TiffBuilder.h"

namespace lumipage {
namespace {

using test::RecordingMessages;
using test::TiffBuilder;
using Entries = std::vector<TiffBuilder::Entry>;

constexpr const char* kNoSuchPage = "このページは存在しません";
constexpr const char* kUnsupported = "このTIFFファイルはサポートされていません";
constexpr const char* kReadError = "データリードエラー";

void setEntry(Entries& entries, TiffBuilder::Entry entry) {
    for (auto& e : entries)
        if (e.tag == entry.tag) {
            e = entry;
            return;
        }
    entries.push_back(entry);
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.tag < b.tag; });
}

void removeEntry(Entries& entries, uint16_t tag) {
    std::erase_if(entries, [tag](auto& e) { return e.tag == tag; });
}

// The page's rows as stored, with the unused bits of each row set as a
// careless writer might leave them.
std::vector<uint8_t> storedRows(const PageRaster& page) {
    std::vector<uint8_t> rows = test::imageBytes(page);
    if (page.width % 8)
        for (size_t r = 0; r < size_t(page.height); ++r) rows[(r + 1) * page.bytesPerRow - 1] |= 1;
    return rows;
}

// A one-page uncompressed file of `page`; `edit` changes the directory.
TiffBuilder rawFile(const PageRaster& page, bool bigEndian = false, void (*edit)(Entries&) = nullptr) {
    TiffBuilder b(bigEndian);
    const auto rows = storedRows(page);
    const uint32_t data = b.addData(rows);
    Entries entries = test::rawPageEntries(uint32_t(page.width), uint32_t(page.height), data, uint32_t(rows.size()));
    if (edit) edit(entries);
    b.setFirstIfd(b.addIfd(entries));
    return b;
}

struct Opened {
    RecordingMessages messages;
    std::vector<uint8_t> bytes;
    TiffReader reader;
    PageRaster raster;
    bool open(const TiffBuilder& b) {
        bytes = b.bytes;  // the reader reads these bytes while it is open
        return reader.open(bytes, "/docs/page.tif", messages);
    }
    bool load(int page, bool ignoreBlackIsZero = false) {
        return reader.loadPage(page, raster, TiffReadOptions{ignoreBlackIsZero}, messages);
    }
};

TEST(TiffSource, ServesHeadAndWindowAndRefusesReadsPastTheEnd) {
    std::vector<uint8_t> data(5000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7);
    TiffSource s;
    ASSERT_TRUE(s.attach(data));
    EXPECT_EQ(s.length(), 5000u);
    for (uint64_t at : {0u, 509u, 510u, 3000u, 2700u, 4996u}) {
        const auto bytes = s.read(at, 4);
        ASSERT_TRUE(bytes) << at;
        EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), data.begin() + at)) << at;
    }
    EXPECT_FALSE(s.read(4997, 4));
    EXPECT_FALSE(s.read(~0ull - 1, 4));
    EXPECT_EQ(s.u32(4998), 0u);  // a failed typed read gives 0
    const auto whole = s.read(0, 5000);
    ASSERT_TRUE(whole);
    EXPECT_TRUE(std::equal(whole->begin(), whole->end(), data.begin()));
    s.setBigEndian(true);
    EXPECT_EQ(s.u16(1), uint16_t(data[1] << 8 | data[2]));
    s.setBigEndian(false);
    EXPECT_EQ(s.u16(1), uint16_t(data[2] << 8 | data[1]));
    // Bytes changed in place are fetched afresh by the next read.
    auto changed = s.readForChange(2000, 3);
    ASSERT_TRUE(changed);
    (*changed)[0] ^= 0xFF;
    EXPECT_EQ(s.u8(2000), data[2000]);
}

TEST(TiffReader, RawPageReadsTheSameInBothByteOrdersAndStripOffsetTypes) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 29, 11, 3);
    for (bool big : {false, true}) {
        for (uint16_t offsetType : {uint16_t(3), uint16_t(4)}) {
            TiffBuilder b(big);
            const auto rows = storedRows(page);
            const uint32_t data = b.addData(rows);
            Entries e = test::rawPageEntries(29, 11, data, uint32_t(rows.size()));
            setEntry(e, {273, offsetType, {data}});
            b.setFirstIfd(b.addIfd(e));
            Opened o;
            ASSERT_TRUE(o.open(b));
            EXPECT_EQ(o.reader.header().byteOrder, big ? 0x4D4D : 0x4949);
            ASSERT_EQ(o.reader.pageCount(), 1);
            ASSERT_TRUE(o.load(1));
            EXPECT_EQ(o.raster.coding, 0);
            EXPECT_EQ(o.raster.dpi, 200);
            EXPECT_EQ(o.raster.width, 29);
            EXPECT_EQ(o.raster.height, 11);
            EXPECT_EQ(test::firstDifferentRow(o.raster, page), -1) << big << offsetType;
            EXPECT_TRUE(o.messages.said.empty());
        }
    }
}

TEST(TiffReader, RawStripsAreJoinedAndAMissingByteCountMeansTheWholePage) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 16, 5, 9);
    const auto rows = test::imageBytes(page);  // 2 bytes per row
    TiffBuilder b;
    const uint32_t s2 = b.addData({rows.begin() + 4, rows.begin() + 8});
    const uint32_t s1 = b.addData({rows.begin(), rows.begin() + 4});
    const uint32_t s3 = b.addData({rows.begin() + 8, rows.end()});
    Entries e = test::rawPageEntries(16, 5, 0, 0);
    setEntry(e, {273, 3, {s1, s2, s3}});
    setEntry(e, {278, 3, {2}});
    setEntry(e, {279, 4, {4, 4, 2}});
    b.setFirstIfd(b.addIfd(e));
    Opened o;
    ASSERT_TRUE(o.open(b));
    ASSERT_TRUE(o.load(1));
    EXPECT_EQ(test::firstDifferentRow(o.raster, page), -1);

    TiffBuilder single = rawFile(page, false, [](Entries& e) { removeEntry(e, 279); });
    Opened o2;
    ASSERT_TRUE(o2.open(single));
    ASSERT_TRUE(o2.load(1));
    EXPECT_EQ(test::firstDifferentRow(o2.raster, page), -1);
}

TEST(TiffReader, ResolutionUnitDecidesTheDpi) {
    const PageRaster page = test::makePage(test::Pattern::Text, 40, 20);
    struct Case { uint32_t unit; uint32_t num, den; int dpi; };
    for (const Case c : {Case{3, 80, 1, 203}, Case{1, 80, 1, 300}, Case{2, 401, 2, 201}, Case{2, 7, 0, 0}}) {
        TiffBuilder b;
        const auto rows = storedRows(page);
        const uint32_t data = b.addData(rows);
        Entries e = test::rawPageEntries(40, 20, data, uint32_t(rows.size()));
        setEntry(e, {282, 5, {c.num, c.den}});
        setEntry(e, {283, 5, {c.num, c.den}});
        setEntry(e, {296, 3, {c.unit}});
        b.setFirstIfd(b.addIfd(e));
        Opened o;
        ASSERT_TRUE(o.open(b));
        ASSERT_TRUE(o.load(1));
        EXPECT_EQ(o.raster.dpi, c.dpi) << c.unit << " " << c.num << "/" << c.den;
    }
}

TEST(TiffReader, BlackIsZeroIsInvertedUnlessIgnoredAndFillOrderTwoIsReversed) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 21, 6, 5);
    const TiffBuilder b = rawFile(page, false, [](Entries& e) { setEntry(e, {262, 3, {1}}); });
    Opened o;
    ASSERT_TRUE(o.open(b));
    ASSERT_TRUE(o.load(1));
    PageRaster inverted = test::makePage(test::Pattern::Noise, 21, 6, 5);
    inverted.invert();
    EXPECT_EQ(test::firstDifferentRow(o.raster, inverted), -1);
    ASSERT_TRUE(o.load(1, true));
    EXPECT_EQ(test::firstDifferentRow(o.raster, page), -1);

    // FillOrder 2 stores the leftmost pixel in the lowest bit (TIFF 6.0, FillOrder).
    PageRaster reversed = test::makePage(test::Pattern::Noise, 24, 6, 5);
    const PageRaster expected = test::makePage(test::Pattern::Noise, 24, 6, 5);
    PageRaster::reverseBitOrder(reversed.bits(), reversed.imageSize);
    const TiffBuilder lsb = rawFile(reversed, false, [](Entries& e) { setEntry(e, {266, 3, {2}}); });
    Opened o2;
    ASSERT_TRUE(o2.open(lsb));
    ASSERT_TRUE(o2.load(1));
    EXPECT_EQ(test::firstDifferentRow(o2.raster, expected), -1);
}

TEST(TiffReader, StandardResolutionFaxPageShowsEveryRowTwice) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 64, 9, 2);
    struct Case { uint32_t x, y, unit; bool doubled; };
    for (const Case c : {Case{204, 98, 2, true}, Case{200, 100, 2, true}, Case{80, 39, 3, true},
                         Case{204, 196, 2, false}, Case{204, 0, 2, false}, Case{0, 98, 2, false},
                         Case{204, 120, 2, false}, Case{204, 80, 2, false}}) {
        TiffBuilder b;
        const auto rows = storedRows(page);
        const uint32_t data = b.addData(rows);
        Entries e = test::rawPageEntries(64, 9, data, uint32_t(rows.size()));
        setEntry(e, {282, 5, {c.x, 1}});
        setEntry(e, {283, 5, {c.y, 1}});
        setEntry(e, {296, 3, {c.unit}});
        b.setFirstIfd(b.addIfd(e));
        Opened o;
        ASSERT_TRUE(o.open(b));
        ASSERT_TRUE(o.load(1));
        SCOPED_TRACE(std::to_string(c.x) + " x " + std::to_string(c.y));
        ASSERT_EQ(o.raster.height, c.doubled ? 18 : 9);
        EXPECT_EQ(o.raster.lineDoubling, c.doubled ? 1u : 0u);
        EXPECT_EQ(o.raster.imageSize, uint32_t(c.doubled ? 24 : 16) * 8u);
        for (int r = 0; r < o.raster.height; ++r)
            EXPECT_TRUE(std::equal(o.raster.row(r), o.raster.row(r) + 8, page.row(c.doubled ? r / 2 : r))) << r;
    }
}

// Three pages in the file order 2, 1, 0 by PageNumber, a reduced-resolution
// image and a refused (8-bit) directory between them.
TEST(TiffReader, PagesFollowPageNumberAndSkipOtherDirectories) {
    TiffBuilder b;
    std::vector<PageRaster> pages;
    std::vector<uint32_t> ifds;
    for (uint32_t n : {2u, 1u, 0u}) {
        pages.push_back(test::makePage(test::Pattern::Noise, 8 + n, 3, n + 1));
        const auto rows = storedRows(pages.back());
        const uint32_t data = b.addData(rows);
        Entries e = test::rawPageEntries(8 + n, 3, data, uint32_t(rows.size()));
        setEntry(e, {297, 3, {n, 3}});
        ifds.push_back(b.addIfd(e));
    }
    Entries thumbnail = test::rawPageEntries(4, 2, 8, 2);
    setEntry(thumbnail, {254, 4, {1}});
    const uint32_t thumb = b.addIfd(thumbnail);
    Entries grey = test::rawPageEntries(4, 2, 8, 8);
    setEntry(grey, {258, 3, {8}});
    const uint32_t refused = b.addIfd(grey);
    Entries old = test::rawPageEntries(4, 2, 8, 2);
    setEntry(old, {255, 3, {2}});  // SubfileType 2: reduced resolution
    const uint32_t oldThumb = b.addIfd(old);
    b.setFirstIfd(ifds[0]);
    b.setNextIfd(ifds[0], thumb);
    b.setNextIfd(thumb, ifds[1]);
    b.setNextIfd(ifds[1], refused);
    b.setNextIfd(refused, oldThumb);
    b.setNextIfd(oldThumb, ifds[2]);
    Opened o;
    ASSERT_TRUE(o.open(b));
    ASSERT_EQ(o.reader.pageCount(), 3);
    for (int p = 1; p <= 3; ++p) {
        ASSERT_TRUE(o.load(p));
        EXPECT_EQ(o.raster.width, 8 + p - 1);
        EXPECT_EQ(test::firstDifferentRow(o.raster, pages[size_t(3 - p)]), -1);
    }
    EXPECT_FALSE(o.load(0));
    EXPECT_FALSE(o.load(4));
    EXPECT_TRUE(o.messages.said.empty());

    // A PageNumber gap leaves a page that is not there.
    TiffBuilder gap;
    const uint32_t data = gap.addData({0xAA});
    Entries first = test::rawPageEntries(8, 1, data, 1), third = first;
    setEntry(first, {297, 3, {0, 0}});
    setEntry(third, {297, 3, {2, 0}});
    const uint32_t a = gap.addIfd(first), c = gap.addIfd(third);
    gap.setFirstIfd(a);
    gap.setNextIfd(a, c);
    Opened g;
    ASSERT_TRUE(g.open(gap));
    ASSERT_EQ(g.reader.pageCount(), 3);
    EXPECT_FALSE(g.load(2));
    EXPECT_EQ(g.messages.said, std::vector<std::string>{kNoSuchPage});
    EXPECT_TRUE(g.load(3));
    // Asked without a messages object, the reader says what failed as a value.
    PageRaster raster;
    EXPECT_EQ(g.reader.loadPage(2, raster, {}), ReadError::NoSuchPage);
    EXPECT_EQ(g.reader.loadPage(4, raster, {}), ReadError::NoSuchPage);
    EXPECT_EQ(g.reader.loadPage(3, raster, {}), ReadError::None);
    EXPECT_EQ(g.messages.said.size(), 1u);
    TiffReader missing;
    EXPECT_EQ(missing.open("/nonexistent/x.tif"), ReadError::CannotOpen);
    EXPECT_EQ(readErrorText(ReadError::TooLarge, "/d/a.tif"), "/d/a.tif\nデータサイズが制限値を超えています");
}

TEST(TiffReader, LoopingChainsEndAndThePageLimitHolds) {
    TiffBuilder b;
    const uint32_t data = b.addData({0xF0});
    const uint32_t page = b.addIfd(test::rawPageEntries(8, 1, data, 1));
    Entries thumbnail = test::rawPageEntries(8, 1, data, 1);
    setEntry(thumbnail, {254, 4, {1}});
    const uint32_t thumb = b.addIfd(thumbnail);
    b.setFirstIfd(page);
    b.setNextIfd(page, thumb);
    b.setNextIfd(thumb, page);  // back to the start
    Opened o;
    ASSERT_TRUE(o.open(b));
    EXPECT_EQ(o.reader.pageCount(), 1);

    // A PageNumber of 10000 or more is past the last page the table holds.
    TiffBuilder big;
    const uint32_t d = big.addData({0xF0});
    Entries e1 = test::rawPageEntries(8, 1, d, 1), e2 = e1;
    setEntry(e1, {297, 3, {9999, 0}});
    setEntry(e2, {297, 3, {10000, 0}});
    const uint32_t p1 = big.addIfd(e1), p2 = big.addIfd(e2);
    big.setFirstIfd(p1);
    big.setNextIfd(p1, p2);
    Opened o2;
    ASSERT_TRUE(o2.open(big));
    EXPECT_EQ(o2.reader.pageCount(), 10000);
    EXPECT_EQ(o2.reader.pageOffset(10000), p1);
    EXPECT_EQ(o2.reader.pageOffset(1), 0u);
}

TEST(TiffReader, RefusesWhatItCannotShowWithItsMessage) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 16, 4);
    // Bad header.
    TiffBuilder bad = rawFile(page);
    bad.bytes[0] = 'X';
    Opened o;
    EXPECT_FALSE(o.open(bad));
    EXPECT_EQ(o.messages.said, std::vector<std::string>{"Failed to load file"});
    TiffBuilder badMagic = rawFile(page);
    badMagic.put16(2, 43);
    EXPECT_FALSE(o.open(badMagic));
    EXPECT_FALSE(o.reader.open("/nonexistent/x.tif", o.messages));
    EXPECT_EQ(o.messages.said.size(), 3u);

    // Directories that are not one-bit pages are no pages at all.
    void (*refusals[])(Entries&) = {
        [](Entries& e) { setEntry(e, {256, 4, {0}}); },
        [](Entries& e) { setEntry(e, {257, 4, {0}}); },
        [](Entries& e) { setEntry(e, {258, 3, {8}}); },
        [](Entries& e) { setEntry(e, {277, 3, {3}}); },
        [](Entries& e) { setEntry(e, {259, 3, {5}}); },
        [](Entries& e) { setEntry(e, {262, 3, {2}}); },
        [](Entries& e) { setEntry(e, {274, 3, {3}}); },
        [](Entries& e) { setEntry(e, {259, 3, {3}}); setEntry(e, {292, 4, {2}}); },
        [](Entries& e) { setEntry(e, {259, 3, {4}}); setEntry(e, {293, 4, {2}}); },
        [](Entries& e) { setEntry(e, {259, 3, {4}}); removeEntry(e, 279); },
        // Byte counts of a type without integer values, announced by the billion.
        [](Entries& e) { setEntry(e, {259, 3, {4}}); setEntry(e, {279, 11, {7}, 0xFFFFFFFF}); },
    };
    for (auto edit : refusals) {
        Opened r;
        ASSERT_TRUE(r.open(rawFile(page, false, edit)));
        EXPECT_EQ(r.reader.pageCount(), 0);
    }

    // Too large: the size message names the file; the raster becomes the blank page.
    Opened large;
    ASSERT_TRUE(large.open(rawFile(page, false, [](Entries& e) { setEntry(e, {256, 4, {20000}}); })));
    ASSERT_EQ(large.reader.pageCount(), 1);
    EXPECT_FALSE(large.load(1));
    EXPECT_EQ(large.messages.said, std::vector<std::string>{"/docs/page.tif\nデータサイズが制限値を超えています"});
    EXPECT_EQ(large.raster.width, 2360);
    EXPECT_EQ(large.raster.height, 3384);
    Opened huge;
    ASSERT_TRUE(huge.open(rawFile(page, false, [](Entries& e) { setEntry(e, {257, 4, {0xFFFFFFFF}}); })));
    EXPECT_FALSE(huge.load(1));
    EXPECT_EQ(huge.raster.width, 2360);
}

TEST(TiffReader, DirectoryChangedAfterOpeningIsUnsupported) {
    const std::string path = test::tempFolder() + "/changed.tif";
    const PageRaster page = test::makePage(test::Pattern::Noise, 16, 4);
    TiffBuilder b;
    b.padTo(600);  // the directory beyond the head the reader keeps
    const auto rows = storedRows(page);
    const uint32_t data = b.addData(rows);
    const uint32_t ifd = b.addIfd(test::rawPageEntries(16, 4, data, uint32_t(rows.size())));
    b.padTo(b.size() + 5000);  // a second directory far away, so that the first is read afresh
    Entries thumbnail = test::rawPageEntries(16, 4, data, uint32_t(rows.size()));
    setEntry(thumbnail, {254, 4, {1}});
    b.setFirstIfd(ifd);
    b.setNextIfd(ifd, b.addIfd(thumbnail));
    ASSERT_TRUE(b.save(path));
    RecordingMessages m;
    TiffReader reader;
    ASSERT_TRUE(reader.open(path, m));
    ASSERT_EQ(reader.pageCount(), 1);
    b.put16(ifd + 2 + 12 * 2 + 8, 8);  // BitsPerSample 8
    ASSERT_TRUE(b.save(path));
    PageRaster raster;
    EXPECT_FALSE(reader.loadPage(1, raster, {}, m));
    EXPECT_EQ(m.said, std::vector<std::string>{kUnsupported});
    EXPECT_EQ(raster.width, 2360);
    EXPECT_EQ(raster.dpi, 300);
    EXPECT_EQ(TiffReader::countPages(path), 0);
}

TEST(TiffReader, StripsOutsideTheFileAreReadErrors) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 16, 4);
    void (*faults[])(Entries&) = {
        // The one strip starts at the end of the file or past it.
        [](Entries& e) { setEntry(e, {273, 4, {100000}}); },
        // Offset and count arrays announce more strips than the file holds.
        [](Entries& e) {
            setEntry(e, {257, 4, {1000}});
            setEntry(e, {273, 4, {8, 8}, 100000});
            setEntry(e, {278, 4, {1}});
        },
        // Fewer byte counts than strips.
        [](Entries& e) {
            setEntry(e, {273, 4, {8, 10, 12, 14}});
            setEntry(e, {279, 4, {2, 2}});
            setEntry(e, {278, 4, {1}});
        },
        // A later strip past the end of the file.
        [](Entries& e) {
            setEntry(e, {273, 4, {8, 99999}});
            setEntry(e, {279, 4, {4, 4}});
            setEntry(e, {278, 4, {2}});
        },
        // No strips at all.
        [](Entries& e) { removeEntry(e, 273); },
    };
    for (auto fault : faults) {
        Opened o;
        ASSERT_TRUE(o.open(rawFile(page, false, fault)));
        ASSERT_EQ(o.reader.pageCount(), 1);
        EXPECT_FALSE(o.load(1));
        EXPECT_EQ(o.messages.said, std::vector<std::string>{kReadError});
    }
    // A strip longer than the file is read up to the end of the file.
    Opened shortened;
    ASSERT_TRUE(shortened.open(rawFile(page, false, [](Entries& e) { setEntry(e, {279, 4, {1000000}}); })));
    ASSERT_TRUE(shortened.load(1));
    EXPECT_EQ(test::firstDifferentRow(shortened.raster, page), -1);
}

// Every prefix of a two-page file, and a directory whose entry count runs off
// the file: the reader answers with its messages and never reads outside.
TEST(TiffReader, TruncatedFilesNeverCrash) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 23, 7);
    TiffBuilder b;
    const auto rows = storedRows(page);
    const uint32_t data = b.addData(rows);
    const uint32_t one = b.addIfd(test::rawPageEntries(23, 7, data, uint32_t(rows.size())));
    const uint32_t two = b.addIfd(test::rawPageEntries(23, 7, data, uint32_t(rows.size())));
    b.setFirstIfd(one);
    b.setNextIfd(one, two);
    for (size_t n = 0; n <= b.bytes.size(); ++n) {
        TiffBuilder cut = b;
        cut.bytes.resize(n);
        Opened o;
        if (!o.open(cut)) continue;
        for (int p = 1; p <= o.reader.pageCount(); ++p)
            if (o.load(p)) {
                EXPECT_EQ(o.raster.height, 7);
            }
    }
    TiffBuilder runaway = b;
    runaway.put16(two, 5000);
    Opened o;
    ASSERT_TRUE(o.open(runaway));
    EXPECT_EQ(o.reader.pageCount(), 2);
    EXPECT_TRUE(o.load(2));
}

TEST(TiffReader, CountsPagesOfFilesByName) {
    const std::string folder = test::tempFolder();
    TiffBuilder b;
    const uint32_t data = b.addData({0x0F});
    const uint32_t a = b.addIfd(test::rawPageEntries(8, 1, data, 1));
    const uint32_t c = b.addIfd(test::rawPageEntries(8, 1, data, 1));
    b.setFirstIfd(a);
    b.setNextIfd(a, c);
    ASSERT_TRUE(b.save(folder + "/two.tif"));
    EXPECT_EQ(TiffReader::countPages(folder + "/two.tif"), 2);
    EXPECT_EQ(TiffReader::countPages(folder + "/missing.tif"), 0);
    std::ofstream(folder + "/text.tif") << "not a TIFF file";
    EXPECT_EQ(TiffReader::countPages(folder + "/text.tif"), 0);
}

}  // namespace
}  // namespace lumipage
