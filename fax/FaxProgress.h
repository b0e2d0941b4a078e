#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumipage {

enum class Beep { Information, Warning };

// The progress window of a fax send job, as the job and the transmitter
// fill it. The window's cancel button calls the link's requestAbort, its
// dial-now button the job's dialNow.
class FaxProgress {
public:
    virtual ~FaxProgress() = default;
    virtual void showStep(std::string_view text) = 0;
    virtual void showNumber(std::string_view number) = 0;
    virtual void showStation(std::string_view identity) = 0;
    virtual void showPage(int32_t rangePage) = 0;
    virtual void showFileName(std::string_view name) = 0;
    virtual void showRow(int32_t row) = 0;
    virtual void showPageResult(std::string_view text) = 0;
    virtual void showBytesWritten(size_t bytes) = 0;
    virtual void showBytesQueued(size_t bytes) = 0;
    // Whole seconds to the next dialling attempt; nothing blanks the field.
    virtual void showSecondsLeft(std::optional<int32_t> seconds) = 0;
    virtual void showDialNow(bool shown) = 0;
    virtual void beep(Beep kind) = 0;
};

}  // namespace lumipage
