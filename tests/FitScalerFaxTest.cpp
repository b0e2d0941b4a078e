#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image/BitTables.h"
#include "image/FitScaler.h"
#include "image/PageRaster.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

// Stands in for the T.4 row coder: a marker, the row's bytes as they are, and
// a byte-aligned EOL, so that the sent rows can be read back.
class TransparentCoder : public FaxRowCoder {
public:
    size_t codeRow(std::span<const uint8_t> row, std::span<uint8_t> out) override {
        if (failAt == calls++) return 0;
        if (row.size() + 3 > out.size()) return 0;
        out[0] = 0x5A;
        std::memcpy(out.data() + 1, row.data(), row.size());
        out[row.size() + 1] = 0x00;
        out[row.size() + 2] = 0x01;
        return row.size() + 3;
    }
    int calls = 0;
    int failAt = -1;
};

class RecordingSink : public FaxRowSink, public FaxRowProgress {
public:
    bool sendRow(std::span<const uint8_t> coded, bool lastRow) override {
        rows.emplace_back(coded.begin(), coded.end());
        lastFlags.push_back(lastRow);
        events.push_back('r');
        return int(rows.size()) != failRow;
    }
    bool drain() override {
        events.push_back('d');
        return ++drains != failDrain;
    }
    bool endPage() override {
        events.push_back('e');
        return endResult;
    }
    void showRow(int32_t rowNumber) override { shown.push_back(rowNumber); }

    // The rows as the coder saw them: bit order restored, marker and EOL removed.
    PageRaster page() const {
        PageRaster p;
        p.create(1728, int(rows.size()), 200);
        for (size_t y = 0; y < rows.size(); ++y) {
            std::vector<uint8_t> r = rows[y];
            PageRaster::reverseBitOrder(r.data(), r.size());
            EXPECT_EQ(r.size(), 216u + 3u);
            EXPECT_EQ(r[0], 0x5A);
            EXPECT_EQ(r[217], 0x00);
            EXPECT_EQ(r[218], 0x01);
            std::memcpy(p.row(int(y)), r.data() + 1, 216);
        }
        return p;
    }

    std::vector<std::vector<uint8_t>> rows;
    std::vector<bool> lastFlags;
    std::vector<int32_t> shown;
    std::string events;
    int drains = 0;
    int failRow = -1;
    int failDrain = -1;
    bool endResult = true;
};

void expectWholePageSent(const RecordingSink& sink) {
    ASSERT_EQ(sink.rows.size(), 2290u);
    for (size_t y = 0; y < 2290; ++y) ASSERT_EQ(sink.lastFlags[y], y == 2289) << y;
    ASSERT_EQ(sink.shown.size(), 2290u);
    for (size_t y = 0; y < 2290; ++y) ASSERT_EQ(sink.shown[y], int32_t(y + 1));
    // A drain between rows, the end of the page after the last.
    std::string expected;
    for (int y = 0; y < 2289; ++y) expected += "rd";
    expected += "re";
    EXPECT_EQ(sink.events, expected);
}

TEST(FitScalerFax, SendsEveryRowOfTheFittedPage) {
    const PageRaster page = makePage(Pattern::Text, 2480, 3508, 21);
    FitScaler scaler;
    RecordingSink sink;
    TransparentCoder coder;
    ASSERT_TRUE(scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink, coder));
    expectWholePageSent(sink);
    PageRaster fitted;
    fitted.setSize(1728, 2290);
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, fitted, std::nullopt, false));
    EXPECT_EQ(test::firstDifferentRow(sink.page(), fitted), -1);
    // The white margins above and below the page are sent too.
    EXPECT_EQ(sink.rows.front(), sink.rows.back());
}

// The rows as sent, one stream, least significant bit first.
std::vector<uint8_t> stream(const RecordingSink& sink) {
    std::vector<uint8_t> all;
    for (const auto& r : sink.rows) all.insert(all.end(), r.begin(), r.end());
    return all;
}

TEST(FitScalerFax, RowsAreT4CodedEachEndingInAByteAlignedEol) {
    const PageRaster page = makePage(Pattern::Text, 2480, 3508, 24);
    FitScaler scaler;
    RecordingSink sink;
    ASSERT_TRUE(scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink));
    expectWholePageSent(sink);
    for (const auto& r : sink.rows) {
        ASSERT_GE(r.size(), 4u);
        // 0000000000000001 sent least significant bit first.
        ASSERT_EQ(r[r.size() - 2], 0x00);
        ASSERT_EQ(r[r.size() - 1], 0x80);
    }
    // A T.4 page opens with an EOL: the first row carries one before its runs.
    ASSERT_EQ(sink.rows.front()[0], 0x00);
    ASSERT_EQ(sink.rows.front()[1], 0x80);
    PageRaster fitted;
    fitted.setSize(1728, 2290);
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, fitted, std::nullopt, false));

    // netpbm reads the rows as they were sent as the whole fax page: no row lost or shifted.
    const std::vector<uint8_t> coded = stream(sink);
    const std::string folder = test::tempFolder();
    {
        FILE* f = std::fopen((folder + "/page.g3").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(coded.data(), 1, coded.size(), f);
        std::fclose(f);
    }
    ASSERT_EQ(test::runCommand("g3topbm -reversebits " + folder + "/page.g3 > " + folder + "/page.pbm 2>/dev/null"), 0);
    PageRaster read;
    ASSERT_TRUE(test::readPbm(folder + "/page.pbm", read));
    ASSERT_EQ(read.height, 2290);
    EXPECT_EQ(test::firstDifferentRow(read, fitted), -1);
}

TEST(FitScalerFax, LandscapePageIsTurned) {
    const PageRaster page = makePage(Pattern::ThinLines, 1000, 700, 22);
    FitScaler scaler;
    RecordingSink sink;
    TransparentCoder coder;
    ASSERT_TRUE(scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink, coder));
    expectWholePageSent(sink);
    PageRaster fitted;
    fitted.setSize(1728, 2290);
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, fitted, std::nullopt, true));
    EXPECT_EQ(test::firstDifferentRow(sink.page(), fitted), -1);
}

TEST(FitScalerFax, StopsAtTheFirstFailure) {
    const PageRaster page = makePage(Pattern::Text, 1728, 2290, 23);
    FitScaler scaler;
    {
        RecordingSink sink;
        sink.failRow = 101;
        TransparentCoder coder;
        EXPECT_FALSE(scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink, coder));
        EXPECT_EQ(sink.rows.size(), 101u);
        EXPECT_EQ(sink.events.back(), 'r');
        EXPECT_EQ(sink.events.find('e'), std::string::npos);
    }
    {
        RecordingSink sink;
        sink.failDrain = 6;
        TransparentCoder coder;
        EXPECT_FALSE(scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink, coder));
        EXPECT_EQ(sink.events, "rdrdrdrdrdrd");
    }
    {
        RecordingSink sink;
        TransparentCoder coder;
        coder.failAt = 3;
        EXPECT_FALSE(scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink, coder));
        EXPECT_EQ(sink.rows.size(), 3u);
    }
    {
        RecordingSink sink;
        sink.endResult = false;
        TransparentCoder coder;
        EXPECT_FALSE(scaler.fitIntoFaxPage(page, std::nullopt, std::nullopt, sink, sink, coder));
        EXPECT_EQ(sink.rows.size(), 2290u);
    }
    {
        // Too tall for a quarter of the fax page: nothing is sent.
        const PageRaster tall = makePage(Pattern::White, 100, 9200, 1);
        RecordingSink sink;
        TransparentCoder coder;
        EXPECT_FALSE(scaler.fitIntoFaxPage(tall, std::nullopt, std::nullopt, sink, sink, coder));
        EXPECT_TRUE(sink.events.empty());
    }
}

}  // namespace
}  // namespace lumipage
