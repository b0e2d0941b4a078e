#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumipage {

class Messages;

// Text bound for a code page 932 file. A character that code page has no
// form for is never written as a substitute: the write is refused, and the
// user is told which text could not be stored.
namespace cp932 {

inline constexpr const char* kCannotHold = "\nシフトJISで表せない文字が含まれているため保存できません";

// The text in code page 932, or nothing after saying `what` (a path or a
// name) followed by kCannotHold.
std::optional<std::string> encodeOrSay(std::string_view utf8, std::string_view what, Messages& messages);

}  // namespace cp932
}  // namespace lumipage
