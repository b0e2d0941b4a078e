#include "view/PageNavigator.h"

#include <algorithm>
#include <cstdio>

#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "platform/FileSystem.h"
#include "view/CLP98View.h"

namespace lumipage {

namespace {

constexpr const char* kIdeographicSpaces = "\u3000\u3000";

const char* statusText(bool done, bool error) { return done ? "済" : error ? "ｴﾗｰ" : " "; }

}  // namespace

int PageNavigator::pageCount() const { return table_.totalPages(); }
int PageNavigator::currentPage() const { return table_.empty() ? 0 : table_.currentPage(); }
int PageNavigator::backTarget() const { return table_.backTarget(); }

void PageNavigator::notify() {
    if (changed_) changed_();
}

void PageNavigator::goToPage(int page, bool force) {
    if (table_.empty()) return;
    if (page == table_.currentPage() && !force) return;
    page = std::clamp(page, 1, table_.totalPages());
    // The document reads the page from the file it has loaded when the page
    // lies in it, else it opens the page's file.
    if (!document_.goToPage(page)) document_.closeCurrent();
    view_.ShowCurrentPage();
    notify();
}

void PageNavigator::saveBackTarget() { table_.setBackTarget(currentPage()); }

bool PageNavigator::canNext() const { return currentPage() < pageCount(); }
bool PageNavigator::canPrevious() const { return currentPage() > 1; }
bool PageNavigator::canBack() const { return pageCount() > 0 && table_.backTarget() != 0; }

bool PageNavigator::canNextSelected() const {
    const MarkCounts& counts = table_.counts();
    return counts.selected > 0 && currentPage() < counts.lastSelected;
}

bool PageNavigator::canPreviousSelected() const {
    const MarkCounts& counts = table_.counts();
    return counts.selected > 0 && counts.firstSelected < currentPage() && counts.firstSelected > 0;
}

bool PageNavigator::canListSelected() const { return table_.counts().selected > 0; }

void PageNavigator::nextPage() {
    if (canNext()) goToPage(currentPage() + 1);
}

void PageNavigator::previousPage() {
    if (canPrevious()) goToPage(currentPage() - 1);
}

void PageNavigator::firstPage() {
    if (table_.empty()) return;
    if (currentPage() > 1) saveBackTarget();
    goToPage(1);
}

void PageNavigator::lastPage() {
    if (table_.empty()) return;
    if (currentPage() < pageCount()) saveBackTarget();
    goToPage(pageCount());
}

// Back goes to the saved page and saves the page it left, so that Back
// again returns there.
void PageNavigator::back() {
    if (!canBack()) return;
    const int left = currentPage();
    goToPage(table_.backTarget());
    table_.setBackTarget(left);
    notify();
}

void PageNavigator::nextSelected() {
    for (int page = currentPage() + 1; page <= pageCount(); ++page) {
        if (table_.word(page).has(PageWord::kSelected)) return goToPage(page);
    }
}

void PageNavigator::previousSelected() {
    for (int page = currentPage() - 1; page >= 1; --page) {
        if (table_.word(page).has(PageWord::kSelected)) return goToPage(page);
    }
}

void PageNavigator::jumpTo(int page) {
    if (page < 1 || page > pageCount() || page == currentPage()) return;
    saveBackTarget();
    goToPage(page);
}

void PageNavigator::chooseFromList(int page) {
    if (page < 1 || page > pageCount() || page == currentPage()) return;
    saveBackTarget();
    goToPage(page);
}

bool PageNavigator::currentSelected() const {
    return !table_.empty() && table_.word(0).has(PageWord::kSelected);
}

void PageNavigator::toggleCurrentSelection() {
    if (table_.empty()) return;
    table_.select(0, !currentSelected());
    notify();
}

void PageNavigator::toggleSelection(int page) {
    if (page < 1 || page > pageCount()) return;
    table_.select(page, !table_.word(page).has(PageWord::kSelected));
    notify();
}

void PageNavigator::selectAll() {
    if (table_.empty()) return;
    table_.selectAll(true);
    notify();
}

void PageNavigator::clearSelection() {
    if (table_.empty()) return;
    table_.selectAll(false);
    notify();
}

void PageNavigator::invertSelection() {
    if (table_.empty()) return;
    table_.invertSelection();
    notify();
}

bool PageNavigator::canClearPrinted() const {
    return table_.counts().printed + table_.counts().printError > 0;
}

bool PageNavigator::canClearSent() const { return table_.counts().sent + table_.counts().sendError > 0; }

void PageNavigator::clearPrintedMarks() {
    table_.clearPrintedMarks();
    notify();
}

void PageNavigator::clearSentMarks() {
    table_.clearSentMarks();
    notify();
}

std::string PageNavigator::pageCounterText() const {
    if (document_.unsavedPage()) return "[現頁  ---]";
    if (table_.empty()) return "[現頁    /  ]";
    const std::string prefix = currentSelected() ? "[現頁 *" : "[現頁  ";
    return prefix + std::to_string(currentPage()) + "/" + std::to_string(pageCount()) + "]";
}

std::string PageNavigator::selectionCounterText() const {
    if (table_.empty()) return "[選択  ]";
    return "[選択 " + std::to_string(table_.counts().selected) + "]";
}

PageListRow PageNavigator::makeRow(int page, const OpenFileEntry& entry, int indexInFile) const {
    PageListRow row;
    row.page = page;
    const PageWord word = table_.word(page);
    row.selected = word.has(PageWord::kSelected);
    char number[32];
    std::snprintf(number, sizeof number, pageCount() < 1000 ? " %03u" : " %04u", unsigned(page));
    row.pageAndName = number;
    row.pageAndName += kIdeographicSpaces;
    row.pageAndName += files::fileNameOf(entry.path);
    if (entry.pages > 1) {
        std::snprintf(number, sizeof number, "(%u/%u)", unsigned(indexInFile), unsigned(entry.pages));
        row.pageAndName += number;
    }
    row.printed = statusText(word.has(PageWord::kPrinted), word.has(PageWord::kPrintError));
    row.sent = statusText(word.has(PageWord::kSent), word.has(PageWord::kSendError));
    row.folder = files::folderOf(entry.path);
    return row;
}

PageListRow PageNavigator::pageListRow(int page) const {
    if (page < 1 || page > pageCount()) return {};
    int first = 1, file = 1;
    while (first + table_.entry(file).pages <= page) first += table_.entry(file++).pages;
    return makeRow(page, table_.entry(file), page - first + 1);
}

// The rows are made walking the files once, so long lists stay quick.
std::vector<PageListRow> PageNavigator::pageListRows(ListMode mode) const {
    std::vector<PageListRow> rows;
    int page = 1;
    for (int file = 1; file <= table_.fileCount(); ++file) {
        const OpenFileEntry& entry = table_.entry(file);
        for (int i = 1; i <= entry.pages; ++i, ++page) {
            if (mode == ListMode::Selected && !table_.word(page).has(PageWord::kSelected)) continue;
            rows.push_back(makeRow(page, entry, i));
        }
    }
    return rows;
}

}  // namespace lumipage
