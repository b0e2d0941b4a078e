#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumipage {

// What a modem's response line says. The numbers are the program's own
// numbering of result codes and are used as such by callers.
enum class ResponseKind : int {
    None = -1,  // no line was read
    Ok = 0,
    Error = 1,
    Ring = 2,
    NoCarrier = 3,
    Busy = 5,
    NoDialTone = 6,
    NoAnswer = 7,
    Delayed = 8,
    Connect = 16,
    FaxConnect = 128,
    // Reports of the fax phase, by their class 2 and class 2.0 names.
    HangUp = 129,              // +FHNG: (decimal), +FHS: (hexadecimal)
    PostPageStatus = 130,      // +FPTS:, +FPS:
    PostPageMessage = 131,     // +FET:
    TransmittingStation = 132, // +FTSI:, +FTI:
    CalledStation = 133,       // +FCSI:, +FCI:
    ReceiverCapabilities = 134,// +FDIS:, +FIS:
    Negotiated = 135,          // +FDCS:, +FCS:
    Confirmation = 136,        // +FCFR
    NonStandard = 137,         // +FNSF, +FNF:
    AnswerTone = 138,          // CED
    Other = 240,
};

// One response line taken apart; `number` is the decimal value after
// "CONNECT", "+FHNG:" or "+FPTS:", `value` the text of an identity or
// parameter report.
struct ModemResponse {
    ResponseKind kind = ResponseKind::None;
    int32_t number = 0;
    std::string value;
};

// A command-phase line: exact, case-sensitive comparisons.
ModemResponse parseCommandResponse(std::string_view line);
// A line of the fax phase (after "+FCON" or "+FCO"): one leading '+' is
// dropped first. A class 2.0 hang-up code is given as its class 2 number.
ModemResponse parseFaxResponse(std::string_view line);

// The decimal number at the start of `text` after blanks; digits beyond
// the range of a 32-bit value saturate, no digit gives 0.
int32_t leadingNumber(std::string_view text);
// A report value: blanks skipped; a quoted value runs to the closing quote
// (blanks after the opening quote skipped); at most 31 characters.
std::string reportValue(std::string_view text);

}  // namespace lumipage
