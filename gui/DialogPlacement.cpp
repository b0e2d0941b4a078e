#include "gui/DialogPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/DialogPosition.h"

namespace lumipage {

namespace {

bool onSomeScreen(const QPoint& p) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().contains(p)) return true;
    return false;
}

}  // namespace

void placeDialog(QWidget& dialog, const std::optional<std::string>& entry, const QWidget& frame) {
    const auto stored = entry ? DialogPosition::parse(*entry) : std::nullopt;
    if (stored && onSomeScreen(QPoint(stored->rect.left, stored->rect.top))) {
        dialog.move(stored->rect.left, stored->rect.top);
        return;
    }
    QRect r = dialog.frameGeometry();
    r.moveCenter(frame.frameGeometry().center());
    dialog.move(r.topLeft());
}

std::string placementEntry(const QWidget& dialog, bool open) {
    const QRect r = dialog.frameGeometry();
    return DialogPosition{open, ViewRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}}.format();
}

std::optional<std::string> closedEntry(const std::optional<std::string>& entry) {
    auto stored = entry ? DialogPosition::parse(*entry) : std::nullopt;
    if (!stored) return entry;
    stored->open = false;
    return stored->format();
}

void movePointerInto(const QWidget& dialog) {
    QCursor::setPos(dialog.frameGeometry().center());
}

}  // namespace lumipage
