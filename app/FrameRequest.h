#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace lumipage {

// A request from another running copy of the program, checked and taken
// apart. The code's low 16 bits choose the request; for codes below 256
// bits 4-7 may carry a size mode, the low 4 bits the action and the high
// 16 bits a page number, and the data is a NUL-terminated path.
struct FrameRequest {
    enum class Kind {
        CloseAll = 0, ClosePath = 1, ReplaceByPath = 2, OpenPath = 3, GoToPage = 4, ApplySizeMode = 15,
        Colours = 256, AutoScroll = 257, CatchScroll = 258, ViewFlags = 261, PrintAll = 272,
        Refused,     // malformed: nothing happens and the answer is 0
        NotHandled,  // an unknown code: the answer is 0
    };
    static constexpr size_t kMaxPathBytes = 4096;  // PATH_MAX, NUL included
    static constexpr size_t kColourBytes = 32;

    Kind kind = Kind::NotHandled;
    int sizeMode = 0;  // 1 whole page, 2 standard, 3 double; 0 none given
    int page = 0;
    std::string path;  // as sent; empty when no data came
    std::array<int32_t, 8> values{};  // the integers of codes 256 and above

    static FrameRequest decode(uint32_t code, std::span<const uint8_t> data);
};

}  // namespace lumipage
