// The main window's placement, closing and the requests of other copies.
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "app/CommandLine.h"
#include "app/InstanceRequestHandler.h"
#include "base/Settings.h"
#include "app/WindowPlacement.h"
#include "document/CLP98Doc.h"
#include "fax/CLP98FAX.h"
#include "app/CoreSession.h"
#include "gui/CMainFrame.h"

#include "document/PageFileOperations.h"
#include "gui/PageWidget.h"

namespace lumipage {

namespace {

ViewRect toViewRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect toQRect(const ViewRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

}  // namespace

// A size asked on the command line wins over the stored placement; a
// stored placement is pulled back into the work area.
void CMainFrame::applyPlacement() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect full = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QRect work = screen ? screen->availableGeometry() : full;
    if (const auto asked = requestedWindowRect(startup_, {full.width(), full.height()})) {
        setGeometry(toQRect(*asked));
        return;
    }
    const auto stored = settings_.windowPos ? WindowPlacement::parse(*settings_.windowPos) : std::nullopt;
    if (!stored) return;
    WindowPlacement placement = *stored;
    placement.fitInto(toViewRect(work));
    setGeometry(toQRect(placement.normal));
    if (placement.isMaximised()) setWindowState(windowState() | Qt::WindowMaximized);
}

// The tool bar goes back to the side (or the floating place) it had at the last exit.
void CMainFrame::restoreToolBar() {
    if (!settings_.toolBarState) return;
    restoreState(QByteArray::fromBase64(QByteArray::fromStdString(*settings_.toolBarState)));
}

void CMainFrame::storeToolBar() { settings_.toolBarState = saveState().toBase64().toStdString(); }

void CMainFrame::showPlaced() {
    applyPlacement();
    if (startup_.windowSizeMode == 2) setWindowState(windowState() | Qt::WindowMaximized);
    show();
    showCurrentPage();
}

void CMainFrame::storePlacement() {
    const bool maximised = isMaximized();
    const QRect normal = maximised ? normalGeometry() : geometry();
    settings_.windowPos = WindowPlacement::atExit(toViewRect(normal), maximised).format();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // While the page's file is out with its editor the window waits for it and stays.
    if (session_->editingPageFile()) {
        event->ignore();
        return;
    }
    // During a fax call the call is cancelled first (hung up, port closed,
    // the page marked); the window closes when the call has ended.
    if (faxCallRunning_) {
        closeAfterFax_ = true;
        fax().link().requestAbort();
        event->ignore();
        return;
    }
    storeColourDialogAtExit();
    storeCommentDialogAtExit();
    storeOpenDialogAtExit();
    document_.index().savePrompt();
    if (!startup_.noSave) {
        storePlacement();
        storeToolBar();
    }
    event->accept();
}

int CMainFrame::request(uint32_t code, std::span<const uint8_t> data) {
    const int answer = requests_->handleRequest(int32_t(code), data);
    refresh();
    return answer;
}

}  // namespace lumipage
