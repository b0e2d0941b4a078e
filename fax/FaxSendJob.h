#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "image/FitScaler.h"

namespace lumipage {

class Class2Transmitter;
class FaxJobPages;
class FaxProgress;
class Messages;
class ModemLink;
struct Settings;

// The values of the send dialog. The number and the redial values live for
// the program's run; the rest are settings.
struct FaxSendValues {
    static constexpr int kMaxRedials = 99;
    static constexpr int kMaxWaitMinutes = 99;

    std::string number;
    int startPage = 1;
    int endPage = 1;
    std::string localId;
    int port = 1;
    std::array<std::string, 4> devices;  // of COM1 to COM4; an empty one is left as it is
    int baudRate = 14400;
    char dialMethod = 'T';
    int redials = 3;
    int waitMinutes = 3;
    bool sort = true;
    bool modemVolume = false;
    int volume = 2;

    // The kept values into and out of the settings.
    void takeSettings(const Settings& settings);
    void storeSettings(Settings& settings) const;
};

// The windows of a send job: the send dialog, the modeless progress window
// and the retry dialog.
class FaxSendUi {
public:
    virtual ~FaxSendUi() = default;
    // The send dialog over the kept values; false when it is cancelled.
    virtual bool askSendValues(FaxSendValues& values, int rangePages) = 0;
    virtual FaxProgress& openProgress() = 0;
    virtual void closeProgress() = 0;
    // The retry dialog with the reason the modem could not be set up; true to try again.
    virtual bool askRetry(std::string_view reason) = 0;
};

// Sends a range of pages of the page list by fax: asks for the number and
// the call settings, sets the modem up, dials and redials, sends each page
// fitted into a fax page and marks it sent or failed.
class FaxSendJob {
public:
    static constexpr int kTicksPerMinute = 600;  // of 100 ms
    static constexpr int kSetUpSpeed = 19200;

    FaxSendJob(ModemLink& link, Class2Transmitter& fax, FaxSendUi& ui, FaxJobPages& pages, Messages& messages,
               Settings& settings);

    // The whole job; `values` are the kept values, changed by the dialog.
    void run(FaxSendValues& values);
    // The progress window's dial-now button: the wait ends at its next tick.
    void dialNow() { ticks_ = 1; }

    // How the last job ended.
    int pagesSent() const { return pagesSent_; }
    bool jobError() const { return jobError_; }
    std::string lastStep() const { return lastStep_; }

private:
    bool checks(const FaxSendValues& values);
    bool setUp(const FaxSendValues& values);
    bool dial(const FaxSendValues& values);
    bool waitToRedial(int minutes);
    void sendRange(int first, int last);
    bool sendPage(int rangePage, bool lastPage);
    void showPageResult();
    void step(std::string_view text);
    void wait(int ms);

    ModemLink& link_;
    Class2Transmitter& fax_;
    FaxSendUi& ui_;
    FaxJobPages& pages_;
    Messages& messages_;
    Settings& settings_;
    FaxProgress* progress_ = nullptr;
    FitScaler scaler_;
    int ticks_ = 0;
    int pagesSent_ = 0;
    bool jobError_ = false;
    std::string lastStep_;
};

}  // namespace lumipage
