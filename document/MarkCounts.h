#pragma once
#include <span>

#include "document/PageWord.h"

namespace lumipage {

// Counters derived from the page words, recomputed after every change of the
// page list or bulk change of marks, so that menus need not scan the pages.
struct MarkCounts {
    int selected = 0;
    int firstSelected = 0;  // global page, 0 when none
    int lastSelected = 0;
    int sent = 0;
    int sendError = 0;
    int printed = 0;
    int printError = 0;

    // words[0] is global page 1.
    static MarkCounts of(std::span<const PageWord> words);
    friend bool operator==(const MarkCounts&, const MarkCounts&) = default;
};

}  // namespace lumipage
