#include "image/MHDecoder.h"

namespace lumipage {

struct MHDecoder::State {};

MHDecoder::MHDecoder() : state_(std::make_unique<State>()) {}
MHDecoder::~MHDecoder() = default;

int MHDecoder::decodePage(std::span<const uint8_t>, PageRaster&, int, int) { return 0; }

}  // namespace lumipage
