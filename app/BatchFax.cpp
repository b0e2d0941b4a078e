#include "app/BatchFax.h"

#include "app/FaxSending.h"

#include "fax/CLP98FAX.h"
#include "fax/DocumentFaxPages.h"
#include "fax/FaxTexts.h"

namespace lumipage {

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

bool faxAllPages(CLP98Doc& document, Settings& settings, Messages& messages, const std::string& number,
                 std::FILE* progress) {
    CLP98FAX fax(settings);
    FaxConsoleUi console(number, progress);
    return sendPages(fax, document, settings, messages, DocumentFaxPages::Range::All, console);
}

}  // namespace lumipage
