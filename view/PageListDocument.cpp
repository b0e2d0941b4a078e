#include "view/PageListDocument.h"

#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"

namespace lumipage {

PageRaster* PageListDocument::pageRaster() {
    if (instead_) return instead_->hasBits() ? instead_ : nullptr;
    return document_.isLoaded() && document_.raster().hasBits() ? &document_.raster() : nullptr;
}

// Both counters only grow, so their sum changes whenever either does.
uint64_t PageListDocument::pageVersion() const { return document_.pageVersion() + insteadVersion_; }

// A page held only in memory has no word of its own: it is shown as it is.
uint16_t PageListDocument::pageWord() const {
    if (instead_) return 0;
    if (document_.unsavedPage() || table_.empty()) return 0;
    return uint16_t(table_.word(0).transform());
}

void PageListDocument::setPageWord(uint16_t word) {
    if (instead_) return;
    if (document_.unsavedPage() || table_.empty()) return;
    table_.setTransform(0, uint8_t(word), PageWord::kTransform);
}

void PageListDocument::setTransformOfAll(uint16_t value, uint16_t mask) {
    table_.setTransformAll(uint8_t(value), uint8_t(mask));
}

}  // namespace lumipage
