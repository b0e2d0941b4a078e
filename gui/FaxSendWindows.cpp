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

}  // namespace lumipage
