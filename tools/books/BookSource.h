#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lumipage::books {

// The text of a book as its author writes it, in a small line markup:
//   %title Text        the book's title (cover, page headers, comment title)
//   %subtitle Text     a line under the title on the cover
//   # Heading          a chapter: starts a new page; a contents entry
//   ## Heading         a section; a contents entry
//   @ word, word       keywords of the block that follows
//   - text             a list item
//   | key | text       a two-column row (keys, menus, switches)
//   %page              a page break
//   (empty line)       ends a paragraph
// Other lines are paragraph text; lines of one paragraph are joined, with a
// blank only between two Latin letters or digits.
struct Block {
    enum class Kind { Chapter, Section, Paragraph, Item, Row, PageBreak };
    Kind kind = Kind::Paragraph;
    std::string text;   // UTF-8
    std::string text2;  // second column of a row
    std::vector<std::string> keywords;
};

struct BookSource {
    std::string title;
    std::string subtitle;
    std::vector<Block> blocks;
};

// Parses the markup; `error` names the first bad line when it returns false.
bool parseBookSource(std::string_view text, BookSource& out, std::string& error);

}  // namespace lumipage::books
