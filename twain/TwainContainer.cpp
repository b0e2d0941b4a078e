#include "twain/TwainContainer.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace lumipage::twain {

static_assert(sizeof(TW_FIX32) == 4 && sizeof(TW_ONEVALUE) == 6 && sizeof(TW_RANGE) == 22);
static_assert(offsetof(TW_ENUMERATION, ItemList) == 14 && offsetof(TW_ARRAY, ItemList) == 6);
static_assert(sizeof(TW_IDENTITY) == 156 && sizeof(TW_IMAGEINFO) == 42);

double fromFix32(TW_FIX32 value) {
    return double(value.Whole) + double(value.Frac) / 65536.0;
}

TW_FIX32 toFix32(double value) {
    if (!(value == value)) value = 0;  // NaN
    if (value > 32767) value = 32767;
    if (value < -32767) value = -32767;
    const int32_t scaled = int32_t(std::lround(value * 65536.0));
    TW_FIX32 fix;
    fix.Whole = TW_INT16(scaled >> 16);  // arithmetic shift: the whole part rounds toward minus infinity
    fix.Frac = TW_UINT16(scaled & 0xffff);
    return fix;
}

TW_UINT32 fix32Bits(TW_FIX32 value) {
    TW_UINT32 bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    return bits;
}

TW_FIX32 fix32FromBits(TW_UINT32 bits) {
    TW_FIX32 value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

namespace {

template <typename Header>
TW_HANDLE makeList(const Header& header, size_t listOffset, std::span<const uint8_t> items) {
    const size_t bytes = std::max(sizeof(Header), listOffset + items.size());
    auto* block = static_cast<uint8_t*>(std::calloc(1, bytes));
    if (!block) return nullptr;
    std::memcpy(block, &header, listOffset);
    if (!items.empty()) std::memcpy(block + listOffset, items.data(), items.size());
    return block;
}

}  // namespace

TW_HANDLE makeOneValue(TW_UINT16 itemType, TW_UINT32 item) {
    auto* block = static_cast<TW_ONEVALUE*>(std::calloc(1, sizeof(TW_ONEVALUE)));
    if (!block) return nullptr;
    TW_ONEVALUE value{itemType, item};
    std::memcpy(block, &value, sizeof value);
    return block;
}

TW_HANDLE makeEnumeration(TW_UINT16 itemType, std::span<const uint8_t> items, uint32_t count, uint32_t current,
                          uint32_t defaultIndex) {
    TW_ENUMERATION header{};
    header.ItemType = itemType;
    header.NumItems = count;
    header.CurrentIndex = current;
    header.DefaultIndex = defaultIndex;
    return makeList(header, offsetof(TW_ENUMERATION, ItemList), items.first(size_t(count) * itemSize(itemType)));
}

TW_HANDLE makeArray(TW_UINT16 itemType, std::span<const uint8_t> items, uint32_t count) {
    TW_ARRAY header{};
    header.ItemType = itemType;
    header.NumItems = count;
    return makeList(header, offsetof(TW_ARRAY, ItemList), items.first(size_t(count) * itemSize(itemType)));
}

TW_HANDLE makeRange(TW_UINT16 itemType, TW_UINT32 minimum, TW_UINT32 maximum, TW_UINT32 step,
                    TW_UINT32 defaultValue, TW_UINT32 current) {
    auto* block = static_cast<TW_RANGE*>(std::calloc(1, sizeof(TW_RANGE)));
    if (!block) return nullptr;
    TW_RANGE range{itemType, minimum, maximum, step, defaultValue, current};
    std::memcpy(block, &range, sizeof range);
    return block;
}

void freeContainer(TW_HANDLE handle) {
    std::free(handle);
}

std::optional<double> ContainerValues::currentNumber() const {
    switch (kind) {
    case TWON_ONEVALUE: return numbers.empty() ? std::nullopt : std::optional<double>(numbers[0]);
    case TWON_ENUMERATION:
        if (currentIndex < numbers.size()) return numbers[currentIndex];
        return std::nullopt;
    case TWON_RANGE: return current;
    default: return std::nullopt;
    }
}

bool itemTypesAlike(TW_UINT16 expected, TW_UINT16 actual) {
    if (expected == TWON_DONTCARE16 || expected == actual) return true;
    auto integral = [](TW_UINT16 t) { return t <= TWTY_BOOL; };
    return integral(expected) && integral(actual) && itemSize(expected) == itemSize(actual);
}

double itemNumber(TW_UINT16 type, const uint8_t* bytes) {
    switch (type) {
    case TWTY_INT8: return int8_t(bytes[0]);
    case TWTY_UINT8: return bytes[0];
    case TWTY_INT16: { int16_t v; std::memcpy(&v, bytes, 2); return v; }
    case TWTY_UINT16: case TWTY_BOOL: { uint16_t v; std::memcpy(&v, bytes, 2); return v; }
    case TWTY_INT32: { int32_t v; std::memcpy(&v, bytes, 4); return v; }
    case TWTY_UINT32: { uint32_t v; std::memcpy(&v, bytes, 4); return v; }
    case TWTY_FIX32: { TW_FIX32 v; std::memcpy(&v, bytes, 4); return fromFix32(v); }
    default: return 0;
    }
}

TW_UINT32 itemBits(TW_UINT16 type, double value) {
    switch (type) {
    case TWTY_FIX32: return fix32Bits(toFix32(value));
    case TWTY_INT8: case TWTY_INT16: case TWTY_INT32: {
        const int32_t v = int32_t(std::lround(value));
        if (type == TWTY_INT8) return uint8_t(int8_t(v));
        if (type == TWTY_INT16) return uint16_t(int16_t(v));
        return uint32_t(v);
    }
    default: return value <= 0 ? 0 : uint32_t(std::llround(value));
    }
}

namespace {

bool isString(TW_UINT16 type) { return type >= TWTY_STR32 && type <= TWTY_STR255; }

void appendItems(const uint8_t* list, uint32_t count, TW_UINT16 type, ContainerValues& values) {
    const uint32_t size = itemSize(type);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* item = list + size_t(i) * size;
        if (isString(type)) {
            values.strings.emplace_back(reinterpret_cast<const char*>(item), strnlen(reinterpret_cast<const char*>(item), size));
        } else {
            values.numbers.push_back(itemNumber(type, item));
        }
    }
}

// The item of a one-value container sits in a 32-bit field; a string item
// follows the type field in its full length.
void readOneValue(const uint8_t* block, TW_UINT16 type, ContainerValues& values) {
    if (isString(type)) {
        appendItems(block + offsetof(TW_ONEVALUE, Item), 1, type, values);
    } else {
        TW_ONEVALUE one;
        std::memcpy(&one, block, sizeof one);
        uint8_t bytes[4];
        std::memcpy(bytes, &one.Item, 4);
        values.numbers.push_back(itemNumber(type, bytes));
    }
}

void readRange(const uint8_t* block, TW_UINT16 type, ContainerValues& values) {
    TW_RANGE range;
    std::memcpy(&range, block, sizeof range);
    auto number = [type](TW_UINT32 bits) {
        uint8_t bytes[4];
        std::memcpy(bytes, &bits, 4);
        return itemNumber(type, bytes);
    };
    values.minimum = number(range.MinValue);
    values.maximum = number(range.MaxValue);
    values.step = number(range.StepSize);
    values.defaultValue = number(range.DefaultValue);
    values.current = number(range.CurrentValue);
}

}  // namespace

ContainerError readContainer(TW_UINT16 kind, TW_HANDLE handle, TW_UINT16 expected, ContainerValues& values) {
    values = ContainerValues{};
    if (!handle) return ContainerError::NullHandle;
    if (kind != TWON_ONEVALUE && kind != TWON_ENUMERATION && kind != TWON_RANGE && kind != TWON_ARRAY)
        return ContainerError::BadKind;
    const auto* block = static_cast<const uint8_t*>(handle);
    TW_UINT16 type;
    std::memcpy(&type, block, sizeof type);
    if (itemSize(type) == 0 || !itemTypesAlike(expected, type)) return ContainerError::BadItemType;
    values.kind = kind;
    values.itemType = type;
    switch (kind) {
    case TWON_ONEVALUE: readOneValue(block, type, values); break;
    case TWON_RANGE:
        if (isString(type)) return ContainerError::BadItemType;
        readRange(block, type, values);
        break;
    case TWON_ENUMERATION: {
        TW_ENUMERATION header;
        std::memcpy(&header, block, offsetof(TW_ENUMERATION, ItemList));
        if (header.NumItems == 0) return ContainerError::Empty;
        if (header.NumItems > ContainerValues::kMaxItems) return ContainerError::BadHandle;
        values.currentIndex = header.CurrentIndex;
        values.defaultIndex = header.DefaultIndex;
        appendItems(block + offsetof(TW_ENUMERATION, ItemList), header.NumItems, type, values);
        break;
    }
    case TWON_ARRAY: {
        TW_ARRAY header;
        std::memcpy(&header, block, offsetof(TW_ARRAY, ItemList));
        if (header.NumItems == 0) return ContainerError::Empty;
        if (header.NumItems > ContainerValues::kMaxItems) return ContainerError::BadHandle;
        appendItems(block + offsetof(TW_ARRAY, ItemList), header.NumItems, type, values);
        break;
    }
    }
    return ContainerError::None;
}

}  // namespace lumipage::twain
