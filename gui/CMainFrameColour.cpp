// The colour adjustment command: it opens and closes the modeless colour
// dialog, whose changes reach the view and the other running copies at once.
#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include "base/CommandIds.h"
#include "app/CommandLine.h"
#include "app/DialogPosition.h"
#include "base/Settings.h"
#include "gui/CMainFrame.h"
#include "gui/PageWidget.h"
#include "gui/dialogs/ColourDialog.h"
#include "view/CLP98View.h"
#include "view/ColourAdjustment.h"

namespace lumipage {

namespace {

Colour fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }
QColor toQColor(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

// The desktop colours of this program: the background and text of its
// document areas (the colours paper and ink mode 1 show) and its button text.
ColourAdjustment::SystemColours readPalette() {
    const QPalette p = QApplication::palette();
    return {fromQColor(p.color(QPalette::Base)), fromQColor(p.color(QPalette::Text)),
            fromQColor(p.color(QPalette::ButtonText))};
}

bool writePalette(const ColourAdjustment::SystemColours& c) {
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Base, toQColor(c.window));
    p.setColor(QPalette::Text, toQColor(c.windowText));
    p.setColor(QPalette::ButtonText, toQColor(c.buttonText));
    QApplication::setPalette(p);
    return true;
}

bool onSomeScreen(const QPoint& p) {
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().contains(p)) return true;
    return false;
}

}  // namespace

void CMainFrame::addColourHandlers() {
    router().setHandler(command::kColourAdjustment, [this] {
        if (colourDialogOpen()) colourDialog_->accept();
        else openColourDialog();
    });
}

bool CMainFrame::colourDialogOpen() const { return colourDialog_ && colourDialog_->isVisible(); }

void CMainFrame::coloursChanged() {
    view_->RefreshColours();
    refresh();
}

void CMainFrame::setColourBroadcaster(std::function<void()> broadcast) { colourBroadcast_ = std::move(broadcast); }

void CMainFrame::openColourDialog() {
    if (!colourDialog_) {
        ColourAdjustment::Host host;
        host.systemColour = [this](ColourAdjustment::Side side) {
            return page_->systemColour(side == ColourAdjustment::Side::Paper ? ViewHost::SystemColour::Window
                                                                             : ViewHost::SystemColour::WindowText);
        };
        host.refreshColours = [this] { coloursChanged(); };
        host.broadcast = [this](const Settings&) {
            if (colourBroadcast_) colourBroadcast_();
        };
        host.readSystemColours = readPalette;
        host.writeSystemColours = writePalette;
        colourAdjustment_ = std::make_unique<ColourAdjustment>(settings_, std::move(host));
        colourDialog_ = new ColourDialog(*colourAdjustment_, this);
        colourDialog_->setViewKeyHandler([this](QKeyEvent* e) { return handleKey(e); });
        colourDialog_->setClosedHandler([this](bool remember) { colourDialogClosed(remember); });
    }
    colourDialog_->openAdjustment();
    placeColourDialog();
    colourDialog_->show();
    colourDialog_->raise();
    colourDialog_->activateWindow();
    refresh();
}

// Where the dialog stood last time, when that is known and still on a
// screen; else the middle of the main window.
void CMainFrame::placeColourDialog() {
    colourDialog_->adjustSize();
    const auto stored = settings_.paperColorDlg ? DialogPosition::parse(*settings_.paperColorDlg) : std::nullopt;
    if (stored && onSomeScreen(QPoint(stored->rect.left, stored->rect.top))) {
        colourDialog_->move(stored->rect.left, stored->rect.top);
        return;
    }
    QRect r = colourDialog_->frameGeometry();
    r.moveCenter(frameGeometry().center());
    colourDialog_->move(r.topLeft());
}

void CMainFrame::colourDialogClosed(bool rememberPosition) {
    if (rememberPosition || settings_.saveDialogPos) storeColourDialogPosition(false);
    page_->setFocus();
    refresh();
}

// At exit the entry also says whether the dialog was open, so that it
// comes back at the next start.
void CMainFrame::storeColourDialogPosition(bool open) {
    if (!colourDialog_) {
        if (settings_.paperColorDlg)
            if (auto stored = DialogPosition::parse(*settings_.paperColorDlg); stored && stored->open) {
                stored->open = false;
                settings_.paperColorDlg = stored->format();
            }
        return;
    }
    const QRect r = colourDialog_->frameGeometry();
    settings_.paperColorDlg = DialogPosition{open, ViewRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}}.format();
}

void CMainFrame::storeColourDialogAtExit() {
    if (colourDialog_ && colourDialog_->isMinimized()) colourDialog_->showNormal();
    if (!startup_.noSave && settings_.saveDialogPos) storeColourDialogPosition(colourDialogOpen());
    if (colourDialog_) colourDialog_->leaveWithWindow();
}

}  // namespace lumipage
