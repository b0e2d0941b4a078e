#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "twain/TwainTypes.h"

namespace lumipage::twain {

// TW_FIX32 is a whole part plus a fraction over 65536.
double fromFix32(TW_FIX32 value);
// The nearest value, clamped to plus or minus 32767.
TW_FIX32 toFix32(double value);
// The four bytes of a FIX32 as they travel in a container's 32-bit item.
TW_UINT32 fix32Bits(TW_FIX32 value);
TW_FIX32 fix32FromBits(TW_UINT32 bits);

// Containers are memory blocks taken with std::malloc (see TwainTypes.h).
// The builders return nullptr when memory runs out.
TW_HANDLE makeOneValue(TW_UINT16 itemType, TW_UINT32 item);
// `items` holds `count` items of the type's size, back to back.
TW_HANDLE makeEnumeration(TW_UINT16 itemType, std::span<const uint8_t> items, uint32_t count, uint32_t current,
                          uint32_t defaultIndex);
TW_HANDLE makeArray(TW_UINT16 itemType, std::span<const uint8_t> items, uint32_t count);
TW_HANDLE makeRange(TW_UINT16 itemType, TW_UINT32 minimum, TW_UINT32 maximum, TW_UINT32 step,
                    TW_UINT32 defaultValue, TW_UINT32 current);
void freeContainer(TW_HANDLE handle);

// The contents of any of the four container kinds, values as numbers
// (FIX32 converted, integers by their type's sign and size) and strings.
struct ContainerValues {
    static constexpr uint32_t kMaxItems = 65536;  // a list longer than this is taken as damaged

    TW_UINT16 kind = 0;      // TWON_...
    TW_UINT16 itemType = 0;  // TWTY_...
    std::vector<double> numbers;       // one-value, enumeration and array items
    std::vector<std::string> strings;  // the same for string types
    uint32_t currentIndex = 0;
    uint32_t defaultIndex = 0;
    double minimum = 0, maximum = 0, step = 0, defaultValue = 0, current = 0;  // ranges

    size_t count() const { return numbers.empty() ? strings.size() : numbers.size(); }
    // The current value of a one-value, enumeration or range.
    std::optional<double> currentNumber() const;
};

// Error codes of the session's error record that reading a container can give.
enum class ContainerError { None = 0, NullHandle = 8, BadHandle = 9, BadKind = 10, BadItemType = 11, Empty = 12 };

// Reads a container; `expected` (or TWON_DONTCARE16 for any) is the item type
// the caller wants; integer types of one size count as alike.
ContainerError readContainer(TW_UINT16 kind, TW_HANDLE handle, TW_UINT16 expected, ContainerValues& values);

// Whether an item of type `actual` may be read as `expected`.
bool itemTypesAlike(TW_UINT16 expected, TW_UINT16 actual);
// One item as a number; `bytes` holds at least itemSize(type) bytes.
double itemNumber(TW_UINT16 type, const uint8_t* bytes);
// A number as the 32-bit item of a one-value container.
TW_UINT32 itemBits(TW_UINT16 type, double value);

}  // namespace lumipage::twain
