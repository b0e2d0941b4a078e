#include "scan/TwainErrors.h"

#include <array>

namespace lumipage::twainerrors {

namespace {

constexpr std::array<std::string_view, 14> kErrorTexts{
    "[no details available]",
    "",
    "DAT_CAPABILITY/MSG_GET failed",
    "DAT_CAPABILITY/MSG_SET failed",
    "Source Manager operation failed",
    "DataSource operation failed",
    "",
    "TWAIN session not in State 4 (Source Open)",
    "MSG_GET returned a NULL container handle",
    "MSG_GET returned an invalid container handle",
    "Returned container is not valid type",
    "Returned container has invalid ItemType",
    "Returned container is empty",
    "App and source found NO values in common",
};

constexpr std::array<std::string_view, 8> kReturnCodeNames{
    "TWRC_SUCCESS", "TWRC_FAILURE", "TWRC_CHECKSTATUS ('tried hard')", "TWRC_CANCEL",
    "TWRC_DSEVENT", "TWRC_NOTDSEVENT", "TWRC_XFERDONE", "TWRC_ENDOFLIST",
};

constexpr std::array<std::string_view, 13> kConditionCodeNames{
    "TWCC_SUCCESS",
    "TWCC_BUMMER (Failure due to unknown causes)",
    "TWCC_LOWMEMORY",
    "TWCC_NODS (No Data Source)",
    "TWCC_MAXCONNECTIONS (DS is connected to max possible apps)",
    "TWCC_OPERATIONERROR (DS or DSM reported error, app shouldn't)",
    "TWCC_BADCAP (Unknown capability)",
    "7 (undefined)",
    "8 (undefined)",
    "TWCC_BADPROTOCOL (Unrecognized triplet)",
    "TWCC_BADVALUE (Data parameter out of range)",
    "TWCC_SEQERROR (Triplet out of sequence)",
    "TWCC_BADDEST (Unknown dest. App/Src in DSM_Entry)",
};

template <size_t N>
std::string_view lookup(const std::array<std::string_view, N>& table, int code) {
    return code >= 0 && size_t(code) < N ? table[size_t(code)] : std::string_view("?");
}

}  // namespace

std::string_view errorText(int code) { return lookup(kErrorTexts, code); }
std::string_view returnCodeName(int code) { return lookup(kReturnCodeNames, code); }
std::string_view conditionCodeName(int code) { return lookup(kConditionCodeNames, code); }

std::string formatReport(std::string_view caption, int code, int returnCode, int conditionCode) {
    std::string text(caption);
    text += '\n';
    text += errorText(code);
    if (code >= kCapabilityGet && code <= kSourceOperation) {
        text += "\nRC:   ";
        text += returnCodeName(returnCode);
        text += "\nCC:   ";
        text += conditionCodeName(conditionCode);
    }
    return text;
}

}  // namespace lumipage::twainerrors
