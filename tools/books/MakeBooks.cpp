// Builds one of the program's own books (the manual, the guide book) from its
// text: lays the text out on A4 pages, renders them to 1-bit pages and
// writes a book with the program's book writer, with a comment that gives
// the book its title, its contents and its keyword index.
//
//   lumipage_books SOURCE.txt OUT.LPB PAGES.txt
//
// PAGES.txt receives the text of every page, for the tests that check that
// contents entries and keywords point at the pages that hold them. With
// LUMIPAGE_BOOK_PROOFS set to a folder, every page is also saved there as a
// PNG image for proofreading the layout.
#include <QGuiApplication>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "comments/CommentFile.h"
#include "document/BookWriter.h"
#include "image/PageRaster.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "tools/books/BookLayout.h"

using namespace lumipage;
using namespace lumipage::books;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "lumipage_books: %s\n", message.c_str());
    return 1;
}

// Thresholds the grey page at the middle and packs it into a page raster.
bool toRaster(const QImage& grey, PageRaster& page) {
    const QImage mono = grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
    if (!page.create(mono.width(), mono.height(), BookLayout::kDpi)) return false;
    const bool oneIsInk = mono.colorCount() == 2 && qGray(mono.color(1)) < 128;
    const size_t rowBytes = std::min<size_t>(page.bytesPerRow, size_t(mono.bytesPerLine()));
    for (int r = 0; r < page.height; ++r) {
        std::memcpy(page.row(r), mono.constScanLine(r), rowBytes);
        if (!oneIsInk) PageRaster::invertBytes(page.row(r), rowBytes);
    }
    page.clearPadding();
    return true;
}

size_t inkBits(const PageRaster& page) {
    size_t n = 0;
    for (size_t i = 0; i < page.imageSize; ++i) n += size_t(std::popcount(page.bits()[i]));
    return n;
}

std::string line(const std::string& label, const std::string& value) { return label + value + "\r\n"; }

// The book's comment: its title for the file part, and for every page the
// chapter as the page's title, its headings as contents entries and its keywords.
std::string commentText(const BookSource& source, const std::vector<BookPage>& pages) {
    std::string c = line("タイトル：", source.title) + line("書名：", source.title) + line("作成者：", "Lumipage");
    for (size_t i = 0; i < pages.size(); ++i) {
        const BookPage& p = pages[i];
        c += "<P." + std::to_string(i + 1) + ">\r\n";
        c += line("タイトル：", p.chapter.empty() ? source.title : p.chapter);
        for (const auto& heading : p.contents) c += line("目次：", heading);
        if (!p.keywords.empty()) {
            std::string list;
            for (const auto& k : p.keywords) list += (list.empty() ? "" : ",") + k;
            c += line("キーワード：", list);
        }
    }
    return c;
}

bool readText(const char* path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return fail("usage: lumipage_books SOURCE.txt OUT.LPB PAGES.txt");
    const std::string out = argv[2];

    std::string text, error;
    if (!readText(argv[1], text)) return fail(std::string("cannot read ") + argv[1]);
    BookSource source;
    if (!parseBookSource(text, source, error)) return fail(std::string(argv[1]) + ": " + error);

    // Pages are drawn off screen: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!BookLayout::fontAvailable(error)) return fail(error);

    BookLayout layout(source);
    const std::vector<BookPage> pages = layout.layOut();

    std::ofstream pageText(argv[3], std::ios::binary | std::ios::trunc);
    BookWriter writer;
    if (!writer.begin(out, int(pages.size()), 0)) return fail("cannot write " + out);
    for (size_t i = 0; i < pages.size(); ++i) {
        const BookPage& p = pages[i];
        for (const auto& k : p.keywords)
            if (p.text.find(k) == std::string::npos)
                return fail("page " + std::to_string(i + 1) + ": keyword \"" + k + "\" is not on the page");
        PageRaster raster;
        if (!toRaster(p.image, raster)) return fail("out of memory");
        // Text drawn with a font that has no glyphs would leave the page blank.
        if (!p.text.empty() && inkBits(raster) == 0)
            return fail("page " + std::to_string(i + 1) + " came out blank: is " + BookLayout::kFontPackage +
                        " installed?");
        if (!writer.addPage(raster, PageWord{})) return fail("cannot write " + out);
        pageText << "=== " << (i + 1) << '\n' << p.text;
        if (const char* proofs = std::getenv("LUMIPAGE_BOOK_PROOFS"))
            p.image.save(QString("%1/page-%2.png").arg(proofs).arg(i + 1, 3, 10, QChar('0')));
    }

    const auto comment = text::toCp932(commentText(source, pages));
    if (!comment) return fail("the text has characters that Shift-JIS cannot hold");
    const std::string commentPath = CommentFile::pathFor(out);
    {
        std::ofstream c(commentPath, std::ios::binary | std::ios::trunc);
        c << *comment;
        if (!c) return fail("cannot write " + commentPath);
    }
    const bool ended = writer.end();
    files::removeFile(commentPath);  // the book carries its comment inside
    if (!ended) return fail("cannot write " + out);
    std::printf("%s: %zu pages\n", out.c_str(), pages.size());
    return 0;
}
