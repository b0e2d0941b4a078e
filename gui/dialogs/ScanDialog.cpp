#include "gui/dialogs/ScanDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "scan/ScanCapabilities.h"

namespace lumipage {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QDoubleSpinBox* millimetres(const char* name) {
    auto* box = named(new QDoubleSpinBox, name);
    box->setRange(0, 2000);
    box->setDecimals(1);
    return box;
}

constexpr const char* kFileTypes[] = {".TIF", ".BMP", ".MH*", ".MH", ".BW"};
constexpr const char* kMarginNames[] = {"marginLeft", "marginTop", "marginRight", "marginBottom"};

}  // namespace

ScanDialog::ScanDialog(const ScanSettings& settings, const ScanDialogSetup& setup, TitleFor titleFor, QWidget* parent)
    : QDialog(parent), shown_(settings), titleFor_(std::move(titleFor)), executeAllowed_(setup.executeEnabled),
      baseTitle_(setup.title) {
    setObjectName("ScanDialog");
    build(setup);
    load(settings, setup);
    updateTitle();
}

void ScanDialog::build(const ScanDialogSetup& setup) {
    auto* top = new QHBoxLayout;
    top->addWidget(buildFileGroup());
    top->addWidget(buildScanGroup(setup));
    top->addWidget(buildPaperGroup(setup));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildButtons(setup));
}

QWidget* ScanDialog::buildFileGroup() {
    auto* group = new QGroupBox("ファイル");
    auto* form = new QFormLayout(group);
    form->addRow("フォルダ", folder_ = named(new QLineEdit, "folder"));
    folder_->setMinimumWidth(200);
    form->addRow("ファイル名", prefix_ = named(new QLineEdit, "prefix"));
    form->addRow("番号", number_ = named(new QLineEdit, "number"));
    form->addRow(numbered_ = named(new QCheckBox("番号付加"), "numbered"));
    fileType_ = named(new QComboBox, "fileType");
    for (const char* type : kFileTypes) fileType_->addItem(type);
    fileType_->setEditable(true);
    form->addRow("種類", fileType_);
    form->addRow(overwrite_ = named(new QCheckBox("上書許可"), "overwrite"));
    form->addRow("タイトル", title_ = named(new QLineEdit, "title"));
    for (QLineEdit* edit : {folder_, prefix_, number_})
        connect(edit, &QLineEdit::textChanged, this, [this] { updateTitle(); });
    connect(fileType_, &QComboBox::currentTextChanged, this, [this] { updateTitle(); });
    for (QCheckBox* box : {numbered_, overwrite_}) connect(box, &QCheckBox::toggled, this, [this] { updateTitle(); });
    // The number field clamps what is typed to 0..9999 in the width it had.
    connect(number_, &QLineEdit::editingFinished, this, [this] {
        const std::string text = scanformulas::numberFieldText(number_->text().toLong(), shown_.number);
        shown_.number = text;
        number_->setText(qs(text));
    });
    return group;
}

QWidget* ScanDialog::buildScanGroup(const ScanDialogSetup& setup) {
    auto* group = new QGroupBox("読取り");
    auto* form = new QFormLayout(group);
    form->addRow("解像度(dpi)", resolution_ = named(new QComboBox, "resolution"));
    zoom_ = named(new QSpinBox, "zoom");
    zoom_->setSuffix("%");
    const auto& scaling = setup.capabilities ? setup.capabilities->scaling : std::nullopt;
    zoom_->setRange(scaling ? scaling->minimum : 100, scaling ? scaling->maximum : 100);
    if (scaling && scaling->step > 0) zoom_->setSingleStep(scaling->step);
    // A source that cannot scale leaves the zoom at 100%: the box and its
    // buttons are off then, and a button outside the source's range is off.
    const bool scales = zoom_->minimum() < zoom_->maximum();
    zoom_->setEnabled(scales);
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoom_);
    for (int percent : {141, 100, 71}) {
        auto* button = named(new QPushButton(QString("%1%").arg(percent, 3)), "zoomButton");
        button->setAutoDefault(false);
        button->setEnabled(scales && percent >= zoom_->minimum() && percent <= zoom_->maximum());
        connect(button, &QPushButton::clicked, this, [this, percent] { zoom_->setValue(percent); });
        zoomRow->addWidget(button);
    }
    form->addRow("倍率", zoomRow);
    form->addRow("ﾊｰﾌﾄｰﾝ", reduction_ = named(new QComboBox, "reduction"));
    brightness_ = named(new QSlider(Qt::Horizontal), "brightness");
    form->addRow("明るさ", brightness_);
    form->addRow(adjustThreshold_ = named(new QCheckBox("閾値調整"), "adjustThreshold"));
    form->addRow(multiPage_ = named(new QCheckBox("ﾏﾙﾁﾍﾟｰｼﾞ"), "multiPage"));
    feeder_ = named(new QRadioButton("ＡＤＦ"), "feeder");
    flatbed_ = named(new QRadioButton("原稿台"), "flatbed");
    auto* feedRow = new QHBoxLayout;
    feedRow->addWidget(flatbed_);
    feedRow->addWidget(feeder_);
    form->addRow(feedRow);
    form->addRow(continuous_ = named(new QCheckBox("連続"), "continuous"));
    form->addRow(sourceDialog_ = named(new QCheckBox("詳細設定"), "sourceDialog"));
    return group;
}

QWidget* ScanDialog::buildPaperGroup(const ScanDialogSetup& setup) {
    auto* group = new QGroupBox("原稿");
    auto* form = new QFormLayout(group);
    paperSize_ = named(new QComboBox, "paperSize");
    for (int index : setup.paperSizes)
        paperSize_->addItem(qs(std::string(scanformulas::kPaperSizes[size_t(index)].text)), index);
    form->addRow("原稿サイズ", paperSize_);
    portrait_ = named(new QRadioButton("縦"), "portrait");
    landscape_ = named(new QRadioButton("横"), "landscape");
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(portrait_);
    orientation->addWidget(landscape_);
    form->addRow(orientation);
    form->addRow(new QLabel("余白(mm)"));
    const char* sides[] = {"左", "上", "右", "下"};
    for (int i = 0; i < 4; ++i) form->addRow(sides[i], margins_[i] = millimetres(kMarginNames[i]));
    form->addRow(rotate90_ = named(new QCheckBox("90度回転"), "rotate90"));
    form->addRow(customSize_ = named(new QCheckBox("寸法指定"), "customSize"));
    form->addRow("幅", customWidth_ = millimetres("customWidth"));
    form->addRow("高さ", customHeight_ = millimetres("customHeight"));
    connect(customSize_, &QCheckBox::toggled, this, [this] { customSizeToggled(); });
    return group;
}

QWidget* ScanDialog::buildButtons(const ScanDialogSetup& setup) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->addStretch();
    execute_ = named(new QPushButton("実行"), "execute");
    send_ = named(new QPushButton("送信"), "send");
    end_ = named(new QPushButton("終了"), "end");
    for (QPushButton* b : {execute_, send_, end_}) {
        layout->addWidget(b);
        b->setAutoDefault(false);
    }
    // Return anywhere in the dialog scans; the file type box, being
    // editable, keeps its Return for itself, so it is passed on here.
    execute_->setDefault(true);
    connect(fileType_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (execute_->isEnabled()) execute_->click();
    });
    send_->setVisible(setup.sendShown);
    send_->setEnabled(setup.sendEnabled);
    connect(execute_, &QPushButton::clicked, this, [this] { done(int(ScanDialogResult::Execute)); });
    connect(send_, &QPushButton::clicked, this, [this] { done(int(ScanDialogResult::Send)); });
    connect(end_, &QPushButton::clicked, this, [this] { done(int(ScanDialogResult::End)); });
    return row;
}

void ScanDialog::load(const ScanSettings& s, const ScanDialogSetup& setup) {
    folder_->setText(qs(s.folder));
    prefix_->setText(qs(s.prefix));
    number_->setText(qs(s.number));
    numbered_->setChecked(s.numbered);
    fileType_->setCurrentText(qs(s.fileType));
    overwrite_->setChecked(s.overwrite);
    title_->setText(qs(s.title));
    const ScanCapabilities* caps = setup.capabilities;
    if (caps)
        for (int dpi : caps->resolutions.values) resolution_->addItem(QString::number(dpi));
    if (resolution_->count() == 0) resolution_->addItem(qs(s.resolution));
    const int at = resolution_->findText(qs(s.resolution));
    resolution_->setCurrentIndex(at >= 0 ? at : 0);
    zoom_->setValue(s.zoom);
    if (caps)
        for (const ReductionChoice& r : caps->reductions) reduction_->addItem(qs(r.text));
    if (reduction_->count() == 0) reduction_->addItem("なし");
    reduction_->setCurrentIndex(s.reduction >= 0 && s.reduction < reduction_->count() ? s.reduction : 0);
    brightness_->setRange(s.brightnessMin, s.brightnessMax);
    brightness_->setValue(s.brightness);
    adjustThreshold_->setChecked(s.adjustThreshold);
    multiPage_->setChecked(s.multiPage);
    (s.feeder ? feeder_ : flatbed_)->setChecked(true);
    continuous_->setChecked(s.continuous);
    continuous_->setEnabled(setup.continuousEnabled);
    sourceDialog_->setChecked(s.sourceDialog);
    sourceDialog_->setEnabled(setup.sourceDialogEnabled);
    const int paper = paperSize_->findData(s.paperSize);
    paperSize_->setCurrentIndex(paper >= 0 ? paper : 0);
    (s.landscape ? landscape_ : portrait_)->setChecked(true);
    const double margins[] = {s.margins.left, s.margins.top, s.margins.right, s.margins.bottom};
    for (int i = 0; i < 4; ++i) margins_[i]->setValue(margins[i]);
    rotate90_->setChecked(s.rotate90);
    customSize_->setChecked(s.customSize);
    customWidth_->setValue(s.customWidth);
    customHeight_->setValue(s.customHeight);
    customSizeToggled();
}

void ScanDialog::customSizeToggled() {
    const bool custom = customSize_->isChecked();
    customWidth_->setEnabled(custom);
    customHeight_->setEnabled(custom);
    paperSize_->setEnabled(!custom);
    portrait_->setEnabled(!custom);
    landscape_->setEnabled(!custom);
}

void ScanDialog::store(ScanSettings& s) const {
    s.folder = folder_->text().toStdString();
    s.prefix = prefix_->text().toStdString();
    s.number = number_->text().toStdString();
    s.numbered = numbered_->isChecked();
    s.fileType = fileType_->currentText().toStdString();
    s.overwrite = overwrite_->isChecked();
    s.title = title_->text().toStdString();
    s.resolution = resolution_->currentText().toStdString();
    s.zoom = zoom_->value();
    s.reduction = reduction_->currentIndex();
    s.brightness = brightness_->value();
    s.adjustThreshold = adjustThreshold_->isChecked();
    s.multiPage = multiPage_->isChecked();
    s.feeder = feeder_->isChecked();
    s.continuous = continuous_->isChecked();
    s.sourceDialog = sourceDialog_->isChecked();
    if (paperSize_->currentIndex() >= 0) s.paperSize = paperSize_->currentData().toInt();
    s.landscape = landscape_->isChecked();
    s.margins = {margins_[0]->value(), margins_[1]->value(), margins_[2]->value(), margins_[3]->value()};
    s.rotate90 = rotate90_->isChecked();
    s.customSize = customSize_->isChecked();
    s.customWidth = customWidth_->value();
    s.customHeight = customHeight_->value();
}

void ScanDialog::updateTitle() {
    bool enabled = executeAllowed_;
    std::string title = baseTitle_;
    if (titleFor_) {
        ScanSettings now = shown_;
        store(now);
        title = titleFor_(now, &enabled);
    }
    setWindowTitle(qs(title));
    execute_->setEnabled(enabled);
}

}  // namespace lumipage
