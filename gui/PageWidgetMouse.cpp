// The page widget's mouse: events to the view's mouse handling, and the
// timers, pointer moves, shapes and grabs it asks for.
#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTimer>

#include "gui/PageWidget.h"
#include "gui/ViewCursors.h"
#include "view/CLP98View.h"
#include "view/ViewMouse.h"

namespace lumipage {

namespace {

ViewMouse::Event eventOf(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return {{p.x(), p.y()}, bool(e->modifiers() & Qt::ShiftModifier), bool(e->modifiers() & Qt::ControlModifier)};
}

}  // namespace

void PageWidget::setMouse(ViewMouse* mouse, MouseCommands commands) {
    if (!mouse) releasePointer();
    mouse_ = mouse;
    mouseCommands_ = std::move(commands);
    for (int id = 1; id < int(timers_.size()); ++id) {
        if (timers_[size_t(id)]) continue;
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (mouse_) mouse_->timerFired(id);
        });
        timers_[size_t(id)] = timer;
    }
}

void PageWidget::startHoldTimer(int id, int milliseconds) {
    if (id > 0 && id < int(timers_.size()) && timers_[size_t(id)]) timers_[size_t(id)]->start(milliseconds);
}

void PageWidget::killHoldTimer(int id) {
    if (id > 0 && id < int(timers_.size()) && timers_[size_t(id)]) timers_[size_t(id)]->stop();
}

// The pointer may be sent just above the page (onto the tool bar) but never
// out of the program's window.
void PageWidget::movePointer(ViewPoint client) {
    const QPoint global = viewport()->mapToGlobal(QPoint(client.x, client.y));
    const QRect frame = window()->frameGeometry();
    QCursor::setPos(std::clamp(global.x(), frame.left(), frame.right()),
                    std::clamp(global.y(), frame.top(), frame.bottom()));
}

void PageWidget::setCursorId(int id) {
    cursorId_ = id;
    viewport()->setCursor(cursors_->cursor(id));
}

// Only the shown, active window grabs the pointer, so that no other window
// of the program is left without it.
void PageWidget::capturePointer() {
    if (grabbed_ || !isVisible() || !window()->isActiveWindow()) return;
    viewport()->grabMouse();
    grabbed_ = true;
}

void PageWidget::releasePointer() {
    if (!grabbed_) return;
    grabbed_ = false;
    viewport()->releaseMouse();
}

bool PageWidget::overOtherWindow(ViewPoint client) const {
    const QWidget* top = QApplication::topLevelAt(viewport()->mapToGlobal(QPoint(client.x, client.y)));
    return top && top != window();
}

bool PageWidget::runCommand(int id) { return mouseCommands_.run && mouseCommands_.run(id); }

void PageWidget::viewChanged() {
    if (mouseCommands_.changed) mouseCommands_.changed();
}

int PageWidget::pageCount() const { return mouseCommands_.pageCount ? mouseCommands_.pageCount() : 0; }
int PageWidget::currentPage() const { return mouseCommands_.currentPage ? mouseCommands_.currentPage() : 0; }
bool PageWidget::fileFunctions() const { return mouseCommands_.fileFunctions; }

void PageWidget::mouseButton(QMouseEvent* event, bool pressed) {
    const Qt::MouseButton b = event->button();
    if (!mouse_ || !view_ || (b != Qt::LeftButton && b != Qt::RightButton)) {
        pressed ? QAbstractScrollArea::mousePressEvent(event) : QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    if (pressed) view_->flushPendingPaint();
    const ViewMouse::Button button = b == Qt::LeftButton ? ViewMouse::Button::Left : ViewMouse::Button::Right;
    pressed ? mouse_->press(button, eventOf(event)) : mouse_->release(button, eventOf(event));
    event->accept();
}

void PageWidget::mousePressEvent(QMouseEvent* event) { mouseButton(event, true); }
void PageWidget::mouseDoubleClickEvent(QMouseEvent* event) { mouseButton(event, true); }
void PageWidget::mouseReleaseEvent(QMouseEvent* event) { mouseButton(event, false); }

void PageWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!mouse_ || !view_) return QAbstractScrollArea::mouseMoveEvent(event);
    mouse_->move(eventOf(event));
    event->accept();
}

void PageWidget::leaveEvent(QEvent* event) {
    if (mouse_) mouse_->left();
    QAbstractScrollArea::leaveEvent(event);
}

void PageWidget::hideEvent(QHideEvent* event) {
    if (mouse_) mouse_->releaseCapture();
    releasePointer();
    QAbstractScrollArea::hideEvent(event);
}

// A dialog that takes over the window gets the pointer.
void PageWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !window()->isActiveWindow()) {
        if (mouse_) mouse_->releaseCapture();
        releasePointer();
    }
    QAbstractScrollArea::changeEvent(event);
}

}  // namespace lumipage
