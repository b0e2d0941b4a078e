#pragma once
#include <map>

#include <QCursor>
#include <QPixmap>

namespace lumipage {

// The pointer shapes of the page view, drawn once on first use: a
// magnifier for zooming, hands for the two drags, a frame with arrows for
// moving the zoom frame, a cross and eight arrows for the direction jump,
// and pages with arrows and corner marks for the page-turn zones.
class ViewCursors {
public:
    static constexpr int kSide = 32;

    // The cursor for a shape id; the arrow for 0 and ids without a shape.
    const QCursor& cursor(int id);
    // The drawn shape alone (a null pixmap for the arrow).
    static QPixmap pixmap(int id);

private:
    std::map<int, QCursor> cursors_;
};

}  // namespace lumipage
