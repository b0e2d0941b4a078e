#pragma once
#include <functional>

#include <QDialog>

#include "fax/FaxProgress.h"

class QLabel;
class QPushButton;

namespace lumipage {

// The modeless progress window of a fax send: step, number, called
// station, page, file, row, page result, bytes written and queued, the
// seconds to the next attempt, the dial-now button "呼出" (shown only
// while waiting to redial) and cancel. The control ids are object names.
class FaxProgressWindow : public QDialog, public FaxProgress {
public:
    FaxProgressWindow(std::function<void()> cancel, std::function<void()> dialNow, QWidget* parent = nullptr);

    void showStep(std::string_view text) override;
    void showNumber(std::string_view number) override;
    void showStation(std::string_view identity) override;
    void showPage(int32_t rangePage) override;
    void showFileName(std::string_view name) override;
    void showRow(int32_t row) override;
    void showPageResult(std::string_view text) override;
    void showBytesWritten(size_t bytes) override;
    void showBytesQueued(size_t bytes) override;
    void showSecondsLeft(std::optional<int32_t> seconds) override;
    void showDialNow(bool shown) override;
    void beep(Beep kind) override;

    QString fieldText(const char* id) const;

protected:
    // Closing the window cancels the job like the cancel button.
    void reject() override;

private:
    QLabel* field(const char* id) const;
    void set(const char* id, const QString& text);

    std::function<void()> cancel_;
    QPushButton* dialNow_;
};

// The retry dialog after the modem could not be set up: the reason, "再実行" and "ｷｬﾝｾﾙ".
class FaxRetryDialog : public QDialog {
public:
    explicit FaxRetryDialog(const QString& reason, QWidget* parent = nullptr);
};

}  // namespace lumipage
