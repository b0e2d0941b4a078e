#pragma once
#include <functional>

#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace lumipage {

// The page jump dialog (131): a page number between 1 and the page count,
// with an up-down control whose up arrow moves toward page 1.
class PageJumpDialog : public QDialog {
public:
    static constexpr int kDefaultMaximum = 9999;

    PageJumpDialog(int maximum, int current, QWidget* parent = nullptr);

    int value() const { return value_; }
    // How a value out of range is reported (a message box unless replaced).
    void setRangeWarning(std::function<void(const QString&)> warn) { warn_ = std::move(warn); }
    QString rangeMessage() const;

    void accept() override;

private:
    QLineEdit* edit_;
    QSpinBox* spin_;
    int maximum_;
    int value_;
    std::function<void(const QString&)> warn_;
};

}  // namespace lumipage
