#pragma once
#include <sane/sane.h>

#include <QDialog>
#include <functional>
#include <vector>

#include "twaindsm/SaneOptions.h"

class QFormLayout;

namespace lumipage::twaindsm {

// The source's own dialog ("詳細設定"): the device's settable options, one
// control each, named by the option — ranges as spin boxes, lists as
// choices, booleans as check boxes, free text as a line — under the
// backend's own groups. "スキャン" sets what was changed, in the device's
// order, and starts the scan; "キャンセル" leaves the device as it was.
// What the program's scan dialog decides itself (mode, depth, resolution,
// the frame, the feeder) is not offered twice.
class SaneOptionsDialog : public QDialog {
public:
    SaneOptionsDialog(SANE_Handle handle, const QString& device, QWidget* parent);

    // Sets the options whose control was changed; false when the device
    // refused one (the others are set all the same).
    bool apply();

private:
    void addOption(QFormLayout* form, int index, const SANE_Option_Descriptor& d);

    SaneOptions options_;
    // One setter for each control, called when its value differs from the
    // one the dialog opened with.
    std::vector<std::function<bool()>> changes_;
};

}  // namespace lumipage::twaindsm
