#include "support/TiffBuilder.h"

#include <algorithm>
#include <fstream>

namespace lumipage::test {

TiffBuilder::TiffBuilder(bool bigEndian) : big_(bigEndian) {
    bytes = {uint8_t(bigEndian ? 'M' : 'I'), uint8_t(bigEndian ? 'M' : 'I'), 0, 0, 0, 0, 0, 0};
    put16(2, 42);
}

void TiffBuilder::put16(uint32_t at, uint32_t v) {
    if (bytes.size() < at + 2) bytes.resize(at + 2);
    bytes[at + (big_ ? 1 : 0)] = uint8_t(v);
    bytes[at + (big_ ? 0 : 1)] = uint8_t(v >> 8);
}

void TiffBuilder::put32(uint32_t at, uint32_t v) {
    if (bytes.size() < at + 4) bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i) bytes[at + uint32_t(big_ ? 3 - i : i)] = uint8_t(v >> (8 * i));
}

uint32_t TiffBuilder::addData(const std::vector<uint8_t>& data) {
    const uint32_t at = size();
    bytes.insert(bytes.end(), data.begin(), data.end());
    return at;
}

void TiffBuilder::padTo(uint32_t n) {
    if (bytes.size() < n) bytes.resize(n);
}

uint32_t TiffBuilder::addIfd(const std::vector<Entry>& entries, uint32_t next) {
    if (size() % 2) bytes.push_back(0);
    const uint32_t at = size();
    put16(at, uint32_t(entries.size()));
    uint32_t extra = at + 2 + 12 * uint32_t(entries.size()) + 4;
    bytes.resize(extra);
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const uint32_t width = e.type == 3 ? 2 : 4;
        const uint32_t count = e.count ? e.count : uint32_t(e.type == 5 ? e.values.size() / 2 : e.values.size());
        const uint32_t p = at + 2 + 12 * uint32_t(i);
        put16(p, e.tag);
        put16(p + 2, e.type);
        put32(p + 4, count);
        uint32_t valueAt = p + 8;
        if (e.type == 5 || uint32_t(e.values.size()) * width > 4) {
            valueAt = extra;
            put32(p + 8, extra);
            extra += uint32_t(e.values.size()) * width;
        }
        for (size_t k = 0; k < e.values.size(); ++k) {
            if (width == 2) put16(valueAt + uint32_t(k) * 2, e.values[k]);
            else put32(valueAt + uint32_t(k) * 4, e.values[k]);
        }
    }
    put32(at + 2 + 12 * uint32_t(entries.size()), next);
    return at;
}

void TiffBuilder::setNextIfd(uint32_t ifd, uint32_t next) {
    const uint32_t count = big_ ? uint32_t(bytes[ifd] << 8 | bytes[ifd + 1]) : uint32_t(bytes[ifd + 1] << 8 | bytes[ifd]);
    put32(ifd + 2 + 12 * count, next);
}

bool TiffBuilder::save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::vector<TiffBuilder::Entry> rawPageEntries(uint32_t width, uint32_t height, uint32_t stripOffset,
                                               uint32_t byteCount) {
    return {
        {256, 4, {width}},      {257, 4, {height}},    {258, 3, {1}},   {259, 3, {1}},
        {262, 3, {0}},          {273, 4, {stripOffset}}, {277, 3, {1}}, {278, 4, {height}},
        {279, 4, {byteCount}},  {282, 5, {200, 1}},    {283, 5, {200, 1}}, {296, 3, {2}},
    };
}

}  // namespace lumipage::test
