#include "gui/dialogs/OptionsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/Messages.h"
#include "base/Settings.h"
#include "gui/dialogs/OkCancelButtons.h"

namespace lumipage {

namespace {

using options::StartSize;

constexpr int kCheckBoxRows = 8;        // the switches stand in two columns
constexpr int kSizeEditDigits = 5;
constexpr ScreenSize kNoScreen{1024, 768};  // without a screen (never on a desktop)

QRadioButton* radio(const char* caption, int id, QButtonGroup* group, QLayout* layout) {
    auto* button = new QRadioButton(QString::fromUtf8(caption));
    button->setObjectName(QString::number(id));
    group->addButton(button, id);
    layout->addWidget(button);
    return button;
}

QString sizeText(int value) { return value == WindowSizeSetting::kMissing ? QString() : QString::number(value); }

}  // namespace

OptionsDialog::OptionsDialog(Settings& settings, ScreenSize screen, Messages& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages), model_(settings, screen) {
    setObjectName("149");
    setWindowTitle("オプション");
    setModal(true);

    auto* left = new QVBoxLayout;
    left->addWidget(pageStartGroup());
    left->addWidget(outCodeGroup());
    left->addStretch();
    auto* groups = new QHBoxLayout;
    groups->addLayout(left);
    groups->addWidget(startSizeGroup());

    QDialogButtonBox* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(checkBoxGrid());
    layout->addWidget(buttons);
    refresh();
}

ScreenSize OptionsDialog::screenOf(const QWidget* widget) {
    const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen) return kNoScreen;
    return {screen->geometry().width(), screen->geometry().height()};
}

QWidget* OptionsDialog::pageStartGroup() {
    auto* box = new QGroupBox("改ページ後の表示位置");
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const options::Radio& r : options::pageStartPositions())
        radio(r.caption, r.id, group, column)->setChecked(r.value == model_.pageStartPosition());
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on) return;
        for (const options::Radio& r : options::pageStartPositions())
            if (r.id == id) model_.setPageStartPosition(r.value);
    });
    return box;
}

QWidget* OptionsDialog::outCodeGroup() {
    auto* box = new QGroupBox("TIFFファイル保存時の圧縮方式");
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const options::Radio& r : options::outCodes())
        radio(r.caption, r.id, group, column)->setChecked(r.value == model_.outCode());
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on) return;
        for (const options::Radio& r : options::outCodes())
            if (r.id == id) model_.setOutCode(r.value);
    });
    return box;
}

QLineEdit* OptionsDialog::sizeEdit(int id) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(kSizeEditDigits);
    edit->setInputMethodHints(Qt::ImhDigitsOnly);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance('0') * (kSizeEditDigits + 3));
    // The value is checked when the edit is left (or Enter is pressed in it).
    connect(edit, &QLineEdit::editingFinished, this, [this] {
        takeEdits();
        refresh();
    });
    return edit;
}

QWidget* OptionsDialog::startSizeGroup() {
    auto* box = new QGroupBox("起動時のウィンドウサイズ");
    auto* column = new QVBoxLayout(box);
    startSizes_ = new QButtonGroup(box);
    for (const options::StartSizeRadio& r : options::startSizes()) radio(r.caption, r.id, startSizes_, column);
    width_ = sizeEdit(options::kWidthEdit);
    height_ = sizeEdit(options::kHeightEdit);
    auto* size = new QHBoxLayout;
    size->addSpacing(20);
    size->addWidget(width_);
    size->addWidget(new QLabel("x"));
    size->addWidget(height_);
    size->addStretch();
    column->addLayout(size);
    column->addStretch();
    connect(startSizes_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on) return;
        for (const options::StartSizeRadio& r : options::startSizes())
            if (r.id == id) model_.chooseStartSize(r.size);
        refresh();
    });
    return box;
}

QWidget* OptionsDialog::checkBoxGrid() {
    auto* area = new QWidget;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    int at = 0;
    for (const options::CheckBox& c : options::checkBoxes()) {
        auto* box = new QCheckBox(QString::fromUtf8(c.caption));
        box->setObjectName(QString::number(c.id));
        const int id = c.id;
        connect(box, &QCheckBox::toggled, this, [this, id](bool on) { model_.setChecked(id, on); });
        if (id == options::kAppDataModulePath)
            connect(box, &QCheckBox::clicked, this, [this] { messages_.message(options::kNextStartText); });
        grid->addWidget(box, at % kCheckBoxRows, at / kCheckBoxRows);
        checks_[id] = box;
        ++at;
    }
    return area;
}

void OptionsDialog::takeEdits() {
    model_.enterWidth(width_->text().toStdString());
    model_.enterHeight(height_->text().toStdString());
}

// Shows the model: which size choices the screen allows, the size edits and
// the check boxes the size choice governs.
void OptionsDialog::refresh() {
    for (const options::StartSizeRadio& r : options::startSizes()) {
        QAbstractButton* button = startSizes_->button(r.id);
        const QSignalBlocker quiet(button);
        button->setEnabled(model_.available(r.size));
        button->setChecked(model_.startSize() == r.size);
    }
    for (auto [edit, value] : {std::pair{width_, model_.width()}, std::pair{height_, model_.height()}}) {
        const QSignalBlocker quiet(edit);
        edit->setEnabled(model_.sizeEditable());
        edit->setText(sizeText(value));
    }
    for (auto [id, box] : checks_) {
        const QSignalBlocker quiet(box);
        box->setEnabled(model_.checkEnabled(id));
        box->setChecked(model_.checked(id));
    }
}

void OptionsDialog::accept() {
    // A size typed but not yet left counts as entered.
    takeEdits();
    changes_ = model_.store(settings_);
    QDialog::accept();
}

}  // namespace lumipage
