#pragma once
#include <span>
#include <string>
#include <vector>

#include "app/WindowSizeSetting.h"

namespace lumipage {

struct Settings;

// The options dialog's controls: ids, captions and the settings behind them.
namespace options {

struct Radio {
    int id;
    const char* caption;
    int value;
};

struct CheckBox {
    int id;
    const char* caption;
    int Settings::*field;
};

// The start-up window size choices, in the order shown.
enum class StartSize { AtLastExit, Maximised, Size800x600, Size1024x768, Given };

struct StartSizeRadio {
    int id;
    const char* caption;
    StartSize size;
};

std::span<const Radio> pageStartPositions();
std::span<const Radio> outCodes();
std::span<const StartSizeRadio> startSizes();
std::span<const CheckBox> checkBoxes();

constexpr int kWidthEdit = 1152;
constexpr int kHeightEdit = 1153;
constexpr int kSaveDialogPos = 1179;
constexpr int kVerticalFileOpenDlg = 1178;
constexpr int kPreviewWideStd = 1322;
constexpr int kAppDataModulePath = 1504;
// Shown when the data-folder check box is clicked: the data folder is chosen at start-up only.
constexpr const char* kNextStartText = "次回のプログラム起動時に変更が有効になります";

}  // namespace options

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// What an accepted options dialog changed that the window acts on.
struct OptionsChanges {
    bool pageStartPosition = false;
    bool previewWideStd = false;
    bool verticalFileOpenDlg = false;
    // The comment dialog is shown in its form with formatting: an open one is reopened.
    bool commentFormWithFormatting = false;
};

// The values of the options dialog while it is open: taken from the
// settings and the screen size when it opens, changed control by control,
// and written back only by store() (OK). Keeps the start-up window size
// rules: fixed sizes larger than the screen cannot be chosen, entered sizes
// are held within the screen, the size edits belong to the "given size"
// choice only, and saving the modeless dialogs' positions is offered only
// when the window starts at its last size (other sizes reopen no dialogs).
class OptionsModel {
public:
    using StartSize = options::StartSize;

    OptionsModel(const Settings& settings, ScreenSize screen);

    int pageStartPosition() const { return pageStartPosition_; }
    void setPageStartPosition(int value);
    int outCode() const { return outCode_; }
    void setOutCode(int value);

    StartSize startSize() const { return startSize_; }
    bool available(StartSize size) const;
    // Ignored for a size the screen cannot hold.
    void chooseStartSize(StartSize size);
    bool sizeEditable() const { return startSize_ == StartSize::Given; }
    // WindowSizeSetting::kMissing is shown as an empty edit.
    int width() const { return width_; }
    int height() const { return height_; }
    // An edit's text when the edit loses the focus: a positive number, held
    // within the screen; anything else leaves the value missing.
    void enterWidth(const std::string& text);
    void enterHeight(const std::string& text);

    bool checked(int id) const;
    bool checkEnabled(int id) const;
    // Ignored for an unknown or disabled check box.
    void setChecked(int id, bool on);

    // Writes every value into `settings` (the dialog's OK).
    OptionsChanges store(Settings& settings) const;

private:
    int clampedToScreen(const std::string& text, int screenSide) const;
    WindowSizeSetting windowSize() const;

    ScreenSize screen_;
    int pageStartPosition_ = 1;
    int outCode_ = 14;
    StartSize startSize_ = StartSize::AtLastExit;
    int width_ = WindowSizeSetting::kMissing;
    int height_ = WindowSizeSetting::kMissing;
    std::vector<bool> checks_;  // in the order of options::checkBoxes()
};

}  // namespace lumipage
