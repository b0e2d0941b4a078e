#include "gui/dialogs/FaxSendDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

#include "fax/FaxSendJob.h"
#include "gui/dialogs/FaxWidgets.h"
#include "platform/SerialDevices.h"
#include "platform/SerialPort.h"

namespace lumipage {

namespace {

using namespace faxwidgets;

QSpinBox* spin(const char* id, int low, int high, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(id);
    box->setRange(low, high);
    box->setValue(std::clamp(value, low, high));
    return box;
}

const QStringList kSpeeds{"14400", "9600"};

}  // namespace

FaxSendDialog::FaxSendDialog(const FaxSendValues& values, int rangePages, bool selectedPages,
                             std::function<std::vector<PickLine>(bool)> pickList, QWidget* parent)
    : QDialog(parent) {
    setObjectName("136");
    setWindowTitle(selectedPages ? "ＦＡＸ送信（選択頁）" : "ＦＡＸ送信");
    const int pages = std::max(rangePages, 1);
    number_ = numberEdit("1032", 20, this);
    number_->setText(QString::fromStdString(values.number));
    start_ = spin("1030", 1, pages, 1, this);
    end_ = spin("1031", 1, pages, pages, this);
    localId_ = numberEdit("1043", 20, this);
    localId_->setText(QString::fromStdString(values.localId));
    list_ = new QListWidget(this);
    list_->setObjectName("1027");
    list_->setFont(QFont("Monospace"));
    port_ = choice("1028", kPorts, values.port - 1, this);
    devices_ = values.devices;
    shownPort_ = port_->currentIndex();
    device_ = new QComboBox(this);
    device_->setObjectName("ComDevice");
    device_->setEditable(true);
    SerialPort probe;
    for (const std::string& d : serialDeviceCandidates([&probe](const std::string& d) { return probe.probe(d) == 1; }))
        device_->addItem(QString::fromStdString(d));
    device_->setEditText(QString::fromStdString(devices_[size_t(shownPort_)]));
    connect(port_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0 || index >= int(devices_.size())) return;
        devices_[size_t(shownPort_)] = device_->currentText().toStdString();
        shownPort_ = index;
        device_->setEditText(QString::fromStdString(devices_[size_t(index)]));
    });
    speed_ = choice("1029", kSpeeds, values.baudRate == 9600 ? 1 : 0, this);
    dial_ = choice("1042", kDialMethods, values.dialMethod == 'P' ? 1 : 0, this);
    redials_ = spin("1057", 0, FaxSendValues::kMaxRedials, values.redials, this);
    wait_ = spin("1058", 1, FaxSendValues::kMaxWaitMinutes, values.waitMinutes, this);
    sort_ = new QCheckBox("ソート", this);
    sort_->setObjectName("1170");
    sort_->setChecked(values.sort);
    modemVolume_ = new QCheckBox("モデム本体に音量調整有り", this);
    modemVolume_->setObjectName("1174");
    modemVolume_->setChecked(values.modemVolume);
    volume_ = choice("1044", kVolumes, values.volume, this);

    auto* grid = new QGridLayout(this);
    int row = 0;
    auto add = [&](const char* label, QWidget* w) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(w, row++, 1);
    };
    add("電話番号", number_);
    auto* range = new QHBoxLayout;
    range->addWidget(start_);
    range->addWidget(new QLabel("～", this));
    range->addWidget(end_);
    grid->addWidget(new QLabel("送信頁", this), row, 0);
    grid->addLayout(range, row++, 1);
    add("発信元", localId_);
    grid->addWidget(list_, row++, 0, 1, 2);
    grid->addWidget(sort_, row++, 1);
    add("ポート", port_);
    add("デバイス", device_);
    add("通信速度", speed_);
    add("ダイヤル", dial_);
    add("リダイヤル回数", redials_);
    add("待ち時間（分）", wait_);
    grid->addWidget(modemVolume_, row++, 1);
    add("ｽﾋﾟｰｶ音量", volume_);
    pickNumbersFrom(list_, number_, sort_, std::move(pickList));
    finishCallDialog(this, grid, row, number_, modemVolume_, volume_);
}

void FaxSendDialog::storeInto(FaxSendValues& values) const {
    values.number = number_->text().toStdString();
    values.startPage = start_->value();
    values.endPage = end_->value();
    values.localId = localId_->text().toStdString();
    values.port = port_->currentIndex() + 1;
    values.devices = devices_;
    values.devices[size_t(shownPort_)] = device_->currentText().toStdString();
    values.baudRate = speed_->currentText().toInt();
    values.dialMethod = dial_->currentIndex() == 0 ? 'T' : 'P';
    values.redials = redials_->value();
    values.waitMinutes = wait_->value();
    values.sort = sort_->isChecked();
    values.modemVolume = modemVolume_->isChecked();
    values.volume = volume_->currentIndex();
}

}  // namespace lumipage
