// The main window's keys, dropped files and dialogs.
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include "app/CommandIds.h"
#include "app/Settings.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "gui/CMainFrame.h"
#include "gui/PageJumpDialog.h"
#include "gui/PageListDialog.h"
#include "gui/PageWidget.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {

using namespace command;

namespace {

enum class Modifier { None, Shift, Control };

Modifier modifierOf(const QKeyEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) return Modifier::Control;
    if (e->modifiers() & Qt::ShiftModifier) return Modifier::Shift;
    return Modifier::None;
}

}  // namespace

// Keys that need a page do nothing without one; the command handlers
// check that themselves.
bool CMainFrame::handleKey(QKeyEvent* e) {
    CLP98View& v = *view_;
    const Modifier m = modifierOf(e);
    const bool startEdge = settings_.pageStartPosition != 3;
    auto run = [this](int id) { runCommand(id); return true; };
    auto scroll = [&](bool horizontal, int line, int page, int end) {
        const int code = m == Modifier::Control ? end : m == Modifier::Shift ? page : line;
        horizontal ? v.ScrollHorizontal(code) : v.ScrollVertical(code);
        page_->scrollStateChanged();
        return true;
    };
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: v.enterKey(e->isAutoRepeat()); refresh(); return true;
        case Qt::Key_Escape:
            if (settings_.enableEscKey) postCommand(kExit);
            return true;
        case Qt::Key_PageUp:
            return run(m == Modifier::Control ? kFirstPage : m == Modifier::Shift ? kPreviousSelected : kPreviousPage);
        case Qt::Key_PageDown:
            return run(m == Modifier::Control ? kLastPage : m == Modifier::Shift ? kNextSelected : kNextPage);
        case Qt::Key_Home:
            runCommand(kFirstPage);
            v.ScrollToEdges(startEdge ? CLP98View::kEdgeStart : CLP98View::kEdgeEnd, CLP98View::kEdgeStart);
            return true;
        case Qt::Key_End:
            runCommand(kLastPage);
            v.ScrollToEdges(startEdge ? CLP98View::kEdgeEnd : CLP98View::kEdgeStart, CLP98View::kEdgeEnd);
            return true;
        case Qt::Key_Left: return scroll(true, CLP98View::kLineUp, CLP98View::kPageUp, CLP98View::kTop);
        case Qt::Key_Right: return scroll(true, CLP98View::kLineDown, CLP98View::kPageDown, CLP98View::kBottom);
        case Qt::Key_Up: return scroll(false, CLP98View::kLineUp, CLP98View::kPageUp, CLP98View::kTop);
        case Qt::Key_Down: return scroll(false, CLP98View::kLineDown, CLP98View::kPageDown, CLP98View::kBottom);
        case Qt::Key_F1: return run(kOpen);
        case Qt::Key_F4: return run(kFaxSend);
        case Qt::Key_F7: return run(kFitTwicePageWidth);
        case Qt::Key_F8: return run(kFitPageWidth);
        case Qt::Key_F9: return run(kFitWholePage);
        case Qt::Key_F6:
            return run(m == Modifier::Control ? kPrintScreen : m == Modifier::Shift ? kPrintSelected : kPrintAll);
        case Qt::Key_F11: return run(kContents);
        case Qt::Key_F12: return run(kKeywordIndex);
        case Qt::Key_P:
            if (m == Modifier::Control) return run(kPrintAll);
            if (m == Modifier::None) return run(table_.counts().selected > 0 ? kPrintSelected : kPrintAll);
            return false;
        default: return handleCharacter(e);
    }
}

bool CMainFrame::handleCharacter(QKeyEvent* e) {
    const QString text = e->text().toUpper();
    if (text.size() != 1) return false;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    auto run = [this](int id) { runCommand(id); return true; };
    switch (text[0].unicode()) {
        case ' ':
            if (shift) return run(kToggleSelection);
            return run(view_->zoomByMouse() || !view_->zoomFrameMode() ? kZoomFrame : kZoomByMouse);
        case '*': return run(kFitTwicePageWidth);
        case '+': case 'U': return run(kZoomIn);
        case '-': case 'Y': return run(kZoomOut);
        case '/': return run(kFitWholePage);
        case '=': return run(kFitPageWidth);
        case 'L': return run(kTurnLeft);
        case 'R': return run(kTurnRight);
        case 'I': return run(kTurnHalf);
        case 'O': return run(kOpen);
        default: return false;
    }
}

void CMainFrame::moveMouseToCentre() {
    if (settings_.autoMousePos) QCursor::setPos(page_->mapToGlobal(page_->rect().center()));
}

void CMainFrame::openJumpDialog() {
    moveMouseToCentre();
    PageJumpDialog dialog(navigator_->pageCount(), navigator_->currentPage(), this);
    if (dialog.exec() == QDialog::Accepted) navigator_->jumpTo(dialog.value());
}

void CMainFrame::openPageList(bool selectedOnly) {
    moveMouseToCentre();
    PageListDialog dialog(*navigator_, selectedOnly ? PageListDialog::Mode::SelectedPages : PageListDialog::Mode::AllPages,
                          this);
    dialog.exec();
    refresh();
}

// Several files may be chosen; they join the page list in the order chosen
// and their folder becomes the one the dialog starts in next time.
void CMainFrame::openWithDialog() {
    QFileDialog dialog(this, "開く", QString::fromStdString(settings_.openPath));
    dialog.setObjectName("openDialog");
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({"画像ファイル (*.tif *.tiff *.mh* *.bw* *.fax *.bmp *.lpx *.lpb *.TIF *.TIFF *.MH* *.BW* "
                           "*.FAX *.BMP *.LPX *.LPB)",
                           "すべてのファイル (*)"});
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<std::string> paths;
    for (const QString& path : dialog.selectedFiles()) paths.push_back(path.toStdString());
    if (paths.empty()) return;
    settings_.openPath = QFileInfo(QString::fromStdString(paths.front())).absolutePath().toStdString();
    openFiles(paths);
}

void CMainFrame::openFiles(const std::vector<std::string>& paths) {
    document_.openChosen(paths);
    showCurrentPage();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    if (paths.empty()) return;
    event->acceptProposedAction();
    activateWindow();
    openFiles(paths);
}

}  // namespace lumipage
