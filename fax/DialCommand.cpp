#include "fax/DialCommand.h"

namespace lumipage {

std::optional<std::string> dialCommand(std::string_view number, char dialMethod) {
    constexpr size_t kMaxNumber = 20;
    std::string dial = "ATD";
    if (uint8_t(dialMethod) > ' ') dial.push_back(dialMethod);
    size_t kept = 0;
    bool digit = false;
    for (const char c : number) {
        if (uint8_t(c) <= ' ' || kept == kMaxNumber) continue;
        dial.push_back(c);
        ++kept;
        digit = digit || (c >= '0' && c <= '9');
    }
    if (!digit) return std::nullopt;
    return dial;
}

}  // namespace lumipage
