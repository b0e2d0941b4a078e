#include "gui/dialogs/ColourDialog.h"

#include <span>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

namespace lumipage {

namespace {

using Control = ColourAdjustment::Control;
using Side = ColourAdjustment::Side;

constexpr int kSliderIds[] = {1322, 1323, 1324, 1325, 1326, 1327, 1328, 1329};
constexpr int kEditIds[] = {1141, 1154, 1138, 1139, 1140, 1142, 1143, 1144};
constexpr int kSliderPage = 5;
constexpr int kSliderTicks = 5;

struct ModeButton {
    int mode;
    int id;
    const char* caption;
};
// In the order the buttons stand in the dialog.
constexpr ModeButton kPaperModes[] = {{1, 1133, "画面プロパティの設定色"}, {2, 1134, "白"}, {3, 1135, "薄い黄色"},
                                      {4, 1136, "薄い水色"}, {5, 1145, "黒"}, {6, 1169, "灰"},
                                      {7, 1146, "薄い青"}, {0, 1137, "任意の色"}};
constexpr ModeButton kInkModes[] = {{1, 1170, "画面プロパティの設定色"}, {2, 1148, "白"}, {3, 1150, "薄い黄色"},
                                    {4, 1153, "薄い水色"}, {5, 1147, "黒"}, {6, 1152, "赤"},
                                    {7, 1151, "青"}, {0, 1149, "任意の色"}};

QString idName(int id) { return QString::number(id); }
QColor toQColor(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }
Control channelControl(Side side, int channel) {
    return Control(int(side == Side::Paper ? Control::PaperRed : Control::InkRed) + channel);
}

// The keys the page view answers to while the dialog has the focus.
bool isViewKey(const QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    switch (e->key()) {
        case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
            return (mods & ~(Qt::ControlModifier | Qt::ShiftModifier)) == 0;
        case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
            return mods == Qt::AltModifier;
        default: return false;
    }
}

QPushButton* plainButton(const QString& caption, int id, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(idName(id));
    b->setAutoDefault(false);  // Enter finishes an edit; it does not close the dialog
    return b;
}

}  // namespace

ColourDialog::ColourDialog(ColourAdjustment& adjustment, QWidget* parent) : QDialog(parent), adjustment_(adjustment) {
    setObjectName("148");
    setWindowTitle("カラー調整");
    setModal(false);
    // Brightness and contrast with the other switches on the left, the paper
    // and ink colours above each other on the right, the closing buttons below.
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(buildNumber(Control::Bright, "明るさ", {{150, 1161}, {100, 1160}, {50, 1168}, {0, 1162}}));
    numbers->addWidget(
        buildNumber(Control::Contrast, "コントラスト", {{200, 1166}, {160, 1165}, {130, 1163}, {100, 1164}, {50, 1167}}));
    auto* left = new QVBoxLayout;
    left->addLayout(numbers);
    left->addWidget(buildSwitches());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(buildSide(Side::Paper));
    right->addWidget(buildSide(Side::Ink));
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addWidget(buildButtons());
    for (int c = 0; c < ColourAdjustment::kControls; ++c) wireSlider(Control(c));
    addShortcuts();
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    sync();
}

// An upright slider over the control's range, the largest value at the top.
QSlider* ColourDialog::makeSlider(Control control, QWidget* parent) {
    const ColourAdjustment::Range range = ColourAdjustment::rangeOf(control);
    auto* slider = new QSlider(Qt::Vertical, parent);
    slider->setObjectName(idName(kSliderIds[int(control)]));
    slider->setRange(range.least, range.most);
    slider->setSingleStep(1);
    slider->setPageStep(kSliderPage);
    slider->setTickInterval(kSliderTicks);
    slider->setTickPosition(QSlider::TicksRight);
    // The smallest position at the top, as the largest value.
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    sliders_[size_t(control)] = slider;
    return slider;
}

// The control's number, read back when the edit is left.
QLineEdit* ColourDialog::makeEdit(Control control, int width, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(idName(kEditIds[int(control)]));
    edit->setMaxLength(6);
    edit->setFixedWidth(width);
    edit->setAutoFillBackground(true);
    edits_[size_t(control)] = edit;
    connect(edit, &QLineEdit::editingFinished, this, [this, control] { editFinished(control); });
    return edit;
}

// A number with its upright slider, its edit below and its preset buttons.
QWidget* ColourDialog::buildNumber(Control control, const char* title,
                                   std::initializer_list<std::pair<int, int>> presets) {
    auto* box = new QGroupBox(title, this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(makeSlider(control, box), 0, 0, int(presets.size()), 1);
    int row = 0;
    for (const auto& [value, id] : presets) {
        QPushButton* b = plainButton(QString::number(value), id, box);
        const int v = value;
        connect(b, &QPushButton::clicked, this, [this, control, v] {
            adjustment_.setValue(control, v);
            sync();
        });
        grid->addWidget(b, row++, 1);
    }
    grid->addWidget(makeEdit(control, 56, box), row, 0, 1, 2);
    return box;
}

QWidget* ColourDialog::buildChannel(Control control, const char* letter) {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(letter, column), 0, Qt::AlignHCenter);
    layout->addWidget(makeSlider(control, column), 1, Qt::AlignHCenter);
    layout->addWidget(makeEdit(control, 44, column));
    return column;
}

// A side's mode buttons beside its red, green and blue sliders.
QWidget* ColourDialog::buildSide(Side side) {
    const bool paper = side == Side::Paper;
    auto* box = new QGroupBox(paper ? "ペーパーカラー" : "インクカラー", this);
    auto* layout = new QHBoxLayout(box);
    auto* radios = new QVBoxLayout;
    auto* group = new QButtonGroup(box);
    modes_[paper ? 0 : 1] = group;
    for (const ModeButton& m : paper ? std::span<const ModeButton>(kPaperModes) : std::span<const ModeButton>(kInkModes)) {
        auto* r = new QRadioButton(m.caption, box);
        r->setObjectName(idName(m.id));
        group->addButton(r, m.mode);
        radios->addWidget(r);
    }
    radios->addStretch();
    layout->addLayout(radios);
    connect(group, &QButtonGroup::idClicked, this, [this, side](int mode) {
        adjustment_.chooseMode(side, mode);
        sync();
    });
    const Control red = channelControl(side, 0);
    layout->addWidget(buildChannel(red, "R"));
    layout->addWidget(buildChannel(Control(int(red) + 1), "G"));
    layout->addWidget(buildChannel(Control(int(red) + 2), "B"));
    return box;
}

QWidget* ColourDialog::buildSwitches() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    QPushButton* invert = plainButton("反転", 1334, box);
    connect(invert, &QPushButton::clicked, this, [this] {
        adjustment_.invert();
        sync();
    });
    gamma_ = new QCheckBox("ｶﾞﾝﾏ補正", box);
    gamma_->setObjectName(idName(1338));
    connect(gamma_, &QCheckBox::clicked, this, [this](bool on) {
        adjustment_.setGamma(on);
        sync();
    });
    fastUpdate_ = new QCheckBox("高速更新", box);
    fastUpdate_->setObjectName(idName(1331));
    connect(fastUpdate_, &QCheckBox::clicked, this, [this](bool on) { adjustment_.setFastUpdate(on); });
    setSystem_ = plainButton("ｼｽﾃﾑｶﾗｰに設定", 1332, box);
    connect(setSystem_, &QPushButton::clicked, this, [this] { setSystemColours(); });
    restoreSystem_ = plainButton("戻す", 1333, box);
    connect(restoreSystem_, &QPushButton::clicked, this, [this] { restoreSystemColours(); });
    grid->addWidget(invert, 0, 0);
    grid->addWidget(gamma_, 0, 1);
    grid->addWidget(fastUpdate_, 1, 1);
    grid->addWidget(setSystem_, 2, 0);
    grid->addWidget(restoreSystem_, 2, 1);
    // The restore button keeps its place while hidden.
    QSizePolicy keep = restoreSystem_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    restoreSystem_->setSizePolicy(keep);
    return box;
}

QWidget* ColourDialog::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    // The focus buttons take no focus themselves: they move it from where it is.
    QPushButton* previous = plainButton("前項目", 1335, row);
    previous->setFocusPolicy(Qt::NoFocus);
    connect(previous, &QPushButton::clicked, this, [this] { focusNextPrevChild(false); });
    QPushButton* next = plainButton("次項目", 1330, row);
    next->setFocusPolicy(Qt::NoFocus);
    connect(next, &QPushButton::clicked, this, [this] { focusNextPrevChild(true); });
    QPushButton* ok = plainButton("OK", 1, row);
    connect(ok, &QPushButton::clicked, this, &ColourDialog::accept);
    QPushButton* cancel = plainButton("キャンセル", 2, row);
    connect(cancel, &QPushButton::clicked, this, &ColourDialog::reject);
    for (QWidget* w : std::initializer_list<QWidget*>{previous, next}) layout->addWidget(w);
    layout->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{ok, cancel}) layout->addWidget(w);
    return row;
}

void ColourDialog::addShortcuts() {
    const auto add = [this](QKeySequence keys, std::function<void()> action) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, std::move(action));
    };
    add(QKeySequence(Qt::ALT | Qt::Key_L), [this] { slider(Control::Bright)->setFocus(); });
    add(QKeySequence(Qt::ALT | Qt::Key_C), [this] { slider(Control::Contrast)->setFocus(); });
    constexpr Qt::Key kChannelKeys[] = {Qt::Key_R, Qt::Key_G, Qt::Key_B};
    for (int c = 0; c < 3; ++c) {
        add(QKeySequence(Qt::ALT | kChannelKeys[c]), [this, c] { focusChannel(Side::Paper, c); });
        add(QKeySequence(Qt::SHIFT | Qt::ALT | kChannelKeys[c]), [this, c] { focusChannel(Side::Ink, c); });
    }
    add(QKeySequence(Qt::ALT | Qt::Key_I), [this] {
        adjustment_.invert();
        sync();
    });
    add(QKeySequence(Qt::Key_F12), [this] { accept(); });
    add(QKeySequence(Qt::SHIFT | Qt::Key_Insert), [this] { acceptAndRememberPosition(); });
}

// Dragging shows the number as it goes; the adjustment decides when the
// colours follow. Keys and clicks on the groove apply at once.
void ColourDialog::wireSlider(Control control) {
    QSlider* s = slider(control);
    connect(s, &QSlider::valueChanged, this, [this, control, s](int position) {
        adjustment_.sliderMoved(control, position, !s->isSliderDown());
        sync();
    });
    connect(s, &QSlider::sliderReleased, this, [this, control, s] {
        adjustment_.sliderMoved(control, s->value(), true);
        sync();
    });
}

void ColourDialog::editFinished(Control control) {
    QLineEdit* e = edit(control);
    if (!e->isEnabled()) return;
    adjustment_.editLeft(control, e->text().toStdString());
    sync();
}

// The paper or ink side turns custom so that its slider can be used.
void ColourDialog::focusChannel(Side side, int channel) {
    if (!adjustment_.customEditable(side)) adjustment_.chooseMode(side, ColourAdjustment::kCustomMode);
    sync();
    slider(channelControl(side, channel))->setFocus();
}

void ColourDialog::setSystemColours() {
    adjustment_.setSystemColours();
    sync();
}

void ColourDialog::restoreSystemColours() {
    adjustment_.restoreSystemColours();
    sync();
}

void ColourDialog::paintSwatch(QLineEdit* edit, Colour background) {
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, toQColor(background));
    p.setColor(QPalette::Text, toQColor(ColourAdjustment::textColourOn(background)));
    edit->setPalette(p);
}

void ColourDialog::sync() {
    for (int c = 0; c < ColourAdjustment::kControls; ++c) {
        const Control control = Control(c);
        QSlider* s = slider(control);
        const QSignalBlocker block(s);
        if (!s->isSliderDown()) s->setSliderPosition(adjustment_.sliderPosition(control));
        const QString text = QString::number(adjustment_.value(control));
        if (edit(control)->text() != text) edit(control)->setText(text);
        paintSwatch(edit(control), adjustment_.swatch(control));
    }
    for (const Side side : {Side::Paper, Side::Ink}) {
        QButtonGroup* group = modes_[side == Side::Paper ? 0 : 1];
        if (QAbstractButton* b = group->button(adjustment_.mode(side))) b->setChecked(true);
        const bool custom = adjustment_.customEditable(side);
        for (int c = 0; c < 3; ++c) {
            slider(channelControl(side, c))->setEnabled(custom);
            edit(channelControl(side, c))->setEnabled(custom);
        }
    }
    gamma_->setChecked(adjustment_.gamma());
    fastUpdate_->setChecked(adjustment_.fastUpdate());
    setSystem_->setEnabled(adjustment_.canSetSystemColours());
    restoreSystem_->setVisible(adjustment_.canRestoreSystemColours());
}

void ColourDialog::openAdjustment() {
    adjustment_.open();
    sync();
}

void ColourDialog::finish(bool rememberPosition) {
    hide();
    setResult(QDialog::Accepted);
    if (closed_) closed_(rememberPosition);
}

void ColourDialog::accept() { finish(false); }

void ColourDialog::acceptAndRememberPosition() { finish(true); }

void ColourDialog::leaveWithWindow() {
    leaving_ = true;
    closed_ = {};
}

void ColourDialog::reject() {
    if (leaving_) {
        hide();
        return;
    }
    adjustment_.cancel();
    sync();
    hide();
    setResult(QDialog::Rejected);
    if (closed_) closed_(false);
}

bool ColourDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && viewKeys_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isViewKey(key) && viewKeys_(key)) return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace lumipage
