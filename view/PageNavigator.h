#pragma once
#include <functional>
#include <string>
#include <vector>

namespace lumipage {

class CLP98Doc;
class CLP98View;
class OpenFileTable;
struct OpenFileEntry;

// One row of the page list dialog.
struct PageListRow {
    int page = 0;
    bool selected = false;
    std::string pageAndName;  // " 007　　name.MH(2/3)"
    std::string printed;      // "済", "ｴﾗｰ" or " "
    std::string sent;
    std::string folder;
};

// Moving between the pages of the page list and marking them: next,
// previous, first, last, jump, back, the selected pages, and the two
// counters the menu bar shows. Every page change ends in the view showing
// the new current page; then the window is told to refresh its caption and
// counters.
class PageNavigator {
public:
    PageNavigator(OpenFileTable& table, CLP98Doc& document, CLP98View& view)
        : table_(table), document_(document), view_(view) {}

    // Called after every page or mark change (caption, counters, buttons).
    void setChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

    int pageCount() const;
    int currentPage() const;
    int backTarget() const;

    // Goes to global page `page` (clamped); with force the page is loaded
    // again even when it is current. A page that cannot be loaded closes
    // its file.
    void goToPage(int page, bool force = false);
    void saveBackTarget();

    // The navigation commands and when they are offered.
    void nextPage();
    void previousPage();
    void firstPage();
    void lastPage();
    void back();
    void nextSelected();
    void previousSelected();
    // The jump dialog's OK with the page typed in.
    void jumpTo(int page);
    // A choice in the page list dialog.
    void chooseFromList(int page);
    bool canNext() const;
    bool canPrevious() const;
    bool canFirst() const { return canPrevious(); }
    bool canLast() const { return canNext(); }
    bool canJump() const { return pageCount() > 1; }
    bool canBack() const;
    bool canNextSelected() const;
    bool canPreviousSelected() const;
    bool canListPages() const { return pageCount() > 0; }
    bool canListSelected() const;

    // Selection and marks.
    void toggleCurrentSelection();
    void selectAll();
    void clearSelection();
    void invertSelection();
    void clearPrintedMarks();
    void clearSentMarks();
    // The selected mark of one page, as the page list dialog's Space does.
    void toggleSelection(int page);
    bool currentSelected() const;
    bool canClearPrinted() const;
    bool canClearSent() const;

    // The menu-bar counters.
    std::string pageCounterText() const;
    std::string selectionCounterText() const;

    // The page list dialog's rows: all pages, or the selected ones.
    enum class ListMode { All = 0, Selected = 1 };
    std::vector<PageListRow> pageListRows(ListMode mode) const;
    PageListRow pageListRow(int page) const;

private:
    void notify();
    PageListRow makeRow(int page, const OpenFileEntry& entry, int indexInFile) const;

    OpenFileTable& table_;
    CLP98Doc& document_;
    CLP98View& view_;
    std::function<void()> changed_;
};

}  // namespace lumipage
