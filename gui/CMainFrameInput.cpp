// The main window's keys, dropped files and dialogs.
#include <algorithm>
#include <optional>

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "base/CommandIds.h"
#include "app/CommandLine.h"
#include "app/KeyTable.h"
#include "base/Settings.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "gui/CMainFrame.h"
#include "gui/DialogPlacement.h"
#include "gui/dialogs/PageJumpDialog.h"
#include "gui/dialogs/PageListDialog.h"
#include "gui/PageWidget.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {

using namespace command;

namespace {

KeyModifier modifierOf(const QKeyEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) return KeyModifier::Control;
    if (e->modifiers() & Qt::ShiftModifier) return KeyModifier::Shift;
    return KeyModifier::None;
}

std::optional<ViewKey> viewKeyOf(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return ViewKey::Enter;
        case Qt::Key_Escape: return ViewKey::Escape;
        case Qt::Key_PageUp: return ViewKey::PageUp;
        case Qt::Key_PageDown: return ViewKey::PageDown;
        case Qt::Key_Home: return ViewKey::Home;
        case Qt::Key_End: return ViewKey::End;
        case Qt::Key_Left: return ViewKey::Left;
        case Qt::Key_Right: return ViewKey::Right;
        case Qt::Key_Up: return ViewKey::Up;
        case Qt::Key_Down: return ViewKey::Down;
        case Qt::Key_Insert: return ViewKey::Insert;
        case Qt::Key_F1: return ViewKey::F1;
        case Qt::Key_F2: return ViewKey::F2;
        case Qt::Key_F3: return ViewKey::F3;
        case Qt::Key_F4: return ViewKey::F4;
        case Qt::Key_F5: return ViewKey::F5;
        case Qt::Key_F6: return ViewKey::F6;
        case Qt::Key_F7: return ViewKey::F7;
        case Qt::Key_F8: return ViewKey::F8;
        case Qt::Key_F9: return ViewKey::F9;
        case Qt::Key_F11: return ViewKey::F11;
        case Qt::Key_F12: return ViewKey::F12;
        default: return std::nullopt;
    }
}

}  // namespace

KeyContext CMainFrame::keyContext() const {
    KeyContext c;
    c.fileFunctions = shape_.fileMenu;
    c.scanning = shape_.scanMenus;
    c.fax = shape_.faxMenu;
    c.enableEscKey = settings_.enableEscKey != 0;
    c.topRightStart = settings_.pageStartPosition == 3;
    c.pageShown = view_->pageShown();
    c.anySelected = table_.counts().selected > 0;
    return c;
}

// The page view's keys. Anything waiting to be painted is painted first, so
// a key acts on what the user sees; typed characters are ignored while a
// repaint is still pending.
bool CMainFrame::handleKey(QKeyEvent* e) {
    view_->flushPendingPaint();
    const KeyModifier m = modifierOf(e);
    // Ctrl+P prints like the menu's print command.
    if (e->key() == Qt::Key_P && m == KeyModifier::Control) return runKeyAction({KeyAction::Kind::Command, kPrintAll});
    if (const std::optional<ViewKey> key = viewKeyOf(e->key())) {
        return runKeyAction(keyAction(*key, m, keyContext()), e->isAutoRepeat());
    }
    const QString text = e->text();
    if (text.size() != 1 || text[0].unicode() >= 0x80 || m == KeyModifier::Control) return false;
    if (view_->repaintPending()) return true;
    return runKeyAction(characterAction(char(text[0].unicode()), m == KeyModifier::Shift, keyContext()));
}

bool CMainFrame::runKeyAction(const KeyAction& action, bool autoRepeat) {
    using Kind = KeyAction::Kind;
    CLP98View& v = *view_;
    switch (action.kind) {
        case Kind::None: return false;
        case Kind::Command: runCommand(action.command); return true;
        case Kind::ScrollHorizontal: v.ScrollHorizontal(action.a); break;
        case Kind::ScrollVertical: v.ScrollVertical(action.a); break;
        case Kind::ScrollToEdges: v.ScrollToEdges(action.a, action.b); break;
        case Kind::CommandThenEdges:
            runCommand(action.command);
            v.ScrollToEdges(action.a, action.b);
            break;
        case Kind::EnterKey:
            v.enterKey(autoRepeat ? CLP98View::KeyPress::AutoRepeat : CLP98View::KeyPress::First);
            refresh();
            return true;
        case Kind::PointerAboveClient: {
            // Out of the way of the page: just above the view, inside its sides.
            const QPoint at = page_->viewport()->mapFromGlobal(QCursor::pos());
            const int width = page_->viewport()->width();
            const int x = width > 20 ? std::clamp(at.x(), 10, width - 10) : width / 2;
            page_->movePointer({x, -10});
            return true;
        }
        case Kind::PointerToCorner: page_->movePointer({10, -10}); return true;
        case Kind::ZoomModeToggle:
            runCommand(v.zoomByMouse() || !v.zoomFrameMode() ? kZoomFrame : kZoomByMouse);
            return true;
    }
    page_->scrollStateChanged();
    return true;
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
    dialog.adjustSize();
    placeDialog(dialog, settings_.fileOpenDlg, *this);
    if (settings_.autoMousePos) QTimer::singleShot(0, &dialog, [&dialog] { movePointerInto(dialog); });
    const int result = dialog.exec();
    if (settings_.saveDialogPos) settings_.fileOpenDlg = placementEntry(dialog, startup_.filerMode);
    if (result != QDialog::Accepted) return;
    std::vector<std::string> paths;
    for (const QString& path : dialog.selectedFiles()) paths.push_back(path.toStdString());
    if (paths.empty()) return;
    settings_.openPath = QFileInfo(QString::fromStdString(paths.front())).absolutePath().toStdString();
    openFiles(paths);
}

// The open dialog is never open at exit; in filer mode it is the way of
// working, so its entry asks for it again at the next start.
void CMainFrame::storeOpenDialogAtExit() {
    if (startup_.noSave || !settings_.saveDialogPos || !settings_.fileOpenDlg) return;
    if (!startup_.filerMode) settings_.fileOpenDlg = closedEntry(settings_.fileOpenDlg);
}

void CMainFrame::openFiles(const std::vector<std::string>& paths) {
    document_.openChosen(paths);
    refresh();
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
    document_.openDropped(paths);
    refresh();
}

}  // namespace lumipage
