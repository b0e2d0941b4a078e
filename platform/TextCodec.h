#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumipage {

// Inside the program text is UTF-8; the files whose layout is fixed (page-file
// titles, index and comment files, the phone book) hold code page 932
// (Shift-JIS). These convert at the file boundary.
namespace text {

// Bytes that are not valid code page 932 become U+FFFD; never fails.
std::string fromCp932(std::string_view cp932);

// Nothing when a character has no code page 932 form: such text is never
// written with a substitute.
std::optional<std::string> toCp932(std::string_view utf8);

}  // namespace text
}  // namespace lumipage
