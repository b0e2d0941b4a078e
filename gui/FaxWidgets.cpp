#include "gui/FaxWidgets.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>

namespace lumipage::faxwidgets {

namespace {

class FocusClears : public QObject {
public:
    FocusClears(QListWidget* list, QObject* parent) : QObject(parent), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) list_->clearSelection();
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget* list_;
};

}  // namespace

QLineEdit* numberEdit(const char* id, int maxLength, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(id);
    edit->setMaxLength(maxLength);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

void clearSelectionOnFocus(QLineEdit* edit, QListWidget* list) {
    edit->installEventFilter(new FocusClears(list, edit));
}

QComboBox* choice(const char* id, const QStringList& items, int current, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(id);
    box->addItems(items);
    box->setCurrentIndex(std::clamp(current, 0, int(items.size()) - 1));
    return box;
}

}  // namespace lumipage::faxwidgets
