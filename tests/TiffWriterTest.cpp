#include <gtest/gtest.h>

#include <vector>

#include "image/PageEncoder.h"
#include "image/TiffWriter.h"
#include "platform/File.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

uint32_t le16(const std::vector<uint8_t>& b, size_t at) { return uint32_t(b.at(at) | b.at(at + 1) << 8); }
uint32_t le32(const std::vector<uint8_t>& b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

struct Entry {
    uint32_t tag, type, value;
};

// Checks the IFD at `at`: entry count, then each entry (count always 1).
void expectIfd(const std::vector<uint8_t>& file, size_t at, const std::vector<Entry>& entries) {
    ASSERT_EQ(le16(file, at), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t e = at + 2 + 12 * i;
        EXPECT_EQ(le16(file, e), entries[i].tag) << i;
        EXPECT_EQ(le16(file, e + 2), entries[i].type) << entries[i].tag;
        EXPECT_EQ(le32(file, e + 4), 1u) << entries[i].tag;
        EXPECT_EQ(le32(file, e + 8), entries[i].value) << entries[i].tag;
    }
}

std::vector<uint8_t> coded(const PageRaster& page, int32_t coding) {
    const PageToEncode view = PageToEncode::of(page).withCoding(coding);
    std::vector<uint8_t> out(PageEncoder::bufferSize(view));
    PageEncoder encoder;
    out.resize(encoder.encodePage(out, view));
    return out;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(File::readAll(path, bytes));
    return bytes;
}

TEST(TiffWriter, SinglePageHeaderIsFixed) {
    const PageRaster page = makePage(Pattern::Text, 1728, 2290);
    const std::string path = test::tempFolder() + "/page.tif";
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    TiffWriter writer;
    ASSERT_TRUE(writer.writeSinglePage(file, page, 14));
    file.close();

    const std::vector<uint8_t> bytes = readFile(path);
    const std::vector<uint8_t> data = coded(page, 14);
    ASSERT_EQ(bytes.size(), 186 + data.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8), (std::vector<uint8_t>{'I', 'I', 42, 0, 8, 0, 0, 0}));
    expectIfd(bytes, 8,
              {{256, 3, 1728}, {257, 3, 2290}, {258, 3, 1}, {259, 3, 4}, {262, 3, 0}, {273, 4, 186},
               {278, 4, 2290}, {279, 4, uint32_t(data.size())}, {282, 5, 158}, {283, 5, 166}, {293, 4, 0},
               {296, 3, 2}});
    EXPECT_EQ(le32(bytes, 154), 0u);
    EXPECT_EQ(le32(bytes, 158), 200u);
    EXPECT_EQ(le32(bytes, 162), 1u);
    EXPECT_EQ(le32(bytes, 166), 200u);
    EXPECT_EQ(le32(bytes, 170), 1u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 186, bytes.end()), data);
}

TEST(TiffWriter, CodingSettingChoosesCompression) {
    PageRaster page = makePage(Pattern::ThinLines, 100, 40);
    page.dpi = 0;
    const std::string folder = test::tempFolder();
    // setting -> Compression, T4Options
    const std::vector<std::array<int, 3>> cases{{10, 1, 0}, {11, 2, 0}, {12, 3, 0}, {13, 3, 1},
                                                {14, 4, 0}, {9, 4, 0},  {0, 4, 0},  {15, 4, 0}};
    for (const auto& [setting, compression, t4Options] : cases) {
        const std::string path = folder + "/" + std::to_string(setting) + ".tif";
        File file;
        ASSERT_TRUE(file.open(path, File::Mode::Create));
        TiffWriter writer;
        ASSERT_TRUE(writer.writeSinglePage(file, page, setting));
        file.close();
        const std::vector<uint8_t> bytes = readFile(path);
        EXPECT_EQ(le16(bytes, 10 + 12 * 3 + 8), uint32_t(compression)) << setting;
        // G3 carries T4Options, G4 T6Options, the others no options tag.
        const bool options = compression >= 3;
        const uint32_t optionsTag = compression == 3 ? 292 : compression == 4 ? 293 : 296;
        EXPECT_EQ(le16(bytes, 10 + 12 * 10), optionsTag) << setting;
        if (options) {
            EXPECT_EQ(le32(bytes, 10 + 12 * 10 + 8), uint32_t(t4Options)) << setting;
        }
        const size_t entries = options ? 12 : 11;
        EXPECT_EQ(le16(bytes, 8), entries) << setting;
        EXPECT_EQ(le16(bytes, 10 + 12 * (entries - 1) + 8), 1u) << "dpi 0 has no resolution unit";
        EXPECT_EQ(le32(bytes, 8 + 2 + 12 * entries + 4), 0u);
        EXPECT_EQ(le32(bytes, 8 + 2 + 12 * entries + 8), 1u);
        const std::vector<uint8_t> data = setting == 10 ? test::imageBytes(page) : coded(page, TiffWriter::codingForSetting(setting));
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 186, bytes.end()), data) << setting;
    }
    EXPECT_EQ(page.coding, PageRaster().coding);  // the page itself is left as it was
}

TEST(TiffWriter, MultiPageBlocksChainThroughTheFile) {
    const std::vector<PageRaster> pages = [] {
        std::vector<PageRaster> v;
        v.push_back(makePage(Pattern::Text, 1728, 500, 1));
        v.push_back(makePage(Pattern::ThinLines, 1729, 300, 2));
        v.push_back(makePage(Pattern::Black, 64, 10, 3));
        return v;
    }();
    const std::string path = test::tempFolder() + "/pages.tif";
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    TiffWriter writer;
    ASSERT_TRUE(writer.beginMultiPage(file, 3));
    for (const PageRaster& p : pages) ASSERT_TRUE(writer.appendPage(file, p, 14));
    EXPECT_FALSE(writer.appendPage(file, pages[0], 14));  // beyond the planned count
    EXPECT_EQ(writer.pagesWritten(), 3);
    file.close();

    const std::vector<uint8_t> bytes = readFile(path);
    EXPECT_EQ(le32(bytes, 4), 8u);
    uint32_t block = 8;
    for (size_t i = 0; i < pages.size(); ++i) {
        const std::vector<uint8_t> data = coded(pages[i], 14);
        const uint32_t next = i + 1 < pages.size() ? block + 190 + uint32_t(data.size()) : 0;
        expectIfd(bytes, block,
                  {{254, 4, 2}, {256, 3, uint32_t(pages[i].width)}, {257, 3, uint32_t(pages[i].height)}, {258, 3, 1},
                   {259, 3, 4}, {262, 3, 0}, {273, 4, block + 190}, {278, 4, uint32_t(pages[i].height)},
                   {279, 4, uint32_t(data.size())}, {282, 5, block + 162}, {283, 5, block + 170}, {293, 4, 0},
                   {296, 3, 2}});
        EXPECT_EQ(le32(bytes, block + 158), next);
        EXPECT_EQ(le32(bytes, block + 162), 200u);
        EXPECT_EQ(le32(bytes, block + 170), 200u);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + block + 190, bytes.begin() + block + 190 + data.size()), data);
        block += 190 + uint32_t(data.size());
    }
    EXPECT_EQ(bytes.size(), block);
}

TEST(TiffWriter, OnePlannedPageIsAPlainImage) {
    const PageRaster page = makePage(Pattern::Text, 200, 100);
    const std::string path = test::tempFolder() + "/one.tif";
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    TiffWriter writer;
    ASSERT_TRUE(writer.beginMultiPage(file, 1));
    ASSERT_TRUE(writer.appendPage(file, page, 12));
    file.close();
    const std::vector<uint8_t> bytes = readFile(path);
    EXPECT_EQ(le16(bytes, 8 + 2), 254u);
    EXPECT_EQ(le32(bytes, 8 + 2 + 8), 0u);
    EXPECT_EQ(le32(bytes, 8 + 158), 0u);
}

TEST(TiffWriter, AFailedPageIsNotCountedAndTheNextTakesItsPlace) {
    const std::string path = test::tempFolder() + "/gap.tif";
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    TiffWriter writer;
    ASSERT_TRUE(writer.beginMultiPage(file, 2));
    PageRaster noPixels;
    noPixels.setSize(100, 100);
    EXPECT_FALSE(writer.appendPage(file, noPixels, 14));
    EXPECT_EQ(writer.pagesWritten(), 0);
    const PageRaster page = makePage(Pattern::Text, 100, 100);
    ASSERT_TRUE(writer.appendPage(file, page, 10));
    ASSERT_TRUE(writer.appendPage(file, page, 10));
    file.close();
    const std::vector<uint8_t> bytes = readFile(path);
    const uint32_t second = 8 + 190 + page.bytesPerRow * 100;
    EXPECT_EQ(le32(bytes, 8 + 146), second);
    EXPECT_EQ(le32(bytes, second + 146), 0u);
    EXPECT_EQ(bytes.size(), second + 190 + page.bytesPerRow * 100);
}

TEST(TiffWriter, StopsAtTenThousandPages) {
    PageRaster dot = makePage(Pattern::Black, 1, 1);
    const std::string path = test::tempFolder() + "/many.tif";
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    TiffWriter writer;
    ASSERT_TRUE(writer.beginMultiPage(file, 10001));
    for (int i = 0; i < TiffWriter::kMaxPages; ++i) ASSERT_TRUE(writer.appendPage(file, dot, 10)) << i;
    EXPECT_FALSE(writer.appendPage(file, dot, 10));
    EXPECT_EQ(writer.pagesWritten(), 10000);
}

TEST(TiffWriter, WriteErrorsFail) {
    const PageRaster page = makePage(Pattern::Text, 300, 100);
    TiffWriter writer;
    File closed;
    EXPECT_FALSE(writer.writeSinglePage(closed, page, 14));
    EXPECT_FALSE(writer.beginMultiPage(closed, 2));

    const std::string path = test::tempFolder() + "/readonly.tif";
    File create;
    ASSERT_TRUE(create.open(path, File::Mode::Create));
    create.close();
    File readOnly;
    ASSERT_TRUE(readOnly.open(path, File::Mode::Read));
    EXPECT_FALSE(writer.writeSinglePage(readOnly, page, 12));

    File full;
    if (full.open("/dev/full", File::Mode::ReadWrite)) {
        EXPECT_FALSE(writer.writeSinglePage(full, page, 14));
        EXPECT_FALSE(writer.beginMultiPage(full, 2));
        EXPECT_FALSE(writer.appendPage(full, page, 14));
        EXPECT_EQ(writer.pagesWritten(), 0);
    }

    // A page without pixels or of zero size is refused before anything is written.
    File file;
    ASSERT_TRUE(file.open(test::tempFolder() + "/empty.tif", File::Mode::Create));
    PageRaster empty;
    EXPECT_FALSE(writer.writeSinglePage(file, empty, 14));
    EXPECT_EQ(file.size(), 0);
    EXPECT_FALSE(writer.beginMultiPage(file, 0));
}

}  // namespace
}  // namespace lumipage
