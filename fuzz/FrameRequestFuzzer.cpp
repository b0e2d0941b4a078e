// Requests of other running copies as they arrive: a 32-bit code and any
// data. Whatever comes, a path taken from them ends before the data does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/FrameRequest.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4 || size > (1 << 16)) return 0;
    const uint32_t code = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
    const std::span<const uint8_t> bytes(data + 4, size - 4);
    const FrameRequest r = FrameRequest::decode(code, bytes);
    // The NUL lies inside the data, so a path is always shorter than it.
    if (!r.path.empty() && (r.path.size() >= FrameRequest::kMaxPathBytes || r.path.size() >= bytes.size())) std::abort();
    if (r.path.find('\0') != std::string::npos) std::abort();
    return 0;
}
