#include "scan/TwainErrors.h"

#include <array>

#include "twain/TwainTypes.h"

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

constexpr std::array<std::string_view, 30> kConditionCodeNames{
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
    // TWAIN 2's conditions, named the same way.
    "TWCC_CAPUNSUPPORTED (Capability not supported by source)",
    "TWCC_CAPBADOPERATION (Operation not supported by capability)",
    "TWCC_CAPSEQERROR (Capability has dependency on other capability)",
    "TWCC_DENIED (File system operation is denied)",
    "TWCC_FILEEXISTS (File already exists)",
    "TWCC_FILENOTFOUND (File not found)",
    "TWCC_NOTEMPTY (Directory is not empty)",
    "TWCC_PAPERJAM (The feeder is jammed)",
    "TWCC_PAPERDOUBLEFEED (The feeder detected multiple pages)",
    "TWCC_FILEWRITEERROR (Error writing the file)",
    "TWCC_CHECKDEVICEONLINE (The device went offline)",
    "TWCC_INTERLOCK (The cover or door is open)",
    "TWCC_DAMAGEDCORNER (The document has a damaged corner)",
    "TWCC_FOCUSERROR (The focus could not be set)",
    "TWCC_DOCTOOLIGHT (The document is too light)",
    "TWCC_DOCTOODARK (The document is too dark)",
    "TWCC_NOMEDIA (No pages in the feeder)",
};

// Our source manager's own code beyond TWAIN's.
constexpr std::string_view kDeviceBusyName = "TWCC_DEVICEBUSY (The device is busy)";

template <size_t N>
std::string_view lookup(const std::array<std::string_view, N>& table, int code) {
    return code >= 0 && size_t(code) < N ? table[size_t(code)] : std::string_view("?");
}

}  // namespace

std::string_view errorText(int code) { return lookup(kErrorTexts, code); }
std::string_view returnCodeName(int code) { return lookup(kReturnCodeNames, code); }
std::string_view conditionCodeName(int code) {
    return code == twain::TWCC_DEVICEBUSY ? kDeviceBusyName : lookup(kConditionCodeNames, code);
}

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
