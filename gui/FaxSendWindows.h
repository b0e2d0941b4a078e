#pragma once
#include <cstdio>
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

// A send job without a display: the number is given, the kept values are
// taken as they are, progress goes to a stream (standard error) and a
// failed set-up is not retried.
class FaxConsoleUi : public FaxSendUi, public FaxProgress {
public:
    FaxConsoleUi(std::string number, std::FILE* out) : number_(std::move(number)), out_(out) {}

    bool askSendValues(FaxSendValues& values, int rangePages) override;
    FaxProgress& openProgress() override { return *this; }
    void closeProgress() override {}
    bool askRetry(std::string_view reason) override;

    void showStep(std::string_view text) override;
    void showNumber(std::string_view number) override;
    void showStation(std::string_view identity) override;
    void showPage(int32_t rangePage) override;
    void showFileName(std::string_view) override {}
    void showRow(int32_t) override {}
    void showPageResult(std::string_view text) override;
    void showBytesWritten(size_t) override {}
    void showBytesQueued(size_t) override {}
    void showSecondsLeft(std::optional<int32_t> seconds) override;
    void showDialNow(bool) override {}
    void beep(Beep) override {}

private:
    void line(std::string_view label, std::string_view text);

    std::string number_;
    std::FILE* out_;
    bool asked_ = false;
};

}  // namespace lumipage
