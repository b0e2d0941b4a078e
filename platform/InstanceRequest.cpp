#include "platform/InstanceRequest.h"

#include "platform/FileSystem.h"

namespace lumipage {

std::array<uint8_t, 4> encodeInt32(int32_t value) {
    const auto v = uint32_t(value);
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

int32_t decodeInt32(std::span<const uint8_t, 4> b) {
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

std::vector<uint8_t> InstanceRequest::encode() const {
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + data.size());
    const auto code4 = encodeInt32(code);
    const auto size4 = encodeInt32(int32_t(uint32_t(data.size())));
    out.insert(out.end(), code4.begin(), code4.end());
    out.insert(out.end(), size4.begin(), size4.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

InstanceRequestHeader decodeRequestHeader(std::span<const uint8_t, InstanceRequest::kHeaderBytes> bytes) {
    return {decodeInt32(bytes.first<4>()), uint32_t(decodeInt32(bytes.last<4>()))};
}

std::vector<uint8_t> pathRequestData(const std::string& path) {
    const std::string full = files::absolutePath(path);
    std::vector<uint8_t> data(full.begin(), full.end());
    data.push_back(0);
    return data;
}

}  // namespace lumipage
