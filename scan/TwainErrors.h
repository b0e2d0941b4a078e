#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumipage {

// The texts of the TWAIN session's error record and of the protocol's
// return and condition codes, as the session's error messages show them.
namespace twainerrors {

// Error codes of the record; 0 is none.
enum Code : int {
    kNone = 0,
    kCapabilityGet = 2,
    kCapabilitySet = 3,
    kManagerOperation = 4,
    kSourceOperation = 5,
    kNotState4 = 7,
    kNullContainer = 8,
    kBadContainer = 9,
    kContainerKind = 10,
    kContainerItemType = 11,
    kContainerEmpty = 12,
    kNoCommonValues = 13,
};

std::string_view errorText(int code);
std::string_view returnCodeName(int code);
std::string_view conditionCodeName(int code);

// The text of a message box: the caption line, the error's text, and for the
// codes 2 to 5 the return and condition codes recorded with it.
std::string formatReport(std::string_view caption, int code, int returnCode, int conditionCode);

}  // namespace twainerrors
}  // namespace lumipage
