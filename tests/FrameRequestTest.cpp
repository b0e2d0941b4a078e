// Requests from other running copies: checking their data before anything
// is done with it.
#include <gtest/gtest.h>

#include "app/FrameRequest.h"

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

TEST(FrameRequest, MalformedDataIsRefused) {
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
}

}  // namespace
}  // namespace lumipage
