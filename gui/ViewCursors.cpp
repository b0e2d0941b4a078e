#include "gui/ViewCursors.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "view/CursorIds.h"

namespace lumipage {

namespace {

using namespace cursor_id;

// Shapes are black on a white rim so they show on paper and on ink alike;
// the rims of a shape's parts go down before any of its black.
QPen pen(const QColor& colour, qreal width) { return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void rimStroke(QPainter& p, const QPainterPath& path, qreal width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(Qt::white, width + 2));
    p.drawPath(path);
}

void inkStroke(QPainter& p, const QPainterPath& path, qreal width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(Qt::black, width));
    p.drawPath(path);
}

void rimFill(QPainter& p, const QPainterPath& path) {
    p.setPen(pen(Qt::white, 3.5));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void inkFill(QPainter& p, const QPainterPath& path, const QColor& fill) {
    p.setPen(pen(Qt::black, 1.5));
    p.setBrush(fill);
    p.drawPath(path);
}

void outline(QPainter& p, const QPainterPath& path, qreal width = 2) {
    rimStroke(p, path, width);
    inkStroke(p, path, width);
}

void filled(QPainter& p, const QPainterPath& path, const QColor& fill = Qt::white) {
    rimFill(p, path);
    inkFill(p, path, fill);
}

QPainterPath line(QPointF a, QPointF b) {
    QPainterPath path(a);
    path.lineTo(b);
    return path;
}

// A solid triangle pointing at `tip` from the direction of `from`.
QPainterPath head(QPointF from, QPointF tip, qreal size) {
    const qreal angle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
    const QPointF back = tip - QPointF(std::cos(angle), std::sin(angle)) * size;
    const QPointF side(-std::sin(angle) * size * 0.6, std::cos(angle) * size * 0.6);
    QPainterPath path;
    path.addPolygon(QPolygonF({tip, back + side, back - side, tip}));
    return path;
}

void arrow(QPainter& p, QPointF from, QPointF tip, qreal size = 7) {
    const QPainterPath shaft = line(from, tip), point = head(from, tip, size);
    rimStroke(p, shaft, 2.5);
    rimFill(p, point);
    inkStroke(p, shaft, 2.5);
    inkFill(p, point, Qt::black);
}

void magnifier(QPainter& p) {
    QPainterPath glass;
    glass.addEllipse(QPointF(12, 12), 8, 8);
    filled(p, glass);
    outline(p, line({18, 18}, {28, 28}), 4);
    QPainterPath plus = line({8, 12}, {16, 12});
    plus.addPath(line({12, 8}, {12, 16}));
    outline(p, plus, 1.5);
}

// A frame with an arrow out of each side.
void frameMove(QPainter& p) {
    QPainterPath frame;
    frame.addRect(10, 10, 12, 12);
    p.setPen(QPen(QColor(0, 160, 160), 2));
    p.setBrush(Qt::white);
    p.drawPath(frame);
    arrow(p, {16, 10}, {16, 1}, 5);
    arrow(p, {16, 22}, {16, 31}, 5);
    arrow(p, {10, 16}, {1, 16}, 5);
    arrow(p, {22, 16}, {31, 16}, 5);
}

// An open hand, fingers spread: the view is pushed.
void openHand(QPainter& p) {
    QPainterPath hand;
    hand.addRoundedRect(9, 15, 15, 13, 4, 4);
    for (int i = 0; i < 4; ++i) hand.addRoundedRect(9 + i * 4, 3 + (i == 0 || i == 3 ? 4 : 0), 3.5, 14, 1.7, 1.7);
    hand.addRoundedRect(3, 15, 9, 3.5, 1.7, 1.7);
    filled(p, hand.simplified());
}

// A closed hand holding the paper.
void fist(QPainter& p) {
    QPainterPath hand;
    hand.addRoundedRect(7, 11, 18, 16, 5, 5);
    filled(p, hand);
    for (int i = 0; i < 3; ++i) outline(p, line({11.5 + i * 4.5, 11}, {11.5 + i * 4.5, 17}), 1);
    outline(p, line({7, 20}, {17, 20}), 1);
}

void jumpCentre(QPainter& p) {
    QPainterPath cross = line({16, 4}, {16, 28});
    cross.addPath(line({4, 16}, {28, 16}));
    outline(p, cross, 1.5);
    QPainterPath dot;
    dot.addEllipse(QPointF(16, 16), 4, 4);
    filled(p, dot, Qt::black);
}

// Clockwise from up: 0 up, 1 up-right, ... 7 up-left.
void jumpArrow(QPainter& p, int direction) {
    const double angle = direction * std::numbers::pi / 4;
    const QPointF centre(16, 16), tip = centre + QPointF(std::sin(angle), -std::cos(angle)) * 14;
    QPainterPath dot;
    dot.addEllipse(centre, 2.5, 2.5);
    filled(p, dot, Qt::black);
    arrow(p, centre, tip, 8);
}

// A page with its folded corner on the reading side and its lines running
// the reading way.
void page(QPainter& p, bool rightToLeft) {
    QPainterPath sheet;
    if (!rightToLeft) sheet.addPolygon(QPolygonF({{10, 5}, {19, 5}, {23, 9}, {23, 27}, {10, 27}, {10, 5}}));
    else sheet.addPolygon(QPolygonF({{13, 5}, {22, 5}, {22, 27}, {9, 27}, {9, 9}, {13, 5}}));
    filled(p, sheet);
    for (int i = 0; i < 4; ++i) {
        if (!rightToLeft) outline(p, line({12.5, 12.0 + i * 4}, {20.5, 12.0 + i * 4}), 0.8);
        else outline(p, line({19.0 - i * 3, 11}, {19.0 - i * 3, 24}), 0.8);
    }
}

void pageTurn(QPainter& p, bool rightToLeft, bool towardsLeft, bool towardsRight) {
    page(p, rightToLeft);
    if (towardsLeft) filled(p, head({8, 16}, {1, 16}, 7), Qt::black);
    if (towardsRight) filled(p, head({24, 16}, {31, 16}, 7), Qt::black);
}

// An arrow back to the start of a line of reading, which the bar marks.
void backToStart(QPainter& p, bool vertical) {
    if (!vertical) {
        outline(p, line({3, 6}, {3, 26}), 3);
        arrow(p, {29, 16}, {6, 16}, 9);
    } else {
        outline(p, line({6, 3}, {26, 3}), 3);
        arrow(p, {16, 29}, {16, 6}, 9);
    }
}

// A corner mark with a small sign of what the corner opens: a folder, or
// a note for comments.
void corner(QPainter& p, bool topLeft) {
    const qreal x = topLeft ? 2 : 30, dx = topLeft ? 1 : -1;
    QPainterPath mark(QPointF(x, 14));
    mark.lineTo(x, 2);
    mark.lineTo(x + dx * 12, 2);
    outline(p, mark, 3);
    QPainterPath sign;
    if (topLeft) {
        sign.addPolygon(QPolygonF({{10, 14}, {16, 14}, {18, 16}, {28, 16}, {28, 28}, {10, 28}, {10, 14}}));
        filled(p, sign, QColor(255, 220, 120));
    } else {
        sign.addRoundedRect(4, 12, 20, 12, 3, 3);
        sign.addPolygon(QPolygonF({{8, 24}, {8, 30}, {14, 24}}));
        filled(p, sign.simplified());
        for (int i = 0; i < 2; ++i) outline(p, line({8, 16.0 + i * 4}, {20, 16.0 + i * 4}), 0.8);
    }
}

void draw(QPainter& p, int id) {
    switch (id) {
        case kZoom: magnifier(p); break;
        case kFrameDrag: frameMove(p); break;
        case kPushDrag: openHand(p); break;
        case kCatchDrag: fist(p); break;
        case kJumpCentre: jumpCentre(p); break;
        case kTurn: pageTurn(p, false, true, true); break;
        case kFirstPage: pageTurn(p, false, false, true); break;
        case kLastPage: pageTurn(p, false, true, false); break;
        case kTurnRightToLeft: pageTurn(p, true, true, true); break;
        case kFirstPageRightToLeft: pageTurn(p, true, true, false); break;
        case kLastPageRightToLeft: pageTurn(p, true, false, true); break;
        case kBackToLeftEdge: backToStart(p, false); break;
        case kBackToTop: backToStart(p, true); break;
        case kFileCorner: corner(p, true); break;
        case kCommentCorner: corner(p, false); break;
        default:
            if (id >= kJumpUp && id <= kJumpUpLeft) jumpArrow(p, id - kJumpUp);
            break;
    }
}

bool hasShape(int id) {
    for (const int known : kAll)
        if (known == id) return true;
    return false;
}

QPoint hotSpot(int id) {
    switch (id) {
        case kZoom: return {12, 12};
        case kFileCorner: return {2, 2};
        case kCommentCorner: return {29, 2};
        default: return {16, 16};
    }
}

}  // namespace

QPixmap ViewCursors::pixmap(int id) {
    if (!hasShape(id)) return {};
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, id);
    return pixmap;
}

const QCursor& ViewCursors::cursor(int id) {
    if (!hasShape(id)) id = kArrow;
    auto it = cursors_.find(id);
    if (it == cursors_.end()) {
        const QPoint spot = hotSpot(id);
        it = cursors_.emplace(id, id == kArrow ? QCursor(Qt::ArrowCursor) : QCursor(pixmap(id), spot.x(), spot.y())).first;
    }
    return it->second;
}

}  // namespace lumipage
