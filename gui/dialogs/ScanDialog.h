#pragma once
#include <QDialog>
#include <functional>
#include <string>

#include "scan/ScanJob.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace lumipage {

// The scan dialog: the scan settings, the paper size list and the target
// file. The dialog works on a copy; `store` writes the controls back. Its
// result is a ScanDialogResult ("実行" 1, "終了" 2, "送信" 11).
class ScanDialog : public QDialog {
public:
    // Tells the caption and whether "実行" is possible for the settings shown.
    using TitleFor = std::function<std::string(const ScanSettings&, bool* executeEnabled)>;

    ScanDialog(const ScanSettings& settings, const ScanDialogSetup& setup, TitleFor titleFor,
               QWidget* parent = nullptr);

    // The controls' values over `settings`.
    void store(ScanSettings& settings) const;
    // Recomputes the caption and the "実行" button from the controls.
    void updateTitle();

    QPushButton* executeButton() const { return execute_; }
    QPushButton* sendButton() const { return send_; }
    QPushButton* endButton() const { return end_; }

private:
    void build(const ScanDialogSetup& setup);
    QWidget* buildFileGroup();
    QWidget* buildScanGroup(const ScanDialogSetup& setup);
    QWidget* buildPaperGroup(const ScanDialogSetup& setup);
    QWidget* buildButtons(const ScanDialogSetup& setup);
    void load(const ScanSettings& s, const ScanDialogSetup& setup);
    void customSizeToggled();

    ScanSettings shown_;
    TitleFor titleFor_;
    bool executeAllowed_ = true;
    std::string baseTitle_;

    QLineEdit* folder_ = nullptr;
    QLineEdit* prefix_ = nullptr;
    QLineEdit* number_ = nullptr;
    QCheckBox* numbered_ = nullptr;
    QComboBox* fileType_ = nullptr;
    QCheckBox* overwrite_ = nullptr;
    QLineEdit* title_ = nullptr;
    QComboBox* resolution_ = nullptr;
    QSpinBox* zoom_ = nullptr;
    QCheckBox* multiPage_ = nullptr;
    QSlider* brightness_ = nullptr;
    QCheckBox* adjustThreshold_ = nullptr;
    QComboBox* reduction_ = nullptr;
    QRadioButton* feeder_ = nullptr;
    QRadioButton* flatbed_ = nullptr;
    QCheckBox* continuous_ = nullptr;
    QCheckBox* sourceDialog_ = nullptr;
    QComboBox* paperSize_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QDoubleSpinBox* margins_[4] = {};
    QCheckBox* rotate90_ = nullptr;
    QCheckBox* customSize_ = nullptr;
    QDoubleSpinBox* customWidth_ = nullptr;
    QDoubleSpinBox* customHeight_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* end_ = nullptr;
};

}  // namespace lumipage
