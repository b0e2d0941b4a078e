#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumipage {

class Messages;

// The comment of a file: a companion text file named after it with ".()"
// appended, code page 932 with CR LF. A book keeps its comment inside itself
// instead. The text before the first page marker is the file part; a line
// "<P." n ">" starts the section of page n, which runs to the next marker.
// Section edits work on the stored bytes, so the rest of a comment - even
// bytes code page 932 does not define - is kept exactly.
class CommentFile {
public:
    static std::string pathFor(std::string_view file) { return std::string(file) + ".()"; }
    // True when the text after the last dot is "LPB", in any case.
    static bool isBook(std::string_view path);
    // Shown but never changed: every book comment and a read-only comment file.
    static bool isProtected(const std::string& file);

    // The stored comment bytes of a file (a book's embedded comment); nothing
    // when there is none or it is empty.
    static std::optional<std::string> source(const std::string& file);

    // Page 0: the file part; page n: the section of page n, in UTF-8. Nothing
    // when the file has no comment. `hasMarkers` tells whether "<P." occurs at all.
    static std::optional<std::string> read(const std::string& file, int page, bool* hasMarkers = nullptr);
    // The title item of that comment, without trailing blanks; empty when none.
    static std::string title(const std::string& file, int page);

    // Replaces the file part (page 0) or page n's section by the text; an
    // empty text removes it. Refused for a book, for a protected comment and
    // for text code page 932 cannot hold; the old comment then stays as it was.
    static bool write(const std::string& file, int page, std::string_view text, Messages& messages);
    // Writes "タイトル：" and the title as the page's comment (an empty title, an empty comment).
    static bool setTitle(const std::string& file, int page, std::string_view title, Messages& messages);
    // As write and setTitle, for a book the program is writing now: its
    // comment file is filled before the book takes it in.
    static bool writeForNewBook(const std::string& book, int page, std::string_view text, Messages& messages);
    static std::string titleText(std::string_view title);

    // On code page 932 bytes, as stored.
    static std::string_view sectionOf(std::string_view stored, int page);
    static std::string withSection(std::string_view stored, int page, std::string_view textCp932);
};


}  // namespace lumipage
