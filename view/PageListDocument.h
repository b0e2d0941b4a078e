#pragma once
#include "view/ViewDocument.h"

namespace lumipage {

class CLP98Doc;
class OpenFileTable;

// The document as the view sees it: the page the document has loaded and
// the current page's word in the page list.
class PageListDocument : public ViewDocument {
public:
    PageListDocument(CLP98Doc& document, OpenFileTable& table) : document_(document), table_(table) {}

    PageRaster* pageRaster() override;
    uint16_t pageWord() const override;
    void setPageWord(uint16_t word) override;
    void setTransformOfAll(uint16_t value, uint16_t mask) override;
    // Shows `page` as it is instead of the document's page (a scanned page
    // not yet kept); null returns to the document's page.
    void showInstead(PageRaster* page) {
        instead_ = page;
        ++insteadVersion_;
    }
    uint64_t pageVersion() const override;

private:
    CLP98Doc& document_;
    OpenFileTable& table_;
    PageRaster* instead_ = nullptr;
    uint64_t insteadVersion_ = 0;
};

}  // namespace lumipage
