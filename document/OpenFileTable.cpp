#include "document/OpenFileTable.h"

#include <algorithm>
#include <cstring>

#include "document/DocumentObserver.h"
#include "document/PageCounter.h"

namespace lumipage {

int OpenFileTable::firstPageOf(int index) const {
    if (index < 1 || index > fileCount()) return 0;
    int first = 1;
    for (int i = 0; i < index - 1; ++i) first += entries_[size_t(i)].pages;
    return first;
}

int OpenFileTable::moveTo(int g) {
    if (empty()) return 0;
    g = std::clamp(g, 1, totalPages());
    int rest = g;
    int index = 1;
    while (index < fileCount() && rest > entry(index).pages) {
        rest -= entry(index).pages;
        ++index;
    }
    currentFile_ = index;
    pageInFile_ = std::min(rest, entry(index).pages);
    currentPage_ = g;
    return index;
}

void OpenFileTable::moveToEntry(int index, int page) {
    if (index < 1 || index > fileCount()) return;
    pageInFile_ = std::clamp(page, 1, entry(index).pages);
    currentFile_ = index;
    currentPage_ = firstPageOf(index) + pageInFile_ - 1;
}

bool OpenFileTable::append(const std::string& path) { return append(path, 0); }

bool OpenFileTable::append(const std::string& path, int pages, StoredWords storedWords) {
    if (fileCount() >= kMaxFiles) return false;
    const bool counted = pages == 0;
    FileCount found{pages, nullptr};
    if (counted) found = counter_.count(path);
    pages = std::min(found.pages, kMaxPages - totalPages());
    if (pages < 1) return false;
    std::vector<PageWord> stored;
    if (counted && storedWords == StoredWords::Copy) stored = counter_.storedPageWords(path, pages);
    insertAt(fileCount() + 1, OpenFileEntry(path, pages, std::move(found.table)), std::move(stored));
    return true;
}

bool OpenFileTable::insert(int position, const std::string& path, int pages) {
    if (position < 1 || position > fileCount() + 1 || fileCount() >= kMaxFiles) return false;
    FileCount found{pages, nullptr};
    if (pages == 0) found = counter_.count(path);
    pages = found.pages;
    if (pages < 1 || totalPages() + pages > kMaxPages) return false;
    const bool movesCurrent = !empty() && currentFile_ >= position;
    insertAt(position, OpenFileEntry(path, pages, std::move(found.table)), {});
    if (movesCurrent) {
        ++currentFile_;
        currentPage_ += pages;
    }
    return true;
}

void OpenFileTable::insertAt(int position, OpenFileEntry entry, std::vector<PageWord> stored) {
    const int first = position > fileCount() ? totalPages() + 1 : firstPageOf(position);
    stored.resize(size_t(entry.pages));
    words_.insert(words_.begin() + (first - 1), stored.begin(), stored.end());
    entries_.insert(entries_.begin() + (position - 1), std::move(entry));
    listChanged_ = true;
    recount();
}

void OpenFileTable::remove(int a) {
    if (a < 1 || a > fileCount()) return;
    if (backTarget_ == a) backTarget_ = 0;  // as the program has always done (it compares with the file index)
    const std::string path = entry(a).path;
    const int first = firstPageOf(a);
    const int pages = entry(a).pages;
    if (fileCount() == 1) {
        const IndexState kept = index_;
        reset();
        index_ = kept;  // forgetting the index is the caller's decision
    } else {
        words_.erase(words_.begin() + (first - 1), words_.begin() + (first - 1 + pages));
        entries_.erase(entries_.begin() + (a - 1));
        if (a == fileCount() + 1) {  // it was the last entry
            if (currentFile_ == a) {
                currentFile_ = a - 1;
                currentPage_ = first - 1;
                pageInFile_ = entry(a - 1).pages;
            }
        } else if (currentFile_ == a) {
            currentPage_ = first;
            pageInFile_ = 1;
        } else if (a < currentFile_) {
            currentPage_ -= pages;
            --currentFile_;
        }
    }
    listChanged_ = true;
    recount();
    if (observer_) observer_->pathLeftList(path);
}

void OpenFileTable::rename(int index, const std::string& path) {
    if (index < 1 || index > fileCount()) return;
    OpenFileEntry& e = entries_[size_t(index - 1)];
    e = OpenFileEntry(path, e.pages, e.table);  // renaming leaves the file as it was
    listChanged_ = true;
}

int OpenFileTable::find(std::string_view path) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].is(path)) return int(i) + 1;
    return 0;
}

int OpenFileTable::closeByMark(uint8_t mask) {
    int removed = 0;
    for (int index = 1; index <= fileCount();) {
        const int first = firstPageOf(index);
        const auto begin = words_.begin() + (first - 1);
        const bool all = std::all_of(begin, begin + entry(index).pages,
                                     [mask](PageWord w) { return (w.marks() & mask) != 0; });
        if (all) {
            remove(index);
            ++removed;
        } else {
            ++index;
        }
    }
    return removed;
}

void OpenFileTable::sortEntries(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, fileCount());
    if (last - first < 1) return;
    // Each entry carries its own page words, so stored marks stay on their pages.
    struct Block {
        OpenFileEntry entry;
        std::vector<PageWord> words;
    };
    const int firstPage = firstPageOf(first);
    std::vector<Block> blocks;
    for (int i = first, page = firstPage; i <= last; page += entry(i).pages, ++i) {
        const auto from = words_.begin() + (page - 1);
        blocks.push_back({entry(i), std::vector<PageWord>(from, from + entry(i).pages)});
    }
    // Comb sort with the gap shrinking by 1.3; gaps 9 and 10 become 11, which
    // avoids the slow sequences those two gaps lead to.
    const size_t n = blocks.size();
    size_t gap = n;
    bool swapped = true;
    while (gap > 1 || swapped) {
        gap = gap * 10 / 13;
        if (gap == 9 || gap == 10) gap = 11;
        if (gap == 0) gap = 1;
        swapped = false;
        for (size_t i = 0; i + gap < n; ++i) {
            if (std::strcoll(blocks[i].entry.path.c_str(), blocks[i + gap].entry.path.c_str()) > 0) {
                std::swap(blocks[i], blocks[i + gap]);
                swapped = true;
            }
        }
    }
    auto out = words_.begin() + (firstPage - 1);
    for (size_t i = 0; i < n; ++i) {
        entries_[size_t(first - 1) + i] = std::move(blocks[i].entry);
        out = std::copy(blocks[i].words.begin(), blocks[i].words.end(), out);
    }
    recount();
}

void OpenFileTable::reset() {
    entries_.clear();
    words_.clear();
    currentFile_ = 1;
    currentPage_ = 1;
    pageInFile_ = 1;
    backTarget_ = 0;
    counts_ = MarkCounts{};
    index_.forget();
}

void OpenFileTable::setWord(int page, PageWord w) {
    page = resolve(page);
    if (!validPage(page)) return;
    if (words_[size_t(page - 1)].has(PageWord::kSelected) != w.has(PageWord::kSelected)) selectionChanged_ = true;
    words_[size_t(page - 1)] = w;
    recount();
}

void OpenFileTable::setMarks(int page, uint8_t value, uint8_t mask) {
    page = resolve(page);
    setMarks(page, page, value, mask);
}

void OpenFileTable::setMarks(int first, int last, uint8_t value, uint8_t mask) {
    first = std::max(first, 1);
    last = std::min(last, totalPages());
    for (int page = first; page <= last; ++page) {
        PageWord& w = words_[size_t(page - 1)];
        const PageWord before = w;
        w.setMarks(value, mask);
        if (before.has(PageWord::kSelected) != w.has(PageWord::kSelected)) selectionChanged_ = true;
    }
    recount();
}

void OpenFileTable::setMarksAll(uint8_t value, uint8_t mask) { setMarks(1, totalPages(), value, mask); }

void OpenFileTable::setTransform(int page, uint8_t value, uint8_t mask) {
    page = resolve(page);
    if (validPage(page)) words_[size_t(page - 1)].setTransform(value, mask);
}

void OpenFileTable::setTransformAll(uint8_t value, uint8_t mask) {
    for (PageWord& w : words_) w.setTransform(value, mask);
}

void OpenFileTable::select(int page, bool on) { setMarks(page, on ? PageWord::kSelected : 0, PageWord::kSelected); }

void OpenFileTable::selectAll(bool on) { setMarksAll(on ? PageWord::kSelected : 0, PageWord::kSelected); }

void OpenFileTable::selectPages(std::span<const int> pages) {
    for (const int page : pages) {
        if (!validPage(page) || words_[size_t(page - 1)].has(PageWord::kSelected)) continue;
        words_[size_t(page - 1)].setMarks(PageWord::kSelected, PageWord::kSelected);
        selectionChanged_ = true;
    }
    recount();
}

void OpenFileTable::invertSelection() {
    for (PageWord& w : words_) w.bits ^= uint16_t(PageWord::kSelected) << 8;
    if (!words_.empty()) selectionChanged_ = true;
    recount();
}

std::vector<int> OpenFileTable::selectedPages() const {
    std::vector<int> pages;
    for (size_t i = 0; i < words_.size(); ++i)
        if (words_[i].has(PageWord::kSelected)) pages.push_back(int(i) + 1);
    return pages;
}

int OpenFileTable::nthSelected(int n) const {
    if (n < 1) return 0;
    for (size_t i = 0; i < words_.size(); ++i)
        if (words_[i].has(PageWord::kSelected) && --n == 0) return int(i) + 1;
    return 0;
}

}  // namespace lumipage
