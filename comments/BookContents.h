#pragma once
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace lumipage {

// The rows of the table of contents and of the keyword index, built from the
// comments of the open files (the dialogs show them).
struct ContentsEntry {
    std::string text;
    int page = 0;  // global page
    friend bool operator==(const ContentsEntry&, const ContentsEntry&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ContentsEntry& e) {
        return out << '"' << e.text << "\" p." << e.page;
    }
};

// The contents rows of one file whose pages start at global page `firstPage`.
std::vector<ContentsEntry> contentsEntries(const std::string& file, int firstPage, int pageCount);
std::vector<ContentsEntry> contentsEntriesOfText(std::string_view comment, int firstPage, int pageCount);

class KeywordIndex {
public:
    static constexpr size_t kMaxPagesPerRow = 99;

    struct Row {
        std::string keyword;
        std::vector<int> pages;  // global pages, in the order found
    };

    void addFile(const std::string& file, int firstPage, int pageCount);
    void addText(std::string_view comment, int firstPage, int pageCount);
    // A keyword for a page: into the row of the same keyword (case ignored), else a new row.
    void add(std::string_view keyword, int page);
    const std::vector<Row>& rows() const { return rows_; }
    // The first row whose keyword begins with the typed text (case ignored), -1 when none.
    int findPrefix(std::string_view typed) const;

private:
    void addLine(std::string_view line, int page);
    std::vector<Row> rows_;
};

}  // namespace lumipage
