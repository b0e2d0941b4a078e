#pragma once
#include <string>
#include <vector>

#include "document/PageSource.h"
#include "document/PageWord.h"

namespace lumipage {

// What the page list asks of a file when it is added: how many pages it has,
// and, for a book, the page words stored with its pages.
class PageCounter {
public:
    virtual ~PageCounter() = default;
    // 0 pages when the file cannot be read, is of an unknown type or has no
    // page; the table, where counting found where the pages are.
    virtual FileCount count(const std::string& path) = 0;
    // Up to `count` stored words (a book's); empty for other files.
    virtual std::vector<PageWord> storedPageWords(const std::string& path, int count) = 0;
};

}  // namespace lumipage
