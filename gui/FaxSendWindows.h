#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fax/FaxProgress.h"
#include "fax/FaxSendJob.h"
#include "gui/dialogs/FaxSendDialog.h"

class QWidget;

namespace lumipage {

class FaxProgressWindow;

// The windows of a send job started from the menu: the send dialog, the
// progress window and the retry dialog, all over `parent`.
class FaxWindowUi : public FaxSendUi {
public:
    FaxWindowUi(QWidget* parent, bool selectedPages, std::function<std::vector<PickLine>(bool)> pickList,
                std::function<void()> cancel);
    ~FaxWindowUi() override;

    void onDialNow(std::function<void()> f) { dialNow_ = std::move(f); }

    bool askSendValues(FaxSendValues& values, int rangePages) override;
    FaxProgress& openProgress() override;
    void closeProgress() override;
    bool askRetry(std::string_view reason) override;

private:
    QWidget* parent_;
    bool selectedPages_;
    std::function<std::vector<PickLine>(bool)> pickList_;
    std::function<void()> cancel_;
    std::function<void()> dialNow_;
    std::unique_ptr<FaxProgressWindow> progress_;
};

}  // namespace lumipage
