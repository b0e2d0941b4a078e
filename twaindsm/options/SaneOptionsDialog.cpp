#include "twaindsm/options/SaneOptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <cstring>
#include <memory>

namespace lumipage::twaindsm {

namespace {

// Options the program's own scan dialog sets.
constexpr const char* kProgramsOwn[] = {"mode",  "depth", "resolution", "x-resolution", "y-resolution", "tl-x",
                                        "tl-y",  "br-x",  "br-y",       "source",       "preview"};

bool programsOwn(const char* name) {
    for (const char* own : kProgramsOwn)
        if (std::strcmp(own, name) == 0) return true;
    return false;
}

QString unitText(SANE_Unit unit) {
    switch (unit) {
    case SANE_UNIT_PIXEL: return " pel";
    case SANE_UNIT_BIT: return " bit";
    case SANE_UNIT_MM: return " mm";
    case SANE_UNIT_DPI: return " dpi";
    case SANE_UNIT_PERCENT: return " %";
    case SANE_UNIT_MICROSECOND: return " us";
    default: return {};
    }
}

}  // namespace

SaneOptionsDialog::SaneOptionsDialog(SANE_Handle handle, const QString& device, QWidget* parent)
    : QDialog(parent), options_(handle) {
    setObjectName("SaneOptionsDialog");
    setWindowTitle("詳細設定 - " + device);
    auto* body = new QWidget;
    auto* form = new QFormLayout(body);
    SANE_Int count = 0;
    if (sane_control_option(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD) count = 0;
    // A group's title is shown above its first option shown, so that
    // groups with nothing to offer do not appear.
    QString group;
    for (int i = 1; i < count && i < 10000; ++i) {
        const SANE_Option_Descriptor* d = options_.descriptor(i);
        if (!d) continue;
        if (d->type == SANE_TYPE_GROUP) {
            group = QString::fromUtf8(d->title ? d->title : "");
            continue;
        }
        if (!d->name || !SANE_OPTION_IS_SETTABLE(d->cap) || !SANE_OPTION_IS_ACTIVE(d->cap) || programsOwn(d->name))
            continue;
        const int rows = form->rowCount();
        addOption(form, i, *d);
        if (form->rowCount() > rows && !group.isEmpty()) {
            form->insertRow(rows, new QLabel(QString("<b>%1</b>").arg(group.toHtmlEscaped())));
            group.clear();
        }
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("スキャン", QDialogButtonBox::AcceptRole)->setObjectName("scan");
    buttons->addButton("キャンセル", QDialogButtonBox::RejectRole)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    resize(480, 520);
}

void SaneOptionsDialog::addOption(QFormLayout* form, int index, const SANE_Option_Descriptor& d) {
    const QString label = QString::fromUtf8(d.title && *d.title ? d.title : d.name);
    const QString tip = QString::fromUtf8(d.desc ? d.desc : "");
    const bool single = d.size <= SANE_Int(sizeof(SANE_Word));
    QWidget* control = nullptr;
    if (d.type == SANE_TYPE_BOOL && single) {
        auto* box = new QCheckBox;
        const bool was = options_.number(index).value_or(0) != 0;
        box->setChecked(was);
        changes_.push_back([this, box, index, was] { return box->isChecked() == was || options_.setNumber(index, box->isChecked()); });
        control = box;
    } else if ((d.type == SANE_TYPE_INT || d.type == SANE_TYPE_FIXED) && single) {
        const double was = options_.number(index).value_or(0);
        const std::optional<SaneOptions::Limits> limits = options_.limits(index);
        if (limits && !limits->list.empty()) {
            auto* choice = new QComboBox;
            for (const double v : limits->list) choice->addItem(QString::number(v) + unitText(d.unit), v);
            choice->setCurrentIndex(std::max(0, choice->findData(was)));
            changes_.push_back([this, choice, index, was] {
                const double now = choice->currentData().toDouble();
                return now == was || options_.setNumber(index, now);
            });
            control = choice;
        } else if (d.type == SANE_TYPE_INT) {
            auto* spin = new QSpinBox;
            spin->setRange(limits ? int(limits->minimum) : -1000000, limits ? int(limits->maximum) : 1000000);
            if (limits && limits->step >= 1) spin->setSingleStep(int(limits->step));
            spin->setSuffix(unitText(d.unit));
            spin->setValue(int(was));
            const int shown = spin->value();
            changes_.push_back([this, spin, index, shown] { return spin->value() == shown || options_.setNumber(index, spin->value()); });
            control = spin;
        } else {
            auto* spin = new QDoubleSpinBox;
            spin->setDecimals(2);
            spin->setRange(limits ? limits->minimum : -1e6, limits ? limits->maximum : 1e6);
            if (limits && limits->step > 0) spin->setSingleStep(limits->step);
            spin->setSuffix(unitText(d.unit));
            spin->setValue(was);
            const double shown = spin->value();
            changes_.push_back([this, spin, index, shown] { return spin->value() == shown || options_.setNumber(index, spin->value()); });
            control = spin;
        }
    } else if (d.type == SANE_TYPE_STRING) {
        const std::string was = options_.text(index).value_or("");
        const std::vector<std::string> items = options_.strings(index);
        if (!items.empty()) {
            auto* choice = new QComboBox;
            for (const std::string& item : items) choice->addItem(QString::fromUtf8(item.c_str()));
            choice->setCurrentIndex(std::max(0, choice->findText(QString::fromUtf8(was.c_str()))));
            changes_.push_back([this, choice, index, was] {
                const std::string now = choice->currentText().toStdString();
                return now == was || options_.setText(index, now);
            });
            control = choice;
        } else {
            auto* line = new QLineEdit(QString::fromUtf8(was.c_str()));
            line->setMaxLength(std::max(0, d.size - 1));
            changes_.push_back([this, line, index, was] {
                const std::string now = line->text().toStdString();
                return now == was || options_.setText(index, now);
            });
            control = line;
        }
    }
    if (!control) return;  // buttons and arrays: not offered
    control->setObjectName(QString::fromUtf8(d.name));
    control->setToolTip(tip);
    form->addRow(label, control);
}

bool SaneOptionsDialog::apply() {
    bool all = true;
    for (const auto& change : changes_) all = change() && all;
    return all;
}

}  // namespace lumipage::twaindsm

// The entry the source manager finds with dlsym: shows the dialog over the
// program's active window. 1: scan with the settings, 0: cancelled, -1: no
// window system to show it in (the scan goes on without the dialog).
extern "C" __attribute__((visibility("default"))) int lumipage_sane_options_dialog(SANE_Handle handle,
                                                                                   const char* device) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return -1;
    lumipage::twaindsm::SaneOptionsDialog dialog(handle, QString::fromUtf8(device ? device : ""),
                                                 QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return 0;
    dialog.apply();
    return 1;
}
