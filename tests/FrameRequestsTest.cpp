// Requests from other running copies: checking their data, and what each
// does to the page list and the view.
#include <gtest/gtest.h>


#include "app/CommandIds.h"
#include "app/FrameRequests.h"
#include "support/ViewerFixture.h"

namespace lumipage {
namespace {

std::vector<uint8_t> pathData(const std::string& path) {
    std::vector<uint8_t> data(path.begin(), path.end());
    data.push_back(0);
    return data;
}

std::vector<uint8_t> ints(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> data;
    for (const int32_t v : values)
        for (int shift = 0; shift < 32; shift += 8) data.push_back(uint8_t(uint32_t(v) >> shift));
    return data;
}

uint32_t withPage(uint32_t code, int page) { return code | uint32_t(page) << 16; }

struct Requests : test::ViewerFixture, ::testing::Test {
    std::vector<int> posted;
    bool colourDialog = false;
    int windowChanges = 0;
    FrameRequests requests{doc, table, navigator, view, settings,
                           FrameRequests::Window{[this] { return colourDialog; },
                                                 [this](int id) { posted.push_back(id); },
                                                 [this] { ++windowChanges; }}};
};

TEST_F(Requests, MalformedDataIsRefused) {
    using Kind = FrameRequest::Kind;
    const std::vector<uint8_t> noNul{'a', 'b'};
    EXPECT_EQ(FrameRequest::decode(3, noNul).kind, Kind::Refused);
    const std::vector<uint8_t> longest = pathData(std::string(FrameRequest::kMaxPathBytes - 1, 'x'));
    EXPECT_EQ(FrameRequest::decode(3, longest).kind, Kind::OpenPath);
    const std::vector<uint8_t> tooLong = pathData(std::string(FrameRequest::kMaxPathBytes, 'x'));
    EXPECT_EQ(FrameRequest::decode(3, tooLong).kind, Kind::Refused);
    EXPECT_EQ(FrameRequest::decode(256, ints({1, 2, 3, 4, 5, 6, 7})).kind, Kind::Refused);
    EXPECT_EQ(FrameRequest::decode(257, ints({1, 2})).kind, Kind::Refused);
    EXPECT_EQ(FrameRequest::decode(261, {}).kind, Kind::Refused);
    EXPECT_EQ(FrameRequest::decode(7, {}).kind, Kind::NotHandled);
    EXPECT_EQ(FrameRequest::decode(300, {}).kind, Kind::NotHandled);

    const FrameRequest open = FrameRequest::decode(withPage(0x23, 7), pathData("a.MH"));
    EXPECT_EQ(open.kind, Kind::OpenPath);
    EXPECT_EQ(open.sizeMode, 2);
    EXPECT_EQ(open.page, 7);
    EXPECT_EQ(open.path, "a.MH");

    openNine();
    settings.autoScroll = 1;
    EXPECT_EQ(requests.handle(3, noNul), 0);
    EXPECT_EQ(requests.handle(257, ints({0, 0})), 0);
    EXPECT_EQ(requests.handle(0x13, tooLong), 0);
    EXPECT_EQ(settings.autoScroll, 1);
    EXPECT_EQ(view.fitMode(), CLP98View::kFitPageWidth) << "a refused request changes nothing";
    EXPECT_EQ(table.fileCount(), 3);
}

TEST_F(Requests, GoingBeyondTheLastPageShowsItButAnswersNo) {
    openNine();
    EXPECT_EQ(requests.handle(withPage(4, 5), {}), 1);
    EXPECT_EQ(navigator.currentPage(), 5);
    EXPECT_EQ(requests.handle(withPage(4, 12), {}), 0);
    EXPECT_EQ(navigator.currentPage(), 9);
    EXPECT_TRUE(view.pageShown());
}

TEST_F(Requests, OpeningAndClosingByPath) {
    openNine();
    const std::string extra = writeMH("extra.MH", {&small, &small}, 0);
    EXPECT_EQ(requests.handle(withPage(0x13, 2), pathData(extra)), 1);
    EXPECT_EQ(table.fileCount(), 4);
    EXPECT_EQ(navigator.currentPage(), 11);
    EXPECT_EQ(view.fitMode(), CLP98View::kFitWholePage);
    EXPECT_EQ(requests.handle(1, pathData(three)), 1);
    EXPECT_EQ(table.fileCount(), 3);
    EXPECT_EQ(requests.handle(1, pathData(three)), 0) << "nothing left to close";
    EXPECT_EQ(requests.handle(3, pathData(dir + "/missing.MH")), 0);

    EXPECT_EQ(requests.handle(2, pathData(one)), 1);
    EXPECT_EQ(table.fileCount(), 1) << "the others were closed first";
    EXPECT_EQ(doc.path(), one);
    EXPECT_EQ(requests.handle(0, {}), 1);
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(view.pageShown());
}

TEST_F(Requests, SettingsTakenFromAnotherCopy) {
    openNine();
    EXPECT_EQ(requests.handle(257, ints({0})), 1);
    EXPECT_EQ(settings.autoScroll, 0);
    EXPECT_EQ(requests.handle(258, ints({1})), 1);
    EXPECT_EQ(settings.catchScroll, 1);
    EXPECT_EQ(requests.handle(261, ints({2})), 1);
    EXPECT_EQ(settings.viewCenter, 0);
    EXPECT_EQ(settings.viewFrameShadow, 1);
    EXPECT_FALSE(view.centring());

    const auto colours = ints({0x00FFEEDD, 0, 90, 200, 0x00112233, 0, 1, 0});
    colourDialog = true;
    EXPECT_EQ(requests.handle(256, colours), 0);
    EXPECT_EQ(settings.contrast, 100);
    colourDialog = false;
    EXPECT_EQ(requests.handle(256, colours), 1);
    EXPECT_EQ(settings.paperColor, 0x00FFEEDD);
    EXPECT_EQ(settings.bright, 90);
    EXPECT_EQ(settings.contrast, 200);
    EXPECT_EQ(settings.inkColor, 0x00112233);
    EXPECT_EQ(settings.adjustGamma, 1);
    EXPECT_EQ(settings.fastUpdate, 0);

    EXPECT_EQ(requests.handle(0x1F, {}), 1);
    EXPECT_EQ(requests.handle(272, {}), 1);
    EXPECT_EQ(posted, (std::vector<int>{command::kFitWholePage, command::kPrintAll}));
    requests.handle(0, {});
    EXPECT_EQ(requests.handle(272, {}), 1);
    EXPECT_EQ(posted.size(), 2u) << "no print job without pages";
}

}  // namespace
}  // namespace lumipage
