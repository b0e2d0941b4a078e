#pragma once
#include <array>
#include <functional>

#include <QDialog>

#include "view/ColourAdjustment.h"

class QButtonGroup;
class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QSlider;

namespace lumipage {

// The colour adjustment dialog (148, "カラー調整"), modeless: paper and ink
// colour, brightness, contrast, gamma and fast update, each change shown on
// the page at once. Controls carry their dialog ids as object names. The
// rules live in ColourAdjustment; this class only lays out and wires the
// widgets. Page Up, Page Down, Home, End and Alt+arrows belong to the page
// view and are handed to the window.
class ColourDialog : public QDialog {
public:
    using Control = ColourAdjustment::Control;
    using Side = ColourAdjustment::Side;

    explicit ColourDialog(ColourAdjustment& adjustment, QWidget* parent = nullptr);

    // Opening: the adjustment takes the colours in effect and the controls show them.
    void openAdjustment();
    // Keys for the page view; true when it took them.
    void setViewKeyHandler(std::function<bool(QKeyEvent*)> handler) { viewKeys_ = std::move(handler); }
    // Told after the dialog closed; `rememberPosition` says the position is
    // to be kept whatever the settings say (closing with Shift+Insert).
    void setClosedHandler(std::function<void(bool rememberPosition)> handler) { closed_ = std::move(handler); }

    // OK and Shift+Insert: the colours stay. Cancel and Esc: the colours
    // of opening come back.
    void accept() override;
    void reject() override;
    void acceptAndRememberPosition();
    // The main window is closing with the dialog open: the desktop closes the
    // dialog with it, which neither cancels the colours being adjusted nor
    // tells the window (which has noted where the dialog stands, open).
    void leaveWithWindow();

    QSlider* slider(Control control) const { return sliders_[size_t(control)]; }
    QLineEdit* edit(Control control) const { return edits_[size_t(control)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildNumber(Control control, const char* title, std::initializer_list<std::pair<int, int>> presets);
    QWidget* buildSide(Side side);
    QWidget* buildChannel(Control control, const char* letter);
    QSlider* makeSlider(Control control, QWidget* parent);
    QLineEdit* makeEdit(Control control, int width, QWidget* parent);
    QWidget* buildSwitches();
    QWidget* buildButtons();
    void addShortcuts();
    void wireSlider(Control control);
    void editFinished(Control control);
    void focusChannel(Side side, int channel);
    void setSystemColours();
    void restoreSystemColours();
    // Shows the adjustment's present state in every control.
    void sync();
    void paintSwatch(QLineEdit* edit, Colour background);
    void finish(bool rememberPosition);

    ColourAdjustment& adjustment_;
    std::array<QSlider*, ColourAdjustment::kControls> sliders_{};
    std::array<QLineEdit*, ColourAdjustment::kControls> edits_{};
    std::array<QButtonGroup*, 2> modes_{};
    QCheckBox* gamma_ = nullptr;
    QCheckBox* fastUpdate_ = nullptr;
    QPushButton* setSystem_ = nullptr;
    QPushButton* restoreSystem_ = nullptr;
    std::function<bool(QKeyEvent*)> viewKeys_;
    std::function<void(bool)> closed_;
    bool leaving_ = false;
};

}  // namespace lumipage
