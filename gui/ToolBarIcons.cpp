#include "gui/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "base/CommandIds.h"

namespace lumipage {

namespace {

using namespace command;

constexpr int kSize = 32;  // drawn at twice the shown size, so it scales cleanly
const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 190);
const QColor kGreen(20, 140, 60);
const QColor kRed(190, 40, 40);

void sheet(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void triangle(QPainter& p, bool right, QColor colour, qreal x) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const QPolygonF t = right ? QPolygonF({QPointF(x, 6), QPointF(x + 14, 16), QPointF(x, 26)})
                              : QPolygonF({QPointF(x + 14, 6), QPointF(x, 16), QPointF(x + 14, 26)});
    p.drawPolygon(t);
}

void magnifier(QPainter& p, int sign) {
    p.setPen(QPen(kInk, 3));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(3, 3, 18, 18));
    p.drawLine(QPointF(19, 19), QPointF(29, 29));
    p.setPen(QPen(kBlue, 3));
    p.drawLine(QPointF(7, 12), QPointF(17, 12));
    if (sign > 0) p.drawLine(QPointF(12, 7), QPointF(12, 17));
}

void turnArrow(QPainter& p, bool left) {
    p.setPen(QPen(kGreen, 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.arcMoveTo(QRectF(6, 6, 20, 20), left ? 0 : 180);
    arc.arcTo(QRectF(6, 6, 20, 20), left ? 0 : 180, left ? 270 : -270);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    const QPointF end = arc.currentPosition();
    const qreal d = left ? 1 : -1;
    p.drawPolygon(QPolygonF({end + QPointF(-6 * d, -6), end + QPointF(6 * d, 0), end + QPointF(-6 * d, 6)}));
}

void letter(QPainter& p, const QString& text, QColor colour) {
    QFont f = p.font();
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, text);
}

void draw(QPainter& p, int id) {
    switch (id) {
        case kOpen:
            p.setPen(QPen(kInk, 2));
            p.setBrush(QColor(240, 200, 90));
            p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(12, 8), QPointF(15, 11), QPointF(29, 11),
                                     QPointF(29, 26), QPointF(3, 26)}));
            break;
        case kEditComment:
            p.setPen(QPen(kInk, 2));
            p.setBrush(QColor(255, 250, 200));
            p.drawRoundedRect(QRectF(3, 4, 26, 17), 4, 4);
            p.drawPolygon(QPolygonF({QPointF(9, 21), QPointF(8, 28), QPointF(15, 21)}));
            break;
        case kPrintAll:
        case kPrintSelected:
            sheet(p, QRectF(9, 3, 14, 10));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(3, 13, 26, 12));
            if (id == kPrintSelected) triangle(p, true, kRed, 12);
            break;
        case kFaxSend:
            sheet(p, QRectF(4, 3, 16, 22));
            triangle(p, true, kBlue, 16);
            break;
        case kVoiceCall:
            p.setPen(QPen(kInk, 6, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(6, 6, 20, 24), 30 * 16, 120 * 16);
            break;
        case kScanNew:
            p.setPen(QPen(kInk, 2));
            p.setBrush(QColor(210, 210, 210));
            p.drawRect(QRectF(3, 14, 26, 12));
            p.setPen(QPen(kBlue, 2));
            p.drawLine(QPointF(5, 18), QPointF(27, 18));
            sheet(p, QRectF(8, 4, 16, 9));
            break;
        case kCopyDirect:
            sheet(p, QRectF(4, 3, 15, 19));
            sheet(p, QRectF(13, 10, 15, 19));
            break;
        case kPreviousPage: triangle(p, false, kBlue, 9); break;
        case kNextPage: triangle(p, true, kBlue, 9); break;
        case kPreviousSelected: triangle(p, false, kRed, 4); triangle(p, false, kRed, 14); break;
        case kNextSelected: triangle(p, true, kRed, 4); triangle(p, true, kRed, 14); break;
        case kBack:
            p.setPen(QPen(kBlue, 3));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(8, 8, 18, 16), -90 * 16, 180 * 16);
            p.drawLine(QPointF(17, 24), QPointF(8, 24));
            triangle(p, false, kBlue, 0);
            break;
        case kZoomIn: magnifier(p, 1); break;
        case kZoomOut: magnifier(p, -1); break;
        case kFitWholePage:
            sheet(p, QRectF(8, 3, 16, 26));
            p.setPen(QPen(kBlue, 2));
            p.drawLine(QPointF(16, 6), QPointF(16, 26));
            break;
        case kFitPageWidth:
            sheet(p, QRectF(4, 8, 24, 20));
            p.setPen(QPen(kBlue, 2));
            p.drawLine(QPointF(7, 14), QPointF(25, 14));
            break;
        case kTurnLeft: turnArrow(p, true); break;
        case kTurnRight: turnArrow(p, false); break;
        case kContents: letter(p, "目", kInk); break;
        case kKeywordIndex: letter(p, "索", kInk); break;
        default: letter(p, "?", kInk); break;
    }
}

}  // namespace

QIcon toolBarIcon(int commandId) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, commandId);
    }
    return QIcon(pixmap);
}

}  // namespace lumipage
