#include "view/PrintDialogRange.h"

#include <algorithm>
#include <utility>

namespace lumipage {

PrintDialogRange::PrintDialogRange(PrintRange range, int sheets, int currentPage)
    : sheets_(std::max(sheets, 0)), first_(1), last_(sheets_) {
    if (range == PrintRange::CurrentScreen && sheets_ > 0) {
        first_ = currentPage;
        last_ = currentPage;
    }
}

PrintDialogRange::Sheets PrintDialogRange::sheetsFor(int fromNumber, int toNumber) const {
    if (sheets_ == 0) return {1, 0};
    if (fromNumber == 0 && toNumber == 0) return {1, sheets_};
    if (fromNumber == 0) fromNumber = first_;
    if (toNumber == 0) toNumber = last_;
    if (fromNumber > toNumber) std::swap(fromNumber, toNumber);
    fromNumber = std::clamp(fromNumber, first_, last_);
    toNumber = std::clamp(toNumber, first_, last_);
    // Sheet 1 carries the first number.
    return {fromNumber - first_ + 1, toNumber - first_ + 1};
}

}  // namespace lumipage
