#include "fax/ModemResponse.h"

#include <array>
#include <limits>
#include <utility>

#include "fax/FaxDialect.h"

namespace lumipage {

namespace {

constexpr size_t kReportValueMax = 31;

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

int32_t leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    }
    return int32_t(negative ? -value : value);
}

std::string reportValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool quoted = false;
    if (i < text.size() && text[i] == '"') {
        quoted = true;
        ++i;
        while (i < text.size() && text[i] == ' ') ++i;
    }
    std::string value;
    for (; i < text.size() && value.size() < kReportValueMax; ++i) {
        if (quoted && text[i] == '"') break;
        value.push_back(text[i]);
    }
    return value;
}

ModemResponse parseCommandResponse(std::string_view line) {
    static constexpr std::array<std::pair<std::string_view, ResponseKind>, 11> kExact{{
        {"ERROR", ResponseKind::Error},
        {"OK", ResponseKind::Ok},
        {"+FCON", ResponseKind::FaxConnect},
        {"+FCO", ResponseKind::FaxConnect},  // class 2.0
        {"RING", ResponseKind::Ring},
        {"CED", ResponseKind::AnswerTone},
        {"NO CARRIER", ResponseKind::NoCarrier},
        {"BUSY", ResponseKind::Busy},
        {"NO DIALTONE", ResponseKind::NoDialTone},
        {"NO ANSWER", ResponseKind::NoAnswer},
        {"DELAYED", ResponseKind::Delayed},
    }};
    for (const auto& [text, kind] : kExact)
        if (line == text) return {kind, 0, {}};
    if (startsWith(line, "CONNECT")) return {ResponseKind::Connect, leadingNumber(line.substr(7)), {}};
    return {ResponseKind::Other, 0, {}};
}

ModemResponse parseFaxResponse(std::string_view line) {
    if (line == "ERROR") return {ResponseKind::Error, 0, {}};
    if (line == "NO CARRIER") return {ResponseKind::NoCarrier, 0, {}};  // the line dropped during the call
    if (!line.empty() && line.front() == '+') line.remove_prefix(1);
    if (line == "OK") return {ResponseKind::Ok, 0, {}};
    if (startsWith(line, "CONNECT")) return {ResponseKind::Connect, leadingNumber(line.substr(7)), {}};
    if (startsWith(line, "FHNG:")) return {ResponseKind::HangUp, leadingNumber(line.substr(5)), {}};
    if (startsWith(line, "FPTS:")) return {ResponseKind::PostPageStatus, leadingNumber(line.substr(5)), {}};
    if (startsWith(line, "FET:")) return {ResponseKind::PostPageMessage, leadingNumber(line.substr(4)), {}};
    // The class 2.0 names of the same reports; a modem may mix the two.
    if (startsWith(line, "FHS:")) return {ResponseKind::HangUp, class2HangUpCode(line.substr(4)), {}};
    if (startsWith(line, "FPS:")) return {ResponseKind::PostPageStatus, leadingNumber(line.substr(4)), {}};
    static constexpr std::array<std::pair<std::string_view, ResponseKind>, 8> kReports{{
        {"FTSI:", ResponseKind::TransmittingStation},
        {"FCSI:", ResponseKind::CalledStation},
        {"FDIS:", ResponseKind::ReceiverCapabilities},
        {"FDCS:", ResponseKind::Negotiated},
        {"FTI:", ResponseKind::TransmittingStation},
        {"FCI:", ResponseKind::CalledStation},
        {"FIS:", ResponseKind::ReceiverCapabilities},
        {"FCS:", ResponseKind::Negotiated},
    }};
    for (const auto& [prefix, kind] : kReports)
        if (startsWith(line, prefix)) return {kind, 0, reportValue(line.substr(prefix.size()))};
    if (startsWith(line, "FCFR")) return {ResponseKind::Confirmation, 0, {}};
    if (startsWith(line, "FNSF") || startsWith(line, "FNF:")) return {ResponseKind::NonStandard, 0, {}};
    return {ResponseKind::Other, 0, {}};
}

}  // namespace lumipage
