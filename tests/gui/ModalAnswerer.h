#pragma once
#include <QApplication>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <functional>

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

}  // namespace lumipage::test
