#include "fax/DocumentFaxPages.h"

#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "document/PageWord.h"

namespace lumipage {

DocumentFaxPages::DocumentFaxPages(CLP98Doc& doc, Range range) : doc_(doc), table_(doc.table()), range_(range) {}

int DocumentFaxPages::rangePages() const {
    if (range_ == Range::All) return table_.totalPages();
    int n = 0;
    for (const PageWord w : table_.words()) n += w.has(PageWord::kSelected) ? 1 : 0;
    return n;
}

int DocumentFaxPages::globalPage(int rangePage) const {
    return range_ == Range::All ? rangePage : table_.nthSelected(rangePage);
}

FaxJobPages::Load DocumentFaxPages::showPage(int globalPage) {
    if (globalPage < 1 || globalPage > table_.totalPages() || !doc_.goToPage(globalPage) || !doc_.raster().hasBits()) {
        orientation_.newPage(nullptr);
        return Load::ReadError;
    }
    const PageWord word = table_.word(globalPage);
    orientation_.showPage(&doc_.raster(), word.bits);
    // A turn that could not be made leaves the page unturned.
    if (orientation_.rotation() != word.rotation()) return Load::MemoryError;
    return Load::Ok;
}

std::string DocumentFaxPages::fileName() const {
    const std::string& path = doc_.path();
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void DocumentFaxPages::markPage(int globalPage, uint8_t marks) {
    table_.setMarks(globalPage, marks, PageWord::kSendMarks);
}

void DocumentFaxPages::saveView() {
    savedPage_ = table_.currentPage();
    if (saveScroll_) saveScroll_();
}

void DocumentFaxPages::restoreView() {
    if (savedPage_ > 0) doc_.goToPage(savedPage_);
    orientation_.newPage(nullptr);
    if (restoreScroll_) restoreScroll_();
}

}  // namespace lumipage
