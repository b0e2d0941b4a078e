#include "image/TiffSource.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/File.h"

namespace lumipage {

bool TiffSource::attach(const File& file) {
    file_ = &file;
    memory_ = {};
    const int64_t size = file.size();
    length_ = size > 0 ? uint64_t(size) : 0;
    bigEndian_ = false;
    windowLength_ = 0;
    head_.resize(size_t(std::min<uint64_t>(length_, kHeadSize)));
    return size >= 0 && fetch(0, head_);
}

bool TiffSource::attach(std::span<const uint8_t> data) {
    file_ = nullptr;
    memory_ = data;
    length_ = data.size();
    bigEndian_ = false;
    windowLength_ = 0;
    head_.assign(data.begin(), data.begin() + std::ptrdiff_t(std::min<uint64_t>(length_, kHeadSize)));
    return true;
}

bool TiffSource::fetch(uint64_t offset, std::span<uint8_t> into) const {
    if (file_) return file_->readAt(int64_t(offset), into);
    if (!inFile(offset, into.size())) return false;
    if (!into.empty()) std::memcpy(into.data(), memory_.data() + offset, into.size());
    return true;
}

bool TiffSource::fill(uint64_t offset, size_t n) {
    const uint64_t start = offset >= kWindowBackOff ? offset - kWindowBackOff : offset;
    const uint64_t wanted = std::max<uint64_t>(n + (offset - start), kMinWindow);
    const size_t length = size_t(std::min<uint64_t>(wanted, length_ - start));
    windowLength_ = 0;
    try {
        if (window_.size() < length) window_.resize(length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!fetch(start, std::span(window_.data(), length))) return false;
    windowStart_ = start;
    windowLength_ = length;
    return true;
}

std::optional<std::span<const uint8_t>> TiffSource::read(uint64_t offset, size_t n) {
    if (!inFile(offset, n)) return std::nullopt;
    if (offset + n <= head_.size()) return std::span<const uint8_t>(head_.data() + offset, n);
    if (offset < windowStart_ || offset + n > windowStart_ + windowLength_) {
        if (!fill(offset, n)) return std::nullopt;
    }
    return std::span<const uint8_t>(window_.data() + (offset - windowStart_), n);
}

std::optional<std::span<uint8_t>> TiffSource::readForChange(uint64_t offset, size_t n) {
    if (!inFile(offset, n)) return std::nullopt;
    if (offset < windowStart_ || offset + n > windowStart_ + windowLength_) {
        if (!fill(offset, n)) return std::nullopt;
    }
    uint8_t* bytes = window_.data() + (offset - windowStart_);
    windowLength_ = 0;  // the caller is about to change these bytes
    return std::span<uint8_t>(bytes, n);
}

uint8_t TiffSource::u8(uint64_t offset) {
    const auto bytes = read(offset, 1);
    return bytes ? (*bytes)[0] : 0;
}

uint16_t TiffSource::u16(uint64_t offset) {
    const auto bytes = read(offset, 2);
    return bytes ? get16(bytes->data()) : 0;
}

uint32_t TiffSource::u32(uint64_t offset) {
    const auto bytes = read(offset, 4);
    return bytes ? get32(bytes->data()) : 0;
}

}  // namespace lumipage
