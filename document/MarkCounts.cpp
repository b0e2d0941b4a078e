#include "document/MarkCounts.h"

namespace lumipage {

MarkCounts MarkCounts::of(std::span<const PageWord> words) {
    MarkCounts c;
    for (size_t i = 0; i < words.size(); ++i) {
        const PageWord w = words[i];
        if (w.marks() == 0) continue;
        if (w.has(PageWord::kSelected)) {
            ++c.selected;
            if (c.firstSelected == 0) c.firstSelected = int(i) + 1;
            c.lastSelected = int(i) + 1;
        }
        c.sent += w.has(PageWord::kSent);
        c.sendError += w.has(PageWord::kSendError);
        c.printed += w.has(PageWord::kPrinted);
        c.printError += w.has(PageWord::kPrintError);
    }
    return c;
}

}  // namespace lumipage
