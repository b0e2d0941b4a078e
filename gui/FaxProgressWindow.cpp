#include "gui/FaxProgressWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumipage {

namespace {

QString qtext(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

struct Field {
    const char* id;
    const char* label;
};

constexpr Field kFields[] = {
    {"1038", "状態"},   {"1049", "電話番号"}, {"1050", "相手先"},  {"1051", "頁"},
    {"1052", "ファイル"}, {"1054", "ライン"},   {"1053", "結果"},    {"1055", "送出バイト"},
    {"1056", "待ちバイト"}, {"1058", "残り秒数"},
};

}  // namespace

FaxProgressWindow::FaxProgressWindow(std::function<void()> cancel, std::function<void()> dialNow, QWidget* parent)
    : QDialog(parent), cancel_(std::move(cancel)) {
    setObjectName("137");
    setWindowTitle("ＦＡＸ送信");
    setModal(false);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const Field& f : kFields) {
        grid->addWidget(new QLabel(f.label, this), row, 0);
        auto* value = new QLabel(this);
        value->setObjectName(f.id);
        value->setMinimumWidth(220);
        grid->addWidget(value, row++, 1);
    }
    dialNow_ = new QPushButton("呼出", this);
    dialNow_->setObjectName("1072");
    dialNow_->hide();
    auto* cancelButton = new QPushButton("ｷｬﾝｾﾙ", this);
    cancelButton->setObjectName("2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(dialNow_);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    connect(dialNow_, &QPushButton::clicked, this, [f = std::move(dialNow)] {
        if (f) f();
    });
    connect(cancelButton, &QPushButton::clicked, this, [this] { reject(); });
}

void FaxProgressWindow::reject() {
    // The job closes the window itself when it has ended.
    if (cancel_) cancel_();
}

QLabel* FaxProgressWindow::field(const char* id) const { return findChild<QLabel*>(id); }

QString FaxProgressWindow::fieldText(const char* id) const {
    const QLabel* label = field(id);
    return label ? label->text() : QString();
}

void FaxProgressWindow::set(const char* id, const QString& text) {
    if (QLabel* label = field(id)) label->setText(text);
}

void FaxProgressWindow::showStep(std::string_view text) { set("1038", qtext(text)); }
void FaxProgressWindow::showNumber(std::string_view number) { set("1049", qtext(number)); }
void FaxProgressWindow::showStation(std::string_view identity) { set("1050", qtext(identity)); }
void FaxProgressWindow::showPage(int32_t rangePage) { set("1051", QString::number(rangePage)); }
void FaxProgressWindow::showFileName(std::string_view name) { set("1052", qtext(name)); }
void FaxProgressWindow::showRow(int32_t row) { set("1054", QString::number(row)); }
void FaxProgressWindow::showPageResult(std::string_view text) { set("1053", qtext(text)); }
void FaxProgressWindow::showBytesWritten(size_t bytes) { set("1055", QString::number(qulonglong(bytes))); }
void FaxProgressWindow::showBytesQueued(size_t bytes) { set("1056", QString::number(qulonglong(bytes))); }

void FaxProgressWindow::showSecondsLeft(std::optional<int32_t> seconds) {
    set("1058", seconds ? QString::number(*seconds) : QString());
}

void FaxProgressWindow::showDialNow(bool shown) { dialNow_->setVisible(shown); }

void FaxProgressWindow::beep(Beep) { QApplication::beep(); }

FaxRetryDialog::FaxRetryDialog(const QString& reason, QWidget* parent) : QDialog(parent) {
    setObjectName("139");
    setWindowTitle("ＦＡＸ送信");
    auto* text = new QLabel(reason, this);
    text->setObjectName("reason");
    auto* again = new QPushButton("再実行", this);
    again->setObjectName("1");
    again->setDefault(true);
    auto* cancel = new QPushButton("ｷｬﾝｾﾙ", this);
    cancel->setObjectName("2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(again);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    connect(again, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace lumipage
