#include "gui/FaxSendWindows.h"

#include <QString>

#include "gui/FaxProgressWindow.h"

namespace lumipage {

FaxWindowUi::FaxWindowUi(QWidget* parent, bool selectedPages, std::function<std::vector<PickLine>(bool)> pickList,
                         std::function<void()> cancel)
    : parent_(parent), selectedPages_(selectedPages), pickList_(std::move(pickList)), cancel_(std::move(cancel)) {}

FaxWindowUi::~FaxWindowUi() = default;

bool FaxWindowUi::askSendValues(FaxSendValues& values, int rangePages) {
    FaxSendDialog dialog(values, rangePages, selectedPages_, pickList_, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.storeInto(values);
    return true;
}

FaxProgress& FaxWindowUi::openProgress() {
    progress_ = std::make_unique<FaxProgressWindow>(cancel_, [this] {
        if (dialNow_) dialNow_();
    }, parent_);
    progress_->show();
    progress_->raise();
    return *progress_;
}

void FaxWindowUi::closeProgress() { progress_.reset(); }

bool FaxWindowUi::askRetry(std::string_view reason) {
    FaxRetryDialog dialog(QString::fromUtf8(reason.data(), qsizetype(reason.size())), parent_);
    return dialog.exec() == QDialog::Accepted;
}

bool FaxConsoleUi::askSendValues(FaxSendValues& values, int) {
    // Only once: a check that fails would otherwise bring the same values back for ever.
    if (asked_) return false;
    asked_ = true;
    values.number = number_;
    return true;
}

bool FaxConsoleUi::askRetry(std::string_view reason) {
    line("", reason);
    return false;
}

void FaxConsoleUi::line(std::string_view label, std::string_view text) {
    std::fprintf(out_, "FAX: %.*s%.*s\n", int(label.size()), label.data(), int(text.size()), text.data());
    std::fflush(out_);
}

void FaxConsoleUi::showStep(std::string_view text) { line("", text); }
void FaxConsoleUi::showNumber(std::string_view number) { line("電話番号 ", number); }
void FaxConsoleUi::showStation(std::string_view identity) { line("相手先 ", identity); }
void FaxConsoleUi::showPage(int32_t rangePage) { line("頁 ", std::to_string(rangePage)); }
void FaxConsoleUi::showPageResult(std::string_view text) {
    if (!text.empty()) line("結果 ", text);
}
void FaxConsoleUi::showSecondsLeft(std::optional<int32_t> seconds) {
    if (seconds && *seconds % 10 == 0) line("残り秒数 ", std::to_string(*seconds));
}

}  // namespace lumipage
