#include "gui/PageWidget.h"

#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>

#include "gui/ViewCursors.h"
#include "view/CLP98View.h"

namespace lumipage {

namespace {

QColor toQColor(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

QRect toQRect(const ViewRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

QList<QRgb> colourTable(const CDIB& bitmap) {
    const int count = bitmap.bitsPerPixel() == 1 ? 2 : bitmap.bitsPerPixel() == 4 ? 16 : 256;
    QList<QRgb> table(count);
    for (int i = 0; i < count; ++i) {
        const CDIB::RgbQuad q = bitmap.palette()[size_t(i)];
        table[i] = qRgb(q.red, q.green, q.blue);
    }
    return table;
}

// The bitmap's rows as an image. 1- and 8-bit rows are used where they
// stand; 4-bit rows are widened to a byte a pixel, which Qt can paint.
QImage imageOf(const CDIB& bitmap, std::vector<uint8_t>& widened) {
    const int w = bitmap.width(), h = bitmap.height();
    QImage image;
    switch (bitmap.bitsPerPixel()) {
        case 1: image = QImage(bitmap.rowAddress(0), w, h, int(bitmap.stride()), QImage::Format_Mono); break;
        case 8: image = QImage(bitmap.rowAddress(0), w, h, int(bitmap.stride()), QImage::Format_Indexed8); break;
        case 4: {
            const size_t stride = (size_t(w) + 3) & ~size_t(3);
            widened.resize(stride * size_t(h));
            for (int y = 0; y < h; ++y) COSBView::expandFourBitRow(bitmap.rowAddress(y), w, &widened[stride * size_t(y)]);
            image = QImage(widened.data(), w, h, int(stride), QImage::Format_Indexed8);
            break;
        }
        default: return {};
    }
    image.setColorTable(colourTable(bitmap));
    return image;
}

}  // namespace

PageWidget::PageWidget(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setObjectName("LP98View");
    viewport()->setMouseTracking(true);
    cursors_ = std::make_unique<ViewCursors>();
}

PageWidget::~PageWidget() = default;

ViewSize PageWidget::clientSize() const { return {viewport()->width(), viewport()->height()}; }

void PageWidget::invalidate() { viewport()->update(); }
void PageWidget::invalidateRect(const ViewRect& r) { viewport()->update(toQRect(r)); }
void PageWidget::updateNow() { viewport()->repaint(); }

void PageWidget::scrollStateChanged() {
    syncScrollBars();
    viewport()->update();
}

void PageWidget::setStatusText(int pane, const std::string& text) {
    if (status_) status_(pane, text);
}

void PageWidget::setCursor(Cursor cursor) {
    if (cursor == Cursor::Wait) QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

Colour PageWidget::systemColour(SystemColour which) const {
    // The desktop's document colours: the background and text of the
    // program's text areas.
    const QPalette p = QApplication::palette();
    const QColor c = which == SystemColour::Window       ? p.color(QPalette::Base)
                     : which == SystemColour::WindowText ? p.color(QPalette::Text)
                                                         : p.color(QPalette::Dark);
    return rgb(c.red(), c.green(), c.blue());
}

void PageWidget::syncScrollBars() {
    if (!view_) return;
    syncing_ = true;
    const ViewPoint most = view_->maxScroll();
    const ViewPoint at = view_->scrollPosition();
    horizontalScrollBar()->setRange(0, most.x);
    verticalScrollBar()->setRange(0, most.y);
    horizontalScrollBar()->setPageStep(std::max(1, view_->pageSize().cx));
    verticalScrollBar()->setPageStep(std::max(1, view_->pageSize().cy));
    horizontalScrollBar()->setSingleStep(std::max(1, view_->lineSize().cx));
    verticalScrollBar()->setSingleStep(std::max(1, view_->lineSize().cy));
    horizontalScrollBar()->setValue(at.x);
    verticalScrollBar()->setValue(at.y);
    syncing_ = false;
}

void PageWidget::scrollContentsBy(int, int) {
    if (syncing_ || !view_) return;
    view_->userScrollTo({horizontalScrollBar()->value(), verticalScrollBar()->value()});
    viewport()->update();
}

QImage PageWidget::bitmapImage() const {
    if (!view_ || !view_->hasBitmap()) return {};
    std::vector<uint8_t> widened;
    return imageOf(view_->bitmap(), widened).copy();
}

void PageWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect clip = event->rect();
    if (!view_) {
        painter.fillRect(clip, toQColor(systemColour(SystemColour::AppWorkspace)));
        return;
    }
    const QColor workspace = toQColor(systemColour(SystemColour::AppWorkspace));
    for (const COSBView::Fill& fill : view_->background())
        painter.fillRect(toQRect(fill.rect), fill.kind == COSBView::FillKind::Shadow
                                                  ? toQColor(COSBView::kShadowColour)
                                                  : workspace);
    const ViewRect want{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1};
    if (const auto blit = view_->DrawOffscreen(want)) {
        std::vector<uint8_t> widened;
        const QImage image = imageOf(view_->bitmap(), widened);
        painter.drawImage(QPoint(blit->target.x, blit->target.y), image, toQRect(blit->source));
    }
    if (const auto frame = view_->frameOnScreen()) {
        painter.setPen(QColor(0, 255, 255));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(toQRect(*frame).adjusted(0, 0, -1, -1));
    }
    view_->OnDraw();
}

void PageWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (!view_) return;
    // A resize of the shown window in its normal state is the user's sizing;
    // maximising and restoring are not.
    const bool byUser = std::exchange(userSizing_, false) ||
                        (window()->isVisible() && window()->windowState() == Qt::WindowNoState);
    const int command = view_->OnSize(byUser);
    syncScrollBars();
    if (command != 0 && resized_) resized_(command);
}

void PageWidget::keyPressEvent(QKeyEvent* event) {
    if (view_) view_->flushPendingPaint();
    if (keys_ && keys_(event)) return;
    QAbstractScrollArea::keyPressEvent(event);
}

}  // namespace lumipage
