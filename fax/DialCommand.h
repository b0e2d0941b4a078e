#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumipage {

// "ATD", the dial method ('T' tone, 'P' pulse) and the number without its
// blanks and control characters, at most 20 of them. Nothing when the number
// holds no digit: such a number is never dialled.
std::optional<std::string> dialCommand(std::string_view number, char dialMethod);

}  // namespace lumipage
