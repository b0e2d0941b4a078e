#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/BookFile.h"
#include "document/PageWord.h"
#include "image/PaperRecordWriter.h"

namespace lumipage {

class AtomicFileWriter;
class PageRaster;

// Writes a book: begin with the number of pages planned, add each page with
// its page word, end. The book replaces an older file of its name only when
// end() succeeds; a writer dropped before that leaves the old one as it was.
class BookWriter {
public:
    BookWriter();
    ~BookWriter();
    BookWriter(const BookWriter&) = delete;
    BookWriter& operator=(const BookWriter&) = delete;

    // Writes the header and empty tables for `plannedPages` pages.
    bool begin(const std::string& path, int plannedPages, int pageStartPosition);
    // The page as a paper record; its word keeps the transform and the selection only.
    bool addPage(const PageRaster& page, PageWord word);
    // `indexFile`: the index file in use, whose comment becomes the book's
    // when it has one. `fillComment` then adds to the book's comment file
    // (the pages' comments); that file is embedded, and header and tables
    // are written again with the pages actually added.
    bool end(const std::string& indexFile = {}, const std::function<void()>& fillComment = {});
    void abandon();

    int pagesWritten() const { return written_; }

private:
    std::string path_;
    std::unique_ptr<AtomicFileWriter> out_;
    PaperRecordWriter records_;
    BookHeader header_;
    std::vector<PageWord> words_;
    std::vector<uint8_t> directory_;
    int planned_ = 0;
    int written_ = 0;
};

}  // namespace lumipage
