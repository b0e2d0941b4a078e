#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumipage {

// One request from another running copy of the program, as it travels over
// the local socket: the code (int32, little-endian), the data size (uint32,
// little-endian) and the data bytes. The answer is one int32, little-endian.
struct InstanceRequest {
    static constexpr size_t kHeaderBytes = 8;
    static constexpr size_t kReplyBytes = 4;
    // No request needs more than a path and its NUL; larger ones are refused
    // before anything is allocated for them.
    static constexpr uint32_t kMaxDataBytes = 64 * 1024;
    // Asks a copy for its main-window title. Its low 16 bits name no request,
    // so a copy that does not know it answers 0. The answer is the title's
    // byte count (int32) followed by the title in UTF-8.
    static constexpr int32_t kTitleQuery = -1;
    static constexpr uint32_t kMaxTitleBytes = 4096;
    // Asks a copy to close its main window as its close box would (a copy
    // started as a preview closes with the copy that started it). Answered 1.
    static constexpr int32_t kCloseWindow = -2;

    int32_t code = 0;
    std::vector<uint8_t> data;

    std::vector<uint8_t> encode() const;
};

struct InstanceRequestHeader {
    int32_t code = 0;
    uint32_t size = 0;
};

InstanceRequestHeader decodeRequestHeader(std::span<const uint8_t, InstanceRequest::kHeaderBytes> bytes);

std::array<uint8_t, 4> encodeInt32(int32_t value);
int32_t decodeInt32(std::span<const uint8_t, 4> bytes);

// The data of a path request: the path made absolute in the sender's working
// folder (the receiver has another one), followed by a NUL.
std::vector<uint8_t> pathRequestData(const std::string& path);

}  // namespace lumipage
