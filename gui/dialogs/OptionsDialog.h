#pragma once
#include <map>

#include <QDialog>

#include "app/OptionsModel.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace lumipage {

class Messages;
struct Settings;

// The options dialog (149, "オプション"), modal: page start position, the
// TIFF coding of saved files, the start-up window size and the program's
// switches. Nothing changes until OK, which writes every value into the
// settings; what the window must follow up is then in changes().
class OptionsDialog : public QDialog {
public:
    OptionsDialog(Settings& settings, ScreenSize screen, Messages& messages, QWidget* parent = nullptr);

    // The size of the screen `widget` is on (the primary screen without one).
    static ScreenSize screenOf(const QWidget* widget);

    const OptionsChanges& changes() const { return changes_; }

    void accept() override;

private:
    QWidget* pageStartGroup();
    QWidget* outCodeGroup();
    QWidget* startSizeGroup();
    QWidget* checkBoxGrid();
    QLineEdit* sizeEdit(int id);
    void takeEdits();
    void refresh();

    Settings& settings_;
    Messages& messages_;
    OptionsModel model_;
    OptionsChanges changes_;
    QButtonGroup* startSizes_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    std::map<int, QCheckBox*> checks_;
};

}  // namespace lumipage
