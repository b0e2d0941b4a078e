#include "app/FrameRequest.h"

#include <algorithm>

namespace lumipage {

namespace {

using Kind = FrameRequest::Kind;

constexpr uint32_t kPathCodes = 256;  // codes below carry a path

int32_t readInt32(std::span<const uint8_t> data, size_t at) {
    return int32_t(uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
                   uint32_t(data[at + 3]) << 24);
}

bool knownPathAction(uint32_t action) { return action <= 4 || action == 15; }

}  // namespace

FrameRequest FrameRequest::decode(uint32_t code, std::span<const uint8_t> data) {
    FrameRequest r;
    const uint32_t low = code & 0xFFFF;
    if (low < kPathCodes) {
        const uint32_t action = low & 0x0F;
        if (!knownPathAction(action)) return r;
        if (!data.empty()) {
            const auto nul = std::find(data.begin(), data.end(), uint8_t(0));
            const size_t length = size_t(nul - data.begin());
            if (nul == data.end() || length >= kMaxPathBytes) {
                r.kind = Kind::Refused;
                return r;
            }
            r.path.assign(reinterpret_cast<const char*>(data.data()), length);
        }
        const int mode = int(low >> 4 & 0x0F);
        if (mode >= 1 && mode <= 3) r.sizeMode = mode;
        r.page = int(code >> 16);
        r.kind = Kind(action);
        return r;
    }
    size_t expected = 0;
    switch (low) {
        case 256: expected = kColourBytes; break;
        case 257: case 258: case 261: expected = 4; break;
        case 272: r.kind = Kind::PrintAll; return r;
        default: return r;
    }
    if (data.size() != expected) {
        r.kind = Kind::Refused;
        return r;
    }
    for (size_t i = 0; i < expected / 4; ++i) r.values[i] = readInt32(data, i * 4);
    r.kind = Kind(low);
    return r;
}

}  // namespace lumipage
