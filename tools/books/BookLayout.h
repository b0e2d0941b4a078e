#pragma once
#include <QFont>
#include <QImage>
#include <string>
#include <vector>

#include "tools/books/BookSource.h"

namespace lumipage::books {

// One laid-out page: its image and what the book's comment and the checks
// need to know of it.
struct BookPage {
    QImage image;                       // 8-bit grey, white paper
    std::string chapter;                // the chapter the page belongs to ("" on the cover)
    std::string text;                   // every line the page shows, one per line
    std::vector<std::string> contents;  // headings that start on this page
    std::vector<std::string> keywords;  // keywords of blocks that start on this page
};

// Lays a book out on A4 pages at 200 dpi: a cover, the printed contents, and
// the chapters, each on a new page, with a running head and page numbers.
class BookLayout {
public:
    static constexpr int kDpi = 200;
    static constexpr int kWidth = 1654;   // 210 mm
    static constexpr int kHeight = 2339;  // 297 mm

    // The font family the books are set in, and the Debian package that has it.
    static constexpr const char* kFamily = "Noto Sans CJK JP";
    static constexpr const char* kFontPackage = "fonts-noto-cjk";

    // False with a message when the font is not installed (Qt would quietly
    // substitute one without Japanese glyphs).
    static bool fontAvailable(std::string& error);

    explicit BookLayout(const BookSource& source);
    std::vector<BookPage> layOut();

private:
    struct Line {
        QString text;
        int font;  // index into fonts_
        double x, y;
    };
    struct PagePlan {
        std::string chapter;
        std::vector<Line> lines;
        std::vector<std::string> contents;
        std::vector<std::string> keywords;
    };

    enum Font { Body, Chapter, Section, Head, Cover, CoverSub, FontCount };

    std::vector<QString> wrap(const QString& text, int font, double width) const;
    double lineHeight(int font) const;
    void newPage();
    void ensureRoom(double height);
    void place(const Block& block);
    void placeLines(const std::vector<QString>& lines, int font, double x);
    void placeRow(const Block& block);
    std::vector<PagePlan> contentsPages(int firstBodyPage) const;
    BookPage render(const PagePlan& plan, int number, bool cover) const;

    const BookSource& source_;
    QFont fonts_[FontCount];
    std::vector<PagePlan> body_;
    std::string chapter_;
    double y_ = 0;
    Block::Kind lastKind_ = Block::Kind::PageBreak;
    struct Heading {
        std::string text;
        bool chapter;
        int bodyPage;
    };
    std::vector<Heading> headings_;
};

}  // namespace lumipage::books
