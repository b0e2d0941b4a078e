#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/IndexState.h"
#include "document/MarkCounts.h"
#include "document/OpenFileEntry.h"
#include "document/PageWord.h"

namespace lumipage {

class DocumentObserver;
class PageCounter;

// The page list: every opened file in order, and a page word for every
// global page, numbered from 1 across all files. All file and page numbers
// are 1-based.
class OpenFileTable {
public:
    static constexpr int kMaxFiles = 10000;
    static constexpr int kMaxPages = 10000;

    explicit OpenFileTable(PageCounter& counter, DocumentObserver* observer = nullptr)
        : counter_(counter), observer_(observer) {}

    int fileCount() const { return int(entries_.size()); }
    int totalPages() const { return int(words_.size()); }
    bool empty() const { return entries_.empty(); }
    const OpenFileEntry& entry(int index) const { return entries_[size_t(index - 1)]; }
    int firstPageOf(int index) const;

    // The position: the entry holding the current page, the page, and the page within that entry.
    int currentFile() const { return currentFile_; }
    int currentPage() const { return currentPage_; }
    int pageInFile() const { return pageInFile_; }
    // Makes global page g current (clamped to 1..total); returns the entry index, 0 when empty.
    int moveTo(int g);
    // Makes page `page` (clamped to the entry) of entry `index` current.
    void moveToEntry(int index, int page);

    int backTarget() const { return backTarget_; }
    void setBackTarget(int page) { backTarget_ = page; }

    bool listChanged() const { return listChanged_; }
    bool selectionChanged() const { return selectionChanged_; }
    void setListChanged(bool on) { listChanged_ = on; }
    void setSelectionChanged(bool on) { selectionChanged_ = on; }
    IndexState& index() { return index_; }
    const IndexState& index() const { return index_; }

    // Appends a file with its counted pages (cut to what still fits); false
    // when the table is full or the file gives no page.
    bool append(const std::string& path);
    // Appends with a page count already known (0: count it), as index files
    // give it; index files bring their own marks, so stored words can be left out.
    enum class StoredWords { Copy, Ignore };
    bool append(const std::string& path, int pages, StoredWords stored = StoredWords::Copy);
    // Inserts at position 1..fileCount()+1; pages 0 means count them.
    bool insert(int position, const std::string& path, int pages);
    void remove(int index);
    void rename(int index, const std::string& path);
    int find(std::string_view path) const;
    // Removes every entry all of whose pages carry one of the mask's marks; returns how many.
    int closeByMark(uint8_t mask);
    // Sorts entries first..last by path, their page words travelling with them.
    void sortEntries(int first, int last);
    void reset();

    // The word of a page (0: the current one); a blank word outside 1..total.
    PageWord word(int page) const {
        page = resolve(page);
        return validPage(page) ? words_[size_t(page - 1)] : PageWord{};
    }
    std::span<const PageWord> words() const { return words_; }
    void setWord(int page, PageWord w);
    // Replaces the masked marks of one page (0: the current one), of pages first..last, or of all.
    void setMarks(int page, uint8_t value, uint8_t mask);
    void setMarks(int first, int last, uint8_t value, uint8_t mask);
    void setMarksAll(uint8_t value, uint8_t mask);
    void setTransform(int page, uint8_t value, uint8_t mask);
    void setTransformAll(uint8_t value, uint8_t mask);
    void select(int page, bool on);
    void selectAll(bool on);
    // Selects many pages at once (numbers outside 1..total are ignored).
    void selectPages(std::span<const int> pages);
    void invertSelection();
    int nthSelected(int n) const;
    // The selected global pages in page order.
    std::vector<int> selectedPages() const;
    void clearPrintedMarks() { setMarksAll(0, PageWord::kPrintMarks); }
    void clearSentMarks() { setMarksAll(0, PageWord::kSendMarks); }
    const MarkCounts& counts() const { return counts_; }
    void recount() { counts_ = MarkCounts::of(words_); }

private:
    int resolve(int page) const { return page == 0 ? currentPage_ : page; }
    bool validPage(int page) const { return page >= 1 && page <= totalPages(); }
    void insertAt(int position, OpenFileEntry entry, std::vector<PageWord> stored);

    PageCounter& counter_;
    DocumentObserver* observer_;
    std::vector<OpenFileEntry> entries_;
    std::vector<PageWord> words_;  // [0] is global page 1
    int currentFile_ = 1;
    int currentPage_ = 1;
    int pageInFile_ = 1;
    int backTarget_ = 0;
    bool listChanged_ = false;
    bool selectionChanged_ = false;
    MarkCounts counts_;
    IndexState index_;
};

}  // namespace lumipage
