#pragma once
#include <QDialog>

#include "scan/ScanJob.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace lumipage {

// "スキャナ入力-閾値調整" (184): the threshold of a gray page, previewed as
// the slider moves. The slider shows 256 minus the threshold, so that up is
// lighter; "明(F8)", "暗(F5)" and "標準(F4)" move it.
class ThresholdDialog : public QDialog {
public:
    static constexpr int kStep = 8;

    ThresholdDialog(ThresholdAdjustment& adjustment, QWidget* parent = nullptr);

    QSlider* slider() const { return slider_; }
    // Writes the slider, name, number and the "don't show" tick back.
    void store();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void moveBy(int delta);
    void moveTo(int position);

    ThresholdAdjustment& adjustment_;
    QSlider* slider_;
    QLineEdit* fileName_;
    QLineEdit* number_;
    QCheckBox* dontShow_;
};

}  // namespace lumipage
