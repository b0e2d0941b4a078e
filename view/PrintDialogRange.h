#pragma once
#include "view/PrintLayout.h"

namespace lumipage {

// The pages a print dialog offers for a job and the sheets the user's
// choice prints. The dialog numbers the sheets of every range from 1,
// except the current screen, whose one sheet carries the number of the
// page shown.
class PrintDialogRange {
public:
    // `sheets`: what the job prepared; `currentPage`: the page shown.
    PrintDialogRange(PrintRange range, int sheets, int currentPage);

    int firstNumber() const { return first_; }
    int lastNumber() const { return last_; }

    // The sheets (1-based, inclusive) for the numbers chosen in the dialog;
    // 0 for both numbers means every sheet. Numbers outside the range are
    // pulled into it, a reversed pair is put in order; an empty job gives
    // an empty range (first > last).
    struct Sheets {
        int first = 1;
        int last = 0;
        int count() const { return last >= first ? last - first + 1 : 0; }
    };
    Sheets sheetsFor(int fromNumber, int toNumber) const;

    // The preview opens on one sheet for a one-sheet job, else on two side by side.
    bool previewTwoSheets() const { return sheets_ > 1; }

private:
    int sheets_;
    int first_;
    int last_;
};

}  // namespace lumipage
