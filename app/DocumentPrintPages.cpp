#include "app/DocumentPrintPages.h"

#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"

namespace lumipage {

DocumentPrintPages::DocumentPrintPages(CLP98Doc& doc) : doc_(doc), table_(doc.table()) {}

int DocumentPrintPages::pageCount() const { return table_.totalPages(); }
int DocumentPrintPages::currentPage() const { return table_.empty() ? 0 : table_.currentPage(); }

std::vector<int> DocumentPrintPages::selectedPages() {
    table_.recount();
    return table_.selectedPages();
}

bool DocumentPrintPages::showForPrinting(int page) {
    if (page < 1 || page > table_.totalPages() || !doc_.goToPage(page) || !doc_.raster().hasBits()) {
        orientation_.newPage(nullptr);
        return false;
    }
    orientation_.showPage(&doc_.raster(), table_.word(page).bits);
    return true;
}

const PageRaster* DocumentPrintPages::shownPage() const {
    const PageRaster* page = orientation_.displayed();
    return page && page->hasBits() ? page : nullptr;
}

bool DocumentPrintPages::inMemoryPage() const { return doc_.unsavedPage(); }

void DocumentPrintPages::markPrint(int page, int status) {
    table_.setMarks(page, status == PrintJob::kPrinted ? PageWord::kPrinted : PageWord::kPrintError,
                    PageWord::kPrintMarks);
}

void DocumentPrintPages::recountMarks() { table_.recount(); }

}  // namespace lumipage
