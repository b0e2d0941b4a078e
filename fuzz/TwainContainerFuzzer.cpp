// Capability containers as a scanner source hands them back: the kind and
// item type come from the first input bytes, the header fields and items
// from the rest, in a block exactly as long as a container of that kind,
// type and item count is. Reading one may fail but never reads outside the
// block, and what the scan dialog derives from it (resolution candidates,
// scaling, halftone choices) stays within what was offered.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "scan/ScanCapabilities.h"
#include "twain/TwainContainer.h"

using namespace lumipage;
using namespace lumipage::twain;

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t word() { return uint16_t(byte() | byte() << 8); }
    void fill(uint8_t* out, size_t n) {
        for (size_t i = 0; i < n; ++i) out[i] = byte();
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

constexpr TW_UINT16 kKinds[] = {TWON_ONEVALUE, TWON_ENUMERATION, TWON_RANGE, TWON_ARRAY};

// The size of a well-formed container: what a source must allocate.
size_t blockSize(TW_UINT16 kind, TW_UINT16 type, uint32_t count) {
    const size_t item = std::max<uint32_t>(itemSize(type), 4);
    switch (kind) {
    case TWON_ONEVALUE: return offsetof(TW_ONEVALUE, Item) + item;
    case TWON_RANGE: return sizeof(TW_RANGE);
    case TWON_ENUMERATION: return offsetof(TW_ENUMERATION, ItemList) + size_t(count) * itemSize(type);
    default: return offsetof(TW_ARRAY, ItemList) + size_t(count) * itemSize(type);
    }
}

// A block as a source builds it; the count field holds `count`.
std::vector<uint8_t> sourceBlock(Bytes& in, TW_UINT16 kind, TW_UINT16 type, uint32_t count) {
    std::vector<uint8_t> block(std::max<size_t>(blockSize(kind, type, count), 2));
    in.fill(block.data(), block.size());
    std::memcpy(block.data(), &type, sizeof type);
    if (kind == TWON_ENUMERATION || kind == TWON_ARRAY) std::memcpy(block.data() + 2, &count, sizeof count);
    return block;
}

void check(const ContainerValues& values, ContainerError error) {
    if (error != ContainerError::None) return;
    if (values.count() > ContainerValues::kMaxItems) std::abort();
    const std::optional<double> current = values.currentNumber();
    if (current && values.kind == TWON_ENUMERATION && values.currentIndex >= values.numbers.size()) std::abort();
    const std::vector<int> found = candidatesIn(values, ScanCapabilities::kResolutionCandidates);
    for (const int v : found)
        if (std::find(ScanCapabilities::kResolutionCandidates.begin(), ScanCapabilities::kResolutionCandidates.end(),
                      v) == ScanCapabilities::kResolutionCandidates.end())
            std::abort();
    const OfferedResolutions offered = offeredResolutions(values, values, ScanCapabilities::kResolutionCandidates);
    if (offered.values != found) std::abort();
    // The program asks for scaling as FIX32 and for reductions as 16-bit numbers.
    if (itemTypesAlike(TWTY_FIX32, values.itemType)) commonScaling(values, values);
    if (itemTypesAlike(TWTY_UINT16, values.itemType) && (values.kind == TWON_ENUMERATION || values.kind == TWON_ARRAY)) {
        const std::vector<ReductionChoice> choices = reductionChoices(values.numbers, values.strings);
        for (const ReductionChoice& c : choices)
            if (c.halftone >= int(std::max(values.strings.size(), ScanCapabilities::kMaxHalftones))) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    Bytes in(data, size);
    const TW_UINT16 kind = kKinds[in.byte() % 4];
    // Mostly known item types, sometimes anything.
    const uint8_t typeByte = in.byte();
    const TW_UINT16 type = typeByte < 0xf0 ? TW_UINT16(typeByte % 13) : in.word();
    const uint32_t count = in.byte() % 40;
    const TW_UINT16 expected = in.byte() & 1 ? TWON_DONTCARE16 : TW_UINT16(in.byte() % 13);

    std::vector<uint8_t> block = sourceBlock(in, kind, type, count);
    ContainerValues values;
    check(values, readContainer(kind, block.data(), expected, values));

    // The program's own builders give back what they were handed.
    if (itemSize(type) == 0 || count == 0) return 0;
    std::vector<uint8_t> items(size_t(count) * itemSize(type));
    in.fill(items.data(), items.size());
    TW_HANDLE built = nullptr;
    const uint32_t first = [&] { uint32_t v = 0; std::memcpy(&v, items.data(), std::min<size_t>(4, items.size())); return v; }();
    switch (kind) {
    case TWON_ONEVALUE:
        if (itemSize(type) <= 4) built = makeOneValue(type, first);
        break;
    case TWON_ENUMERATION: built = makeEnumeration(type, items, count, in.byte() % (count + 2), in.byte() % (count + 2)); break;
    case TWON_ARRAY: built = makeArray(type, items, count); break;
    default: built = makeRange(type, first, first, 1, first, first); break;
    }
    if (!built) return 0;
    ContainerValues back;
    const ContainerError error = readContainer(kind, built, TWON_DONTCARE16, back);
    check(back, error);
    if (kind == TWON_ARRAY && error == ContainerError::None && back.count() != count) std::abort();
    freeContainer(built);
    return 0;
}
