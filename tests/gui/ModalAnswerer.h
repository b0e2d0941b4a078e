#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QTreeWidget>
#include <QVariant>
#include <QWidget>

#include <functional>

#include "base/CommandIds.h"

namespace lumipage::test {

// Answers every modal dialog a command opens with exec(), by its name, until
// dropped: `answer` returns true once it has answered the dialog.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<bool(QWidget*)> answer) : answer_(std::move(answer)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && !modal->property("answered").toBool() && answer_(modal)) modal->setProperty("answered", true);
        });
        timer_.start();
    }

private:
    std::function<bool(QWidget*)> answer_;
    QTimer timer_;
};

// What the 目次 and 索引 dialogs list, as "entry:page", each dialog
// closed with its close button once read.
struct ContentsAndKeywords {
    QStringList contents;
    QStringList keywords;
};

template <class Frame>
ContentsAndKeywords listedContentsAndKeywords(Frame& frame) {
    ContentsAndKeywords listed;
    ModalAnswerer look([&](QWidget* w) {
        auto* list = w->findChild<QTreeWidget*>("list");
        if (!list) return false;
        QStringList& into = w->objectName() == "161" ? listed.contents : listed.keywords;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            into << list->topLevelItem(i)->text(0) + ":" + list->topLevelItem(i)->text(1);
        w->findChild<QAbstractButton*>("2")->click();
        return true;
    });
    frame.runCommand(command::kContents);
    frame.runCommand(command::kKeywordIndex);
    return listed;
}

}  // namespace lumipage::test
