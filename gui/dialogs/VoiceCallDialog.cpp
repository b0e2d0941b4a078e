#include "gui/dialogs/VoiceCallDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "base/Settings.h"
#include "gui/dialogs/FaxWidgets.h"

namespace lumipage {

using namespace faxwidgets;

VoiceCallDialog::VoiceCallDialog(const Settings& settings, const std::string& number,
                                 std::function<std::vector<PickLine>(bool)> pickList, QWidget* parent)
    : QDialog(parent) {
    setObjectName("152");
    setWindowTitle("電話呼出");
    port_ = choice("port", kPorts, settings.commPort - 1, this);
    dial_ = choice("dialMethod", kDialMethods, settings.dyalType == 'P' ? 1 : 0, this);
    volume_ = choice("volume", kVolumes, settings.volume, this);
    modemVolume_ = new QCheckBox("&M モデム本体に音量調整有り", this);
    modemVolume_->setObjectName("modemVolume");
    modemVolume_->setChecked(settings.modemVolume != 0);
    number_ = numberEdit("1167", 20, this);
    number_->setText(QString::fromStdString(number));
    list_ = new QListWidget(this);
    list_->setObjectName("1168");
    list_->setFont(QFont("Monospace"));
    sort_ = new QCheckBox("&S ソート", this);
    sort_->setObjectName("sort");
    sort_->setChecked(settings.chkSort != 0);

    auto* grid = new QGridLayout(this);
    int row = 0;
    auto add = [&](const char* label, QWidget* w) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(w, row++, 1);
    };
    add("ポート", port_);
    add("ダイヤル", dial_);
    add("ｽﾋﾟｰｶ音量", volume_);
    grid->addWidget(modemVolume_, row++, 1);
    add("電話番号", number_);
    grid->addWidget(list_, row++, 0, 1, 2);
    grid->addWidget(sort_, row++, 1);
    pickNumbersFrom(list_, number_, sort_, std::move(pickList));
    finishCallDialog(this, grid, row, number_, modemVolume_, volume_);
}

void VoiceCallDialog::storeInto(Settings& settings, std::string& number) const {
    settings.commPort = port_->currentIndex() + 1;
    settings.dyalType = dial_->currentIndex() == 0 ? 'T' : 'P';
    settings.volume = volume_->currentIndex();
    settings.modemVolume = modemVolume_->isChecked() ? 1 : 0;
    settings.chkSort = sort_->isChecked() ? 1 : 0;
    number = number_->text().toStdString();
}

}  // namespace lumipage
