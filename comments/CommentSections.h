#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace lumipage {

// Walks a file's comment line by line for the contents and keyword lists:
// markers set the page; an empty line ends the page's section (and ends the
// walk once the page is at or beyond the file's last page); lines of an
// ended section or of a page outside 1..pageCount are not handed on.
class CommentSections {
public:
    enum class Line { Used, Unused };  // Unused after an entry ends the section too

    // `handle` gets each line of a live section (trailing blanks removed), the
    // page, and whether it is the first line since the section started.
    using Handler = std::function<Line(std::string_view line, int page, bool sectionStart)>;

    // The comment of `file` (a book's embedded one), or nothing without one.
    static void walk(const std::string& file, int pageCount, const Handler& handle);
    // The same over UTF-8 text.
    static void walkText(std::string_view text, int pageCount, const Handler& handle);

    static std::string_view trimRight(std::string_view s);
    static std::string_view trim(std::string_view s);
    // The rest of the line after the first of the labels found, or npos-like nothing.
    static bool valueAfter(std::string_view line, std::string_view label, std::string_view& value);
};

}  // namespace lumipage
