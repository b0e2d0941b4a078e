#pragma once
#include <cstdint>
#include <vector>

namespace lumipage {

// An 8-bit greyscale PNG of `width` x `height` bytes (rows top-down, no
// padding), compressed for speed rather than size: previews are made while
// a file manager waits. Empty when the picture is empty or cannot be coded.
std::vector<uint8_t> greyPng(int width, int height, const uint8_t* pixels);

}  // namespace lumipage
