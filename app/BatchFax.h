#pragma once
#include <cstdio>
#include <optional>
#include <string>

#include "fax/FaxProgress.h"
#include "fax/FaxSendJob.h"

namespace lumipage {

class CLP98Doc;
class Messages;
struct Settings;

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

// Faxing every page of the page list from the command line ("-F -#number"):
// one send job with the kept values and `number`, progress on `progress`,
// no window. The values the job keeps are left in `settings`. True when the
// job ended well.
bool faxAllPages(CLP98Doc& document, Settings& settings, Messages& messages, const std::string& number,
                 std::FILE* progress);

}  // namespace lumipage
