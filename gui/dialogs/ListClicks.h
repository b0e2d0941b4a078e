#pragma once
#include <QMouseEvent>
#include <QObject>
#include <QTreeWidget>
#include <functional>

namespace lumipage {

// Calls `handler` with the row under a right click in the list (the lists of
// the contents, keyword and page list dialogs close on it).
inline void onRightClick(QTreeWidget* list, std::function<void(QTreeWidgetItem*)> handler) {
    struct Filter : QObject {
        QTreeWidget* list;
        std::function<void(QTreeWidgetItem*)> handler;
        Filter(QTreeWidget* l, std::function<void(QTreeWidgetItem*)> h) : QObject(l), list(l), handler(std::move(h)) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() != QEvent::MouseButtonPress) return false;
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::RightButton) return false;
            if (QTreeWidgetItem* item = list->itemAt(mouse->position().toPoint())) {
                list->setCurrentItem(item);
                handler(item);
                return true;
            }
            return false;
        }
    };
    list->viewport()->installEventFilter(new Filter(list, std::move(handler)));
}

}  // namespace lumipage
